#include "platform/widgets/BitmapImage.h"
#include "Form1TestSupport.h"
#include "TestFiles.h"

#include "platform/widgets/HelpWindow.h"
#include "platform/widgets/MessageDialogs.h"

#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include "components/widgets/GradBox.h"
#include "platform/widgets/Bevel.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/HelpViewer.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SpinEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <initializer_list>
#include <new>

namespace {

TEST_F(Form1Fixture, StartsWithTheDefaultLogoAndItsSizeInTheCaption)
{
    TForm1& form = Open();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vezodev " VEZODEV_VERSION " (Size: 106 x 32)"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev"));
    EXPECT_EQ(form.CurrentParams().BgColor, 0x808080u);
    EXPECT_EQ(form.size(), QSize(106 + 216, 253));
    ExpectConsistent(form);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST_F(Form1Fixture, PanesStackEightPixelsApartBesideTheControls)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("10"));
    form.EdVs->SetText(QStringLiteral("25"));
    // 106 x 32 text, margins 10 and 25: 126 x 82, higher than 76 pixels.
    const auto inWindow = [&form](const QWidget* pane) { return QRect(pane->mapTo(&form, QPoint(0, 0)), pane->size()); };
    EXPECT_EQ(inWindow(form.Pbox), QRect(212, 4, 126, 82));
    EXPECT_EQ(inWindow(form.Gbox), QRect(212, 94, 126, 82));
    EXPECT_EQ(inWindow(form.Img), QRect(212, 184, 126, 82));
    EXPECT_EQ(form.size(), QSize(126 + 216, 3 * 82 + 24));
    EXPECT_EQ(form.Bv->Height(), form.height());
    ExpectConsistent(form);
}

// Counts the logo's builds by the composites they show, and the builds made while the
// preview was painting.
class TBuildCounter {
public:
    explicit TBuildCounter(TForm1& form)
    {
        QObject::connect(&form, &TForm1::LogoShown, &FContext, [this, &form] {
            ++Builds;
            BuildsInPaint += form.Pbox->Painting();
        });
    }
    int Builds = 0;
    int BuildsInPaint = 0;

private:
    QObject FContext; // ends the connection with the counter
};

void HandlePendingEvents()
{
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
}

// A change of a parameter composes the logo once; painting the panes again, or the
// preview's being resized, shows the logo already built and composes nothing.
TEST_F(Form1Fixture, OnlyAParameterChangeComposesTheLogoNeverARepaintOrAResize)
{
    TForm1& form = Open();
    HandlePendingEvents();
    TBuildCounter counter(form);
    form.EdHs->SetText(QStringLiteral("10"));
    HandlePendingEvents();
    EXPECT_EQ(counter.Builds, 1) << "the change's own build only";
    EXPECT_EQ(counter.BuildsInPaint, 0);

    counter.Builds = 0;
    for (TGraphicControl* pane : std::initializer_list<TGraphicControl*>{form.Pbox, form.Gbox, form.Img}) {
        pane->Invalidate();
        pane->repaint();
    }
    const QSize size = form.Pbox->size();
    form.Pbox->resize(1, 1);
    form.Pbox->repaint();
    form.Pbox->resize(size);
    form.Pbox->repaint();
    HandlePendingEvents();
    EXPECT_EQ(counter.Builds, 0);
    TLogoLayers layers;
    TLogoComposer::Compose(form.CurrentParams(), layers);
    EXPECT_TRUE(BitmapImageCopy(form.Pbox->Picture()) == BitmapImageCopy(layers.Text))
        << "the resized preview shows the built text layer again";
    ExpectConsistent(form);
}

// A pane whose paint fails, as the allocation of a large surface can, reports the
// failure once the paint is over, and the window goes on building and showing logos.
TEST_F(Form1Fixture, APaneWhosePaintFailsReportsItAfterThePaintAndTheWindowGoesOn)
{
    TForm1& form = Open();
    HandlePendingEvents();
    const TNotifyEvent paint = form.Gbox->OnPaint;
    form.Gbox->OnPaint = [](QObject*) { throw std::bad_alloc(); };
    form.Gbox->Invalidate();
    form.Gbox->repaint();
    EXPECT_TRUE(FErrors.isEmpty()) << "nothing is shown while Qt paints";
    HandlePendingEvents();
    EXPECT_EQ(FErrors, QStringList{QString::fromLocal8Bit(std::bad_alloc().what())});

    FErrors.clear();
    form.Gbox->OnPaint = paint;
    ClickCell(*form.MbMix, 3);
    form.EdHs->SetText(QStringLiteral("6"));
    HandlePendingEvents();
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, TheLogoPaneIsKeptAndRedrawnByEveryBuild)
{
    TForm1& form = Open();
    TImage* pane = form.Img;
    const QImage before = BitmapImageCopy(pane->Picture());
    TBuildCounter counter(form);
    form.EdHs->SetText(QStringLiteral("10"));
    ClickCell(*form.MbMix, 3);
    HandlePendingEvents();
    ASSERT_GE(counter.Builds, 2);
    EXPECT_EQ(form.Img, pane);
    EXPECT_EQ(form.findChildren<TImage*>(QStringLiteral("Img")).size(), 1);
    EXPECT_EQ(QRect(pane->mapTo(&form, QPoint(0, 0)), pane->size()), QRect(212, 4 + 2 * (32 + 8), 126, 32));
    EXPECT_NE(BitmapImageCopy(pane->Picture()), before);
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, EnterAppliesTheTypedTextAndTypingAloneDoesNot)
{
    TForm1& form = Open();
    form.Edit1->setFocus();
    form.Edit1->setText(QStringLiteral("Logo"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vezodev " VEZODEV_VERSION " (Size: 106 x 32)")) << "no build before Enter";
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Logo"));
    EXPECT_NE(form.windowTitle(), QStringLiteral("Vezodev " VEZODEV_VERSION " (Size: 106 x 32)"));
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, MarginTextsThatAreNotIntegersBecomeZero)
{
    TForm1& form = Open();
    for (const char* typed : {"", "-", "+", "1.5"}) {
        SCOPED_TRACE(typed);
        form.EdHs->SetText(QStringLiteral("7"));
        form.EdHs->SetText(QString::fromLatin1(typed));
        EXPECT_EQ(form.EdHs->Text(), QStringLiteral("0"));
        EXPECT_EQ(form.width(), 106 + 216);
        ExpectConsistent(form);
    }
}

TEST_F(Form1Fixture, AMarginTypedOutOfRangeCountsAsTypedUntilTheFieldIsLeft)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("250"));
    EXPECT_EQ(form.EdHs->Text(), QStringLiteral("250"));
    EXPECT_EQ(form.Pbox->Width(), 106 + 500);
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, DirectionCellsSetTheGradientStyle)
{
    TForm1& form = Open();
    const TGradStyle expected[] = {gsTopBottom, gsLeftRight, gsBottomTop, gsRightLeft};
    const QString caption = form.windowTitle();
    for (int cell = 4; cell >= 1; --cell) {
        SCOPED_TRACE(cell);
        ClickCell(*form.MbGra, cell);
        EXPECT_EQ(form.MbGra->SelectedCell(), cell);
        EXPECT_EQ(form.Gbox->GradStyle(), expected[cell - 1]);
        EXPECT_EQ(form.windowTitle(), caption) << "the direction leaves the size alone";
        ExpectConsistent(form);
    }
}

TEST_F(Form1Fixture, RightButtonPressesSelectAndRebuildLikeLeftOnes)
{
    TForm1& form = Open();
    ClickCell(*form.MbMix, 3, Qt::RightButton);
    EXPECT_EQ(form.MbMix->SelectedCell(), 3);
    ExpectConsistent(form);
    ClickCell(*form.MbGra, 2, Qt::RightButton);
    EXPECT_EQ(form.Gbox->GradStyle(), gsLeftRight);
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, MixCellsRebuildTheComposite)
{
    TForm1& form = Open();
    for (int cell = 1; cell <= 4; ++cell) {
        SCOPED_TRACE(cell);
        ClickCell(*form.MbMix, cell);
        EXPECT_EQ(form.CurrentParams().MixType, cell);
        ExpectConsistent(form);
    }
}

TEST_F(Form1Fixture, FontDialogChangesTheLogoFontAndCancelStillRebuilds)
{
    TForm1& form = Open();
    int asked = 0;
    TFontDialog::Answerer = [&](TFontDialog& dialog) {
        ++asked;
        EXPECT_EQ(dialog.Font().Name(), u"Times New Roman") << "preset with the logo font";
        dialog.Font().SetName(u"Arial");
        dialog.Font().SetHeight(-40);
        dialog.Font().SetCharset(SHIFTJIS_CHARSET);
        return false;
    };
    ClickCell(*form.MbText, 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(form.Label1->Font().Name(), u"Times New Roman") << "cancel changes nothing";
    ExpectConsistent(form);

    TFontDialog::Answerer = [](TFontDialog& dialog) {
        dialog.Font().SetName(u"Arial");
        dialog.Font().SetHeight(-40);
        dialog.Font().SetCharset(SHIFTJIS_CHARSET);
        return true;
    };
    ClickCell(*form.MbText, 1);
    EXPECT_EQ(form.Label1->Font().Name(), u"Arial");
    EXPECT_EQ(form.Label1->Font().Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(form.Pbox->Height(), 44) << "Arial at 40 pixels: ascent 36, descent 8";
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, ColourDialogsSetBackgroundAndGradientColours)
{
    TForm1& form = Open();
    TColor offered = 0;
    TColorDialog::Answerer = [&](TColorDialog& dialog) {
        dialog.SetColor(offered);
        return true;
    };
    offered = 0x00112233;
    ClickCell(*form.MbText, 2);
    EXPECT_EQ(form.CurrentParams().BgColor, 0x00112233u);
    ExpectConsistent(form);
    offered = 0x000000FF;
    ClickCell(*form.MbColor, 1);
    EXPECT_EQ(form.Gbox->TopColor(), 0x000000FFu);
    EXPECT_EQ(form.LbTopC->Font().Color(), 0x000000FFu) << "the digit 1 shows the new colour";
    offered = 0x00FF0000;
    ClickCell(*form.MbColor, 2);
    EXPECT_EQ(form.Gbox->LastColor(), 0x00FF0000u);
    EXPECT_EQ(form.LbLastC->Font().Color(), 0x00FF0000u);
    ExpectConsistent(form);

    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x00ABCDEF);
        return false;
    };
    ClickCell(*form.MbColor, 1);
    EXPECT_EQ(form.Gbox->TopColor(), 0x000000FFu) << "cancel keeps the colour";
    ExpectConsistent(form);
}

TEST_F(Form1Fixture, ATooLargeLogoIsRefusedAndTheLastGoodOneStays)
{
    TForm1& form = Open();
    const QImage before = BitmapImageCopy(form.Img->Picture());
    const QString caption = form.windowTitle();
    TFontDialog::Answerer = [](TFontDialog& dialog) {
        dialog.Font().SetHeight(-2000);
        return true;
    };
    form.Edit1->setText(QString(40, QLatin1Char('W')));
    ClickCell(*form.MbText, 1);
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_TRUE(FErrors[0].startsWith(QString::fromUtf8("ロゴが大きすぎます")));
    EXPECT_EQ(form.windowTitle(), caption);
    EXPECT_TRUE(BitmapImageCopy(form.Img->Picture()) == before);
}

TEST_F(Form1Fixture, AboutTextHasFiveLinesStartingWithTheVersion)
{
    const QStringList lines = TForm1::AboutText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("Vezodev " VEZODEV_VERSION));
    EXPECT_TRUE(lines[2].isEmpty());
}

TEST_F(Form1Fixture, DirectionArrowsAndColourDigitsRenderWithTheSubstituteFonts)
{
    TForm1& form = Open();
    // Each direction cell shows a drawn arrow: dark pixels inside the raised face.
    for (int cell = 1; cell <= 4; ++cell) {
        form.MbGra->Repaint();
        const TCanvas& canvas = form.MbGra->Canvas();
        const int x0 = (cell - 1) % 2 * 28, y0 = (cell - 1) / 2 * 24;
        int ink = 0;
        for (int y = y0 + 2; y < y0 + 22; ++y)
            for (int x = x0 + 2; x < x0 + 26; ++x)
                ink += canvas.Pixel(x, y) == 0x000000u;
        EXPECT_GT(ink, 10) << "cell " << cell;
    }
    form.LbTopC->Repaint();
    int green = 0;
    for (int y = 0; y < form.LbTopC->Height(); ++y)
        for (int x = 0; x < form.LbTopC->Width(); ++x)
            green += form.LbTopC->Canvas().Pixel(x, y) == form.Gbox->TopColor();
    EXPECT_GT(green, 5) << "the digit 1 is drawn in the first gradient colour";
}

} // namespace

namespace {

TEST_F(Form1Fixture, F1OpensTheHelpPageBesideTheProgram)
{
    TForm1& form = Open();
    QString opened;
    int context = 0;
    HelpOpener = [&](const QString& page, int asked) {
        opened = page;
        context = asked;
        return true;
    };
    QTest::keyClick(&form, Qt::Key_F1);
    ASSERT_EQ(FErrors.size(), 1) << "no page beside the program yet";
    EXPECT_EQ(FErrors[0], QString::fromUtf8("ヘルプファイル %1 が見つかりません").arg(FFolder.filePath(QStringLiteral("vezodev.html"))));
    QFile page(FFolder.filePath(QStringLiteral("vezodev.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_F1);
    EXPECT_EQ(opened, FFolder.filePath(QStringLiteral("vezodev.html")));
    EXPECT_EQ(context, 1);
}

TEST_F(Form1Fixture, F1AndTheAboutBoxOpenTheHelpWindow)
{
    TForm1& form = Open();
    const QString page = FFolder.filePath(QStringLiteral("vezodev.html"));
    WriteAll(page, "<h1>Vezodev</h1>");
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_TRUE(FErrors.isEmpty());
    THelpWindow& help = THelpWindow::Instance();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.Browser()->source(), QUrl::fromLocalFile(page));
    help.hide();

    MessageAnswerer = [](TMessageRequest& request) {
        EXPECT_EQ(request.HelpButton, QStringLiteral("ヘルプ"));
        request.HelpChosen = true;
        return false;
    };
    form.SpeedButton3->click();
    MessageAnswerer = nullptr;
    EXPECT_TRUE(help.isVisible());
    help.hide();
    EXPECT_TRUE(FErrors.isEmpty());
}

} // namespace
