#include "platform/widgets/HelpViewer.h"

#include "platform/base/Exception.h"
#include "platform/base/UiLanguage.h"
#include "platform/widgets/HelpWindow.h"
#include "platform/widgets/QtText.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogHooksGuard.h"
#include "TestFiles.h"

TEST(HelpViewerTest, PageIsHelpFileWithHtmlExtension)
{
    struct Case { QString HelpFile; QString Page; };
    const Case cases[] = {
        {"/opt/v/vezodev.hlp", "/opt/v/vezodev.html"},
        {"/opt/v/vezodev.HLP", "/opt/v/vezodev.html"},
        {"/opt/v/a.b.hlp", "/opt/v/a.b.html"},
        {"/opt/v.1/vezodev", "/opt/v.1/vezodev.html"},
        {"/opt/v/.hlp", "/opt/v/.hlp.html"},
        {"vezodev.hlp", "vezodev.html"},
        {"/opt/ヘルプ/説明.hlp", "/opt/ヘルプ/説明.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.HelpFile.toStdString());
        EXPECT_EQ(HelpPagePath(c.HelpFile), c.Page);
    }
}

TEST(HelpViewerTest, ExistingPageIsOpenedWithContext)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteAll(folder.filePath("vezodev.html"), QByteArray());

    QStringList opened;
    const TDialogHooksGuard hooks;
    HelpOpener = [&](const QString& path, int context) {
        opened.append(path + "#" + QString::number(context));
        return true;
    };
    ShowHelp(folder.filePath("vezodev.hlp"), 1);
    EXPECT_EQ(opened, QStringList{folder.filePath("vezodev.html") + "#1"});
}

TEST(HelpViewerTest, MissingPageThrowsNamingItAndOpensNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    bool called = false;
    const TDialogHooksGuard hooks;
    HelpOpener = [&](const QString&, int) { return called = true; };
    const QString page = folder.filePath("vezodev.html");
    try {
        ShowHelp(folder.filePath("vezodev.hlp"), 1);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(ToQString(error.Message()), "ヘルプファイル " + page + " が見つかりません");
    }
    EXPECT_FALSE(called);
}

TEST(HelpViewerTest, PageThatNoViewerOpensThrows)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteAll(folder.filePath("vezodev.html"), QByteArray());
    const TDialogHooksGuard hooks;
    HelpOpener = [](const QString&, int) { return false; };
    EXPECT_THROW(ShowHelp(folder.filePath("vezodev.hlp"), 1), Exception);
}

TEST(HelpViewerTest, NoHelpFileShowsNothing)
{
    bool called = false;
    const TDialogHooksGuard hooks;
    HelpOpener = [&](const QString&, int) { return called = true; };
    EXPECT_NO_THROW(ShowHelp(QString(), 1));
    EXPECT_FALSE(called);
}

TEST(HelpViewerTest, WithoutAnOpenerThePageOpensInTheHelpWindowWithBackAndContents)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath("share/vezodev"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("bin"));
    // An installed program finds its page in ../share/vezodev/.
    WriteAll(folder.filePath("share/vezodev/vezodev.html"),
             "<html><head><meta charset=\"UTF-8\"><link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\"></head>"
             "<body><h1>目次</h1><a href=\"more.html\">more</a></body></html>");
    WriteAll(folder.filePath("share/vezodev/help.css"), "h1 { color: #000080; }");
    WriteAll(folder.filePath("share/vezodev/more.html"), "<p>second page</p>");
    ShowHelp(folder.filePath("bin/vezodev.hlp"), 1);

    THelpWindow& window = THelpWindow::Instance();
    EXPECT_TRUE(window.isVisible());
    QTextBrowser* browser = window.Browser();
    EXPECT_EQ(QFileInfo(browser->source().toLocalFile()).canonicalFilePath(),
              QFileInfo(folder.filePath("share/vezodev/vezodev.html")).canonicalFilePath());
    EXPECT_TRUE(browser->toPlainText().contains("目次"));
    EXPECT_EQ(browser->document()->begin().begin().fragment().charFormat().foreground().color(), QColor(0x00, 0x00, 0x80))
        << "the linked stylesheet";
    emit browser->anchorClicked(QUrl("more.html"));
    EXPECT_TRUE(browser->toPlainText().contains("second page"));
    auto* back = window.findChild<QPushButton*>("Back");
    ASSERT_NE(back, nullptr);
    ASSERT_TRUE(back->isEnabled());
    back->click();
    EXPECT_TRUE(browser->toPlainText().contains("目次"));
    window.hide();
}

TEST(HelpViewerTest, PageIsTheOneOfTheWindowsLanguageWithTheJapaneseOneForAMissingEnglishOne)
{
    enum TPlace { plNone, plBeside, plInstalled };
    struct TCase {
        const char* Name;
        TUiLanguage Language;
        TPlace Japanese;
        TPlace English;
        const char* Page; // under the scratch folder
    };
    const TCase cases[] = {
        {"English beside", lgEnglish, plBeside, plBeside, "bin/vezodev.en.html"},
        {"Japanese beside", lgJapanese, plBeside, plBeside, "bin/vezodev.html"},
        {"classic beside", lgClassic, plBeside, plBeside, "bin/vezodev.html"},
        {"English installed", lgEnglish, plInstalled, plInstalled, "share/vezodev/vezodev.en.html"},
        {"Japanese installed", lgJapanese, plInstalled, plInstalled, "share/vezodev/vezodev.html"},
        {"English installed, Japanese beside", lgEnglish, plBeside, plInstalled, "share/vezodev/vezodev.en.html"},
        {"no English page", lgEnglish, plBeside, plNone, "bin/vezodev.html"},
        {"no English page installed", lgEnglish, plInstalled, plNone, "share/vezodev/vezodev.html"},
        {"no Japanese page", lgJapanese, plNone, plBeside, "bin/vezodev.html"},
        {"no page", lgEnglish, plNone, plNone, "bin/vezodev.html"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath("bin"));
        ASSERT_TRUE(QDir(folder.path()).mkpath("share/vezodev"));
        const auto place = [&](TPlace where, const char* name) {
            if (where != plNone)
                WriteAll(folder.filePath((where == plBeside ? "bin/" : "share/vezodev/") + QString::fromLatin1(name)), "<p>page</p>");
        };
        place(c.Japanese, "vezodev.html");
        place(c.English, "vezodev.en.html");
        EXPECT_EQ(QDir::cleanPath(FindHelpPage(folder.filePath("bin/vezodev.hlp"), c.Language)),
                  QDir::cleanPath(folder.filePath(c.Page)));
    }
}

TEST(HelpViewerTest, HelpOpensThePageOfTheCurrentLanguage)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteAll(folder.filePath("vezodev.html"), QByteArray());
    WriteAll(folder.filePath("vezodev.en.html"), QByteArray());
    QStringList opened;
    const TDialogHooksGuard hooks;
    HelpOpener = [&](const QString& path, int) {
        opened.append(QFileInfo(path).fileName());
        return true;
    };
    // No catalogue is read from the missing folder: only the language counts here.
    for (const TUiLanguage language : {lgEnglish, lgJapanese, lgClassic}) {
        SetUiLanguage(language, folder.filePath("no-locale").toStdString());
        ShowHelp(folder.filePath("vezodev.hlp"), 1);
    }
    SetUiLanguage(lgClassic, std::string());
    EXPECT_EQ(opened, (QStringList{"vezodev.en.html", "vezodev.html", "vezodev.html"}));
}

TEST(HelpViewerTest, EscapeClosesTheHelpWindowWhereverTheFocusIs)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    WriteAll(folder.filePath("vezodev.html"), "<p>page</p><a href=\"more.html\">more</a>");
    THelpWindow& window = THelpWindow::Instance();
    for (const char* focus : {"browser", "Contents", "Back"}) {
        SCOPED_TRACE(focus);
        window.ShowPage(folder.filePath("vezodev.html"));
        ASSERT_TRUE(window.isVisible());
        QWidget* target = window.Browser();
        if (QString::fromLatin1(focus) != QLatin1String("browser"))
            target = window.findChild<QPushButton*>(QString::fromLatin1(focus));
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
    }
    // Other keys leave it open.
    window.ShowPage(folder.filePath("vezodev.html"));
    QTest::keyClick(window.Browser(), Qt::Key_Down);
    QTest::keyClick(window.Browser(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(window.isVisible());
    window.hide();
}
