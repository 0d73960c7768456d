#include "platform/widgets/HelpViewer.h"

#include "platform/raster/Exception.h"
#include "platform/raster/InstalledData.h"
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

QString FindHelpPage(const QString& helpFile)
{
    const QString beside = HelpPagePath(helpFile);
    const QFileInfo besideInfo(beside);
    if (besideInfo.isFile())
        return beside;
    const QString installed = InstalledDataFolder(beside, besideInfo.completeBaseName()) + u'/' + besideInfo.fileName();
    if (QFileInfo(installed).isFile())
        return installed;
    return beside;
}

void ShowHelp(const QString& helpFile, int context)
{
    if (helpFile.isEmpty())
        return;
    const QString page = FindHelpPage(helpFile);
    if (!QFileInfo(page).isFile())
        throw Exception(QStringLiteral("ヘルプファイル %1 が見つかりません").arg(page));
    if (!HelpOpener) {
        THelpWindow::Instance().ShowPage(page);
        return;
    }
    const bool opened = HelpOpener(page, context);
    if (!opened)
        throw Exception(QStringLiteral("ヘルプファイル %1 を表示できません").arg(page));
}
