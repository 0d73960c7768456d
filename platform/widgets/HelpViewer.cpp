#include "platform/widgets/HelpViewer.h"

#include "platform/base/Exception.h"
#include "platform/base/InstalledData.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/HelpWindow.h"

#include <QFileInfo>

THelpOpener HelpOpener;

QString HelpPagePath(const QString& helpFile)
{
    const qsizetype nameStart = helpFile.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = helpFile.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemEnd = dot > nameStart ? dot : helpFile.size();
    return helpFile.left(stemEnd) + QStringLiteral(".html");
}

QString HelpPagePath(const QString& helpFile, TUiLanguage language)
{
    const QString page = HelpPagePath(helpFile);
    if (language != lgEnglish)
        return page;
    return page.chopped(QStringLiteral(".html").size()) + QStringLiteral(".en.html");
}

namespace {

// The page beside the help file, else the installed program's page of that name; empty
// when neither exists. The data folder is named after the help file, not the page, whose
// name may carry a language.
QString FindPage(const QString& helpFile, const QString& beside)
{
    const QFileInfo besideInfo(beside);
    if (besideInfo.isFile())
        return beside;
    const QString name = QFileInfo(HelpPagePath(helpFile)).completeBaseName();
    const QString installed = InstalledDataFolder(beside, name) + u'/' + besideInfo.fileName();
    if (QFileInfo(installed).isFile())
        return installed;
    return QString();
}

} // namespace

QString FindHelpPage(const QString& helpFile, TUiLanguage language)
{
    if (language == lgEnglish) {
        const QString english = FindPage(helpFile, HelpPagePath(helpFile, lgEnglish));
        if (!english.isEmpty())
            return english;
    }
    const QString beside = HelpPagePath(helpFile);
    const QString page = FindPage(helpFile, beside);
    return page.isEmpty() ? beside : page;
}

void ShowHelp(const QString& helpFile, int context)
{
    if (helpFile.isEmpty())
        return;
    const QString page = FindHelpPage(helpFile, CurrentUiLanguage());
    if (!QFileInfo(page).isFile())
        throw Exception(Tr("ヘルプファイル %1 が見つかりません").arg(page));
    if (!HelpOpener) {
        THelpWindow::Instance().ShowPage(page);
        return;
    }
    const bool opened = HelpOpener(page, context);
    if (!opened)
        throw Exception(Tr("ヘルプファイル %1 を表示できません").arg(page));
}
