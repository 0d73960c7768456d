#include "platform/base/InstalledData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString InstalledDataFolder(const QString& path, const QString& name)
{
    return QDir::cleanPath(QFileInfo(path).absolutePath() + QStringLiteral("/../share/") + name);
}

QString RunningProgramFile()
{
    if (QCoreApplication::instance()) {
        const QString path = QCoreApplication::applicationFilePath();
        if (!path.isEmpty())
            return path;
    }
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
