#include "platform/raster/InstalledData.h"

#include <QDir>
#include <QFileInfo>

QString InstalledDataFolder(const QString& path, const QString& name)
{
    return QDir::cleanPath(QFileInfo(path).absolutePath() + QStringLiteral("/../share/") + name);
}
