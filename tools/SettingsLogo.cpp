#include "tools/SettingsLogo.h"

#include "app/composer/StoredParams.h"
#include "components/IniGT.h"
#include "platform/raster/AtomicFile.h"
#include "platform/raster/ProfileFile.h"
#include "platform/raster/Strings.h"
#include "tools/RenderOptions.h"

#include <QFileInfo>
#include <cerrno>

namespace {

const QString DefaultText = QStringLiteral("Vezodev");

} // namespace

TLogoParams ReadSettingsLogo(const QString& iniPath, const std::optional<QString>& styleName)
{
    int error = ENOENT;
    if (!QFileInfo::exists(iniPath) || !ReadProfileFile(iniPath, &error))
        throw EUsageError(QStringLiteral("--ini: cannot read '%1' (%2)").arg(iniPath, SystemErrorText(error)));
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(QFileInfo(iniPath).absoluteFilePath());
    ini.SetFence(fnNone);
    // The reads share one reading of the file; the update writes nothing.
    TIniGT::TUpdate snapshot(ini);
    TLogoParams logo = TLogoParams::Defaults();
    logo.Text = DefaultText;
    TStoredParams::Read(ini, QStringLiteral("OPTION"), DefaultText, logo);
    if (!styleName)
        return logo;
    TStringList styles;
    ini.ReadStrings(QStringLiteral("STYLES"), QStringLiteral("STYLE"), styles);
    const int index = TStoredParams::FindStyle(styles.ToStringList(), *styleName);
    if (index < 0)
        throw EUsageError(QStringLiteral("--style: no style '%1' in '%2'").arg(*styleName, iniPath));
    TStoredParams::Read(ini, styles.Get(index), DefaultText, logo);
    return logo;
}
