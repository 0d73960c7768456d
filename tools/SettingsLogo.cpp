#include "tools/SettingsLogo.h"

#include "composer/SettingsKeys.h"
#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Strings.h"
#include "platform/base/Tr.h"
#include "tools/RenderOptions.h"

#include <QFileInfo>
#include <cerrno>

TLogoParams ReadSettingsLogo(const QString& iniPath, const std::optional<QString>& styleName)
{
    auto cannotRead = [&](int error) {
        return EUsageError(Tr("--ini: cannot read '%1' (%2)").arg(iniPath, SystemErrorText(error)));
    };
    if (!QFileInfo::exists(iniPath))
        throw cannotRead(ENOENT);
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(QFileInfo(iniPath).absoluteFilePath());
    ini.SetFence(fnNone);
    // The reads share one reading of the file; the update writes nothing.
    TIniGT::TUpdate snapshot(ini);
    if (const int error = ini.UpdateReadError())
        throw cannotRead(error);
    TLogoParams logo = TLogoParams::Defaults();
    TStoredParams::Read(ini, TSettingsKeys::LastParams, TLogoParams::DefaultText, logo);
    if (!styleName)
        return logo;
    TStringList styles;
    ini.ReadStrings(TSettingsKeys::Styles, TSettingsKeys::Style, styles);
    const int index = TStoredParams::FindStyle(styles.ToStringList(), *styleName);
    if (index < 0)
        throw EUsageError(Tr("--style: no style '%1' in '%2'").arg(*styleName, iniPath));
    TStoredParams::Read(ini, styles.Get(index), TLogoParams::DefaultText, logo);
    return logo;
}
