#include "tools/SettingsLogo.h"

#include "composer/SettingsKeys.h"
#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Strings.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "tools/RenderOptions.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

TLogoParams ReadSettingsLogo(const std::u16string& iniPath, const std::optional<std::u16string>& styleName)
{
    auto cannotRead = [&](int error) {
        return EUsageError(Format(TrText("--ini: cannot read '%1' (%2)"), {iniPath, SystemErrorText(error)}));
    };
    const std::filesystem::path path(iniPath);
    std::error_code error;
    if (iniPath.empty() || !std::filesystem::exists(path, error))
        throw cannotRead(ENOENT);
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(std::filesystem::absolute(path, error).lexically_normal().u16string());
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
        throw EUsageError(Format(TrText("--style: no style '%1' in '%2'"), {*styleName, iniPath}));
    TStoredParams::Read(ini, styles.Get(index), TLogoParams::DefaultText, logo);
    return logo;
}
