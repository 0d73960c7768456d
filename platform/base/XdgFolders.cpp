#include "platform/base/XdgFolders.h"

#include <QDir>

QString XdgFolder(TXdgFolder folder)
{
    struct TRule {
        const char* Variable;
        const char* Default; // below the home folder
    };
    static constexpr TRule Rules[] = {
        {"XDG_CONFIG_HOME", "/.config"},
        {"XDG_CACHE_HOME", "/.cache"},
        {"XDG_DATA_HOME", "/.local/share"},
    };
    const TRule& rule = Rules[folder];
    QString path = qEnvironmentVariable(rule.Variable);
    if (!QDir::isAbsolutePath(path))
        path = QDir::homePath() + QLatin1String(rule.Default);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}
