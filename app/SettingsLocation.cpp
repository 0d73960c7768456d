#include "app/SettingsLocation.h"

#include "components/settings/IniGT.h"
#include "platform/base/InstalledData.h"
#include "platform/widgets/QtText.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString FolderName = QStringLiteral("vezodev");

// The folders of path from the outermost missing one inward, readable by the user only.
void MakePrivateFolders(const QString& path)
{
    const QFileInfo folder(path);
    if (folder.exists())
        return;
    MakePrivateFolders(folder.absolutePath());
    QDir().mkdir(folder.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

bool TSettingsLocation::IsInstalled(const QString& programFile)
{
    return QFileInfo(ToQString(InstalledDataFolder(ToText(programFile), ToText(FolderName)).u16string())).isDir();
}

QString TSettingsLocation::PrepareUserFile(const QString& programFile, const QString& fileName)
{
    if (!IsInstalled(programFile))
        return QString();
    const QString folder = ToQString(TIniGT::ConfigurationFolder().u16string()) + u'/' + FolderName;
    MakePrivateFolders(folder);
    return folder + u'/' + fileName;
}
