#include "Form1TestSupport.h"

#include "app/StyleGallery.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/Image.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

// Smooth edges as a window setting, and the style gallery.
class Form1GalleryTest : public Form1Fixture {
protected:
    static TStyleGallery& OpenGallery(TForm1& form)
    {
        form.MmGalleryClick();
        TStyleGallery* gallery = form.StyleGallery();
        EXPECT_TRUE(gallery && gallery->isVisible());
        return *gallery;
    }
    static void WaitUntilBuilt(TStyleGallery& gallery)
    {
        const QDeadlineTimer deadline(10000);
        while (!gallery.Finished() && !deadline.hasExpired())
            QCoreApplication::processEvents();
        ASSERT_TRUE(gallery.Finished());
    }
    // What choosing a style leaves behind, in one comparable line.
    static QString Snapshot(TForm1& form)
    {
        const TLogoParams params = form.CurrentParams();
        return QStringList{ToQString(params.Text), ToQString(params.Font.Name()), QString::number(params.Font.Height()),
                           QString::number(params.BgColor), QString::number(params.TopColor),
                           QString::number(params.LastColor), QString::number(params.GraType),
                           QString::number(params.MixType), QString::number(params.HSpace),
                           QString::number(params.VSpace), QString::number(params.Smooth),
                           QString::number(form.CbStyle->currentIndex()), form.windowTitle(),
                           QString::number(form.MmSmooth->isChecked())}
            .join(u'|');
    }
};

const QByteArray ThreeStyles =
    "[STYLES]\r\nSTYLE.Count=3\r\nSTYLE.0=Wide\r\nSTYLE.1=Soft\r\nSTYLE.2=Broken\r\n"
    "[Wide]\r\nTEXT=Wide text\r\nMIXTYPE=2\r\nHSPACE=20\r\n"
    "[Soft]\r\nBGCOLOR=0x00FFFFFF\r\nTEXT=Soft\r\nGRATYPE=3\r\nSMOOTH=4\r\n"
    "[Broken]\r\nBGCOLOR=0x00FFFFFF\r\nTOPCOLOR=0xZZ\r\n";

TEST_F(Form1GalleryTest, SmoothEdgesAreStoredOnlyWhenOnAndReadBackOffWhenTurnedOff)
{
    TForm1& form = Open();
    const QImage plain = BitmapImageCopy(form.Img->Picture());
    form.MmSmooth->trigger();
    EXPECT_TRUE(form.MmSmooth->isChecked());
    EXPECT_EQ(form.CurrentParams().Smooth, 4);
    ExpectConsistent(form);
    EXPECT_EQ(BitmapImageCopy(form.Img->Picture()).size(), plain.size());
    EXPECT_NE(BitmapImageCopy(form.Img->Picture()), plain);

    AddStyle(form, QStringLiteral("Soft"));
    EXPECT_EQ(Read("Soft", "SMOOTH"), QStringLiteral("4"));
    form.MmSmooth->trigger();
    EXPECT_EQ(BitmapImageCopy(form.Img->Picture()), plain);
    AddStyle(form, QStringLiteral("Soft"));
    EXPECT_EQ(Read("Soft", "SMOOTH"), QStringLiteral("0")) << "a stored factor is not left on";
    AddStyle(form, QStringLiteral("Plain"));
    EXPECT_EQ(Read("Plain", "SMOOTH"), QStringLiteral("<none>"));

    form.MmSmooth->trigger();
    Choose(form, 0);
    EXPECT_FALSE(form.MmSmooth->isChecked());
    EXPECT_EQ(form.CurrentParams().Smooth, 0);
    form.close();
    EXPECT_EQ(Read("OPTION", "SMOOTH"), QStringLiteral("<none>"));
    EXPECT_TRUE(FErrors.isEmpty());
}

TEST_F(Form1GalleryTest, AStoredFactorTurnsSmoothingOnAndAMissingOrBadOneLeavesItOff)
{
    for (const auto& [value, expected] : {std::pair{"6", 6}, std::pair{"", 0}, std::pair{"9", 0}, std::pair{"x", 0}}) {
        SCOPED_TRACE(value);
        WriteSettings(QByteArray("[OPTION]\r\nTEXT=Logo\r\n") + (*value ? QByteArray("SMOOTH=") + value + "\r\n" : ""));
        TForm1& form = Open();
        EXPECT_EQ(form.CurrentParams().Smooth, expected);
        EXPECT_EQ(form.MmSmooth->isChecked(), expected != 0);
        ExpectConsistent(form);
        FForm.reset();
    }
}

TEST_F(Form1GalleryTest, GalleryShowsEveryStyleWithTheCurrentTextAndABrokenOneAsAnError)
{
    WriteSettings(ThreeStyles);
    TForm1& form = Open();
    TStyleGallery& gallery = OpenGallery(form);
    WaitUntilBuilt(gallery);
    ASSERT_EQ(gallery.TileCount(), 3);
    EXPECT_EQ(gallery.TileError(0), QString());
    EXPECT_EQ(gallery.TileError(1), QString());
    EXPECT_TRUE(gallery.TileError(2).contains(QString::fromUtf8("は整数ではありません"))) << gallery.TileError(2).toStdString();
    EXPECT_EQ(gallery.List()->item(2)->text().section(u'\n', 0, 0), QStringLiteral("Broken"));

    // Drawn with the window's text, not the style's: the tile has that logo's size.
    TLogoParams wide = form.CurrentParams();
    wide.HSpace = 20;
    const TSize size = TLogoComposer::LogoSize(wide);
    const QList<QSize> sizes = gallery.List()->item(0)->icon().availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.first(), QSize(size.Width, size.Height));

    // It follows the text and the list.
    form.Edit1->setText(QStringLiteral("Other"));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_FALSE(gallery.Finished());
    WaitUntilBuilt(gallery);
    wide.Text = u"Other";
    EXPECT_EQ(gallery.List()->item(0)->icon().availableSizes().first().width(), TLogoComposer::LogoSize(wide).Width);
    AddStyle(form, QStringLiteral("Fourth"));
    WaitUntilBuilt(gallery);
    EXPECT_EQ(gallery.TileCount(), 4);
    EXPECT_TRUE(FErrors.isEmpty());
}

TEST_F(Form1GalleryTest, ApplyingFromTheGalleryEqualsChoosingFromTheList)
{
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        WriteSettings(ThreeStyles);
        TForm1& byList = Open();
        Choose(byList, index);
        const QString expected = Snapshot(byList);
        const QImage expectedLogo = BitmapImageCopy(byList.Img->Picture());
        const QStringList expectedErrors = FErrors;
        FForm.reset();
        FErrors.clear();

        WriteSettings(ThreeStyles);
        TForm1& byGallery = Open();
        TStyleGallery& gallery = OpenGallery(byGallery);
        WaitUntilBuilt(gallery);
        gallery.List()->setCurrentRow(index);
        QTest::keyClick(gallery.List(), Qt::Key_Return);
        EXPECT_EQ(Snapshot(byGallery), expected);
        EXPECT_EQ(BitmapImageCopy(byGallery.Img->Picture()), expectedLogo);
        EXPECT_EQ(FErrors, expectedErrors);
        FForm.reset();
        FErrors.clear();
    }
}

// The gallery opens on the style the list shows, with the keyboard there, and Escape closes it.
TEST_F(Form1GalleryTest, GalleryOpensOnTheCurrentStyleAndEscapeClosesIt)
{
    WriteSettings(ThreeStyles);
    TForm1& form = Open();
    for (const int current : {1, 2}) {
        SCOPED_TRACE(current);
        form.CbStyle->setCurrentIndex(current);
        TStyleGallery& gallery = OpenGallery(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&gallery));
        EXPECT_EQ(gallery.List()->currentRow(), current);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == gallery.List(); }, 2000));
        QTest::keyClick(gallery.List(), Qt::Key_Escape);
        EXPECT_FALSE(gallery.isVisible());
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(FErrors.isEmpty());
}

} // namespace
