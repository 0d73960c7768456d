#include "platform/HelpViewer.h"

#include "platform/Exception.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

THelpOpener HelpOpener;

QString HelpPagePath(const QString& helpFile)
{
    const qsizetype nameStart = helpFile.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = helpFile.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemEnd = dot > nameStart ? dot : helpFile.size();
    return helpFile.left(stemEnd) + QStringLiteral(".html");
}

void ShowHelp(const QString& helpFile, int context)
{
    if (helpFile.isEmpty())
        return;
    const QString page = HelpPagePath(helpFile);
    if (!QFileInfo(page).isFile())
        throw Exception(QStringLiteral("ヘルプファイル %1 が見つかりません").arg(page));
    const bool opened = HelpOpener ? HelpOpener(page, context)
                                   : QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    if (!opened)
        throw Exception(QStringLiteral("ヘルプファイル %1 を表示できません").arg(page));
}
