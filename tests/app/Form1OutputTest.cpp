#include "Form1TestSupport.h"
#include "TestFiles.h"

#include "components/widgets/IniGTComponent.h"
#include "platform/base/AtomicFile.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/QtText.h"
#include "platform/widgets/SpinEdit.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

namespace {

TEST(Form1OutputNames, SaveNamesGetABmpExtension)
{
    const struct {
        const char* Chosen;
        const char* Saved;
    } cases[] = {
        {"logo", "logo.bmp"},
        {"logo.txt", "logo.bmp"},
        {"logo.old", "logo.bmp"},
        {"logo.BMP", "logo.BMP"},
        {"logo.Bmp", "logo.Bmp"},
        {"/tmp/my.folder/logo", "/tmp/my.folder/logo.bmp"},
        {"/tmp/my.folder/logo.png", "/tmp/my.folder/logo.bmp"},
        {"C:\\a.b\\logo", "C:\\a.b\\logo.bmp"},
        {"a.b:logo", "a.b:logo.bmp"},
        {"logo.", "logo.bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TForm1::WithBmpExtension(QString::fromUtf8(c.Chosen)), QString::fromUtf8(c.Saved)) << c.Chosen;
}

TEST(Form1OutputNames, PngNamesStayAndPngTypesGetAPngExtension)
{
    const struct {
        const char* Chosen;
        int Type;
        const char* Saved;
    } cases[] = {
        {"logo.png", stBmp, "logo.png"},
        {"logo.PNG", stBmp, "logo.PNG"},
        {"logo", stBmp, "logo.bmp"},
        {"logo", stPng, "logo.png"},
        {"logo.txt", stTransparentPng, "logo.png"},
        {"logo.Bmp", stPng, "logo.Bmp"},
        {"/tmp/my.folder/logo", stPng, "/tmp/my.folder/logo.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TForm1::WithSaveExtension(QString::fromUtf8(c.Chosen), c.Type), QString::fromUtf8(c.Saved))
            << c.Chosen << " " << c.Type;
}

class Form1OutputTest : public Form1Fixture {
protected:
    // Answers the save dialog with a name and remembers what it was offered.
    void AnswerSave(const QString& name)
    {
        TSaveDialog::Answerer = [this, name](TSaveDialog& dialog) {
            FOffered = dialog.FileName();
            dialog.SetFileName(name);
            return true;
        };
    }
    QString FOffered;
};

TEST_F(Form1OutputTest, SavingWritesTheCompositeAsABmpOfTheCaptionsSize)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("3"));
    const QString chosen = FFolder.filePath(QStringLiteral("logo.txt"));
    AnswerSave(chosen);
    form.BtSave->click();
    const QString saved = FFolder.filePath(QStringLiteral("logo.bmp"));
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(QFile::exists(chosen));
    const QImage image(saved);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(form.windowTitle(), TForm1::SizeCaption(image.width(), image.height()));
    EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB32) == BitmapImageCopy(form.Img->Picture()));
    EXPECT_EQ(form.SaveDlg->FileName(), saved);
    EXPECT_EQ(ToQString(form.IniGT->ReadString(u"Option", u"SaveFile", u"")), saved);
    EXPECT_TRUE(FErrors.isEmpty());
}

// What the logo pane shows is only a view: drawing over it changes neither the saved
// file nor the clipboard, which both get the composer's composite.
TEST_F(Form1OutputTest, SaveAndCopyTakeTheBuiltLogoNotThePanesPixels)
{
    TForm1& form = Open();
    TLogoLayers layers;
    TLogoComposer::Compose(form.CurrentParams(), layers);
    const QImage composite = BitmapImageCopy(layers.Composite);
    TCanvas& pane = form.Img->Canvas();
    pane.Brush().SetColor(0x000000FF);
    pane.FillRect(Rect(0, 0, 20, 10));
    ASSERT_FALSE(BitmapImageCopy(form.Img->Picture()) == composite);

    const QString saved = FFolder.filePath(QStringLiteral("logo.bmp"));
    AnswerSave(saved);
    form.BtSave->click();
    EXPECT_TRUE(QImage(saved).convertToFormat(QImage::Format_RGB32) == composite);
    form.BtCopyClick();
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == composite);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST_F(Form1OutputTest, PngSavesHoldTheCompositeAndTransparentOnesClearTheBackground)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("2"));
    const QImage composite = BitmapImageCopy(form.Img->Picture());
    const QImage text = BitmapImageCopy(form.Pbox->Picture());
    const QRgb background = ColorToPixel(form.CurrentParams().BgColor);
    for (const int type : {stBmp, stPng, stTransparentPng}) {
        SCOPED_TRACE(type);
        const QString saved = FFolder.filePath(QStringLiteral("logo%1.Png").arg(type));
        TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
            dialog.SetFileName(saved);
            dialog.SetFilterIndex(type);
            return true;
        };
        form.BtSave->click();
        EXPECT_EQ(ToQString(form.IniGT->ReadString(u"Option", u"SaveFile", u"")), saved);
        EXPECT_TRUE(ReadAll(saved).startsWith("\x89PNG"));
        const QImage image = QImage::fromData(ReadAll(saved), "PNG");
        ASSERT_EQ(image.size(), composite.size());
        EXPECT_EQ(image.hasAlphaChannel(), type == stTransparentPng);
        int cleared = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool clear = type == stTransparentPng && text.pixel(x, y) == background;
                cleared += clear;
                ASSERT_EQ(qAlpha(image.pixel(x, y)), clear ? 0 : 255) << x << "," << y;
                if (!clear) {
                    ASSERT_EQ(image.pixel(x, y), composite.pixel(x, y)) << x << "," << y;
                }
            }
        if (type == stTransparentPng) {
            EXPECT_GT(cleared, image.width() * 4) << "the margins at least are clear";
        }
    }
    EXPECT_TRUE(FErrors.isEmpty());
}

TEST_F(Form1OutputTest, SavingOverAnExistingFileReplacesItWithoutAQuestion)
{
    TForm1& form = Open();
    const QString saved = FFolder.filePath(QStringLiteral("old.bmp"));
    WriteAll(saved, "not a picture");
    AnswerSave(saved);
    form.BtSave->click();
    EXPECT_FALSE(QImage(saved).isNull());
    EXPECT_TRUE(FErrors.isEmpty());
}

TEST_F(Form1OutputTest, CancellingTheSaveChangesNothing)
{
    TForm1& form = Open();
    form.SaveDlg->SetFileName(QStringLiteral("/somewhere/kept.bmp"));
    TSaveDialog::Answerer = [](TSaveDialog&) { return false; };
    form.BtSave->click();
    EXPECT_EQ(form.SaveDlg->FileName(), QStringLiteral("/somewhere/kept.bmp"));
    EXPECT_FALSE(QFile::exists(SettingsPath()));
}

TEST_F(Form1OutputTest, AFileThatCannotBeCreatedIsReportedAndNotRemembered)
{
    TForm1& form = Open();
    const QString chosen = FFolder.filePath(QStringLiteral("missing/logo"));
    AnswerSave(chosen);
    form.BtSave->click();
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_EQ(FErrors[0], QString::fromUtf8("ﾌｧｲﾙ %1 を作成できません (%2)").arg(chosen + QStringLiteral(".bmp"), SystemErrorText(ENOENT)));
    EXPECT_EQ(form.SaveDlg->FileName(), chosen + QStringLiteral(".bmp")) << "the dialog keeps the adjusted name";
    EXPECT_FALSE(QFile::exists(SettingsPath()));
}

TEST_F(Form1OutputTest, AWriteThatFailsPartWayLeavesTheOldFileIntact)
{
    TForm1& form = Open();
    const QString saved = FFolder.filePath(QStringLiteral("logo.bmp"));
    const QByteArray old(200, 'x');
    WriteAll(saved, old);
    // A file-size limit makes the disk "full" after 1000 bytes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    AnswerSave(saved);
    form.BtSave->click();
    setrlimit(RLIMIT_FSIZE, &previous);
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_EQ(FErrors[0], QString::fromUtf8("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (%1: %2)").arg(saved, SystemErrorText(EFBIG)));
    EXPECT_EQ(ReadAll(saved), old);
    EXPECT_EQ(QDir(FFolder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("logo.bmp")}) << "no temporary file left";
}

TEST_F(Form1OutputTest, CopyPutsTheLogoOnTheClipboardAndShowsAStatusForOneSecond)
{
    TForm1& form = Open();
    const QString sizeCaption = form.windowTitle();
    form.BtCopyClick();
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == BitmapImageCopy(form.Img->Picture()));
    EXPECT_EQ(form.windowTitle(), sizeCaption + QString::fromUtf8(" クリップボードにコピーしました"));
    EXPECT_TRUE(form.Timer1->isActive());
    // A second copy while the status shows does not restart the timer, nor add the
    // status twice.
    const int remaining = form.Timer1->remainingTime();
    form.BtCopyClick();
    EXPECT_LE(form.Timer1->remainingTime(), remaining);
    EXPECT_EQ(form.windowTitle(), sizeCaption + QString::fromUtf8(" クリップボードにコピーしました"));
    // The status shows for one tick of a one-second timer, and then leaves the caption.
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, 5000));
    EXPECT_EQ(form.windowTitle(), sizeCaption);
}

TEST_F(Form1OutputTest, ABuildDuringTheStatusSecondIsUndoneByTheTick)
{
    TForm1& form = Open();
    const QString sizeCaption = form.windowTitle();
    form.BtCopyClick();
    form.EdHs->SetText(QStringLiteral("5"));
    EXPECT_EQ(form.windowTitle(), TForm1::SizeCaption(106 + 10, 32));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, 5000));
    EXPECT_EQ(form.windowTitle(), sizeCaption);
}

TEST_F(Form1OutputTest, DoubleClickingTheCompositeDoesNothing)
{
    TForm1& form = Open();
    const QImage before = BitmapImageCopy(form.Img->Picture());
    const QString caption = form.windowTitle();
    QTest::mouseDClick(form.Img, Qt::LeftButton);
    EXPECT_EQ(form.windowTitle(), caption);
    EXPECT_TRUE(BitmapImageCopy(form.Img->Picture()) == before);
    EXPECT_TRUE(FErrors.isEmpty());
}

} // namespace
