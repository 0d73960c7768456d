#include "app/StyleSnapshot.h"

#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/ProfileFile.h"
#include "platform/base/ProfileText.h"

TStyleSnapshot::TStyleSnapshot() = default;

TStyleSnapshot::~TStyleSnapshot() = default;

void TStyleSnapshot::Take(const std::filesystem::path& settingsPath, int fence, std::vector<std::u16string> styles)
{
    FText = std::make_shared<const TProfileText>(ReadProfileFile(settingsPath).value_or(std::string()));
    FPath = settingsPath;
    FStyles = std::move(styles);
    FFence = fence;
    FTaken = true;
}

void TStyleSnapshot::Read(int index, std::u16string_view defaultText, TLogoParams& params) const
{
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(FPath.u16string());
    ini.SetFence(static_cast<TIniGTFence>(FFence));
    ini.HoldText(FText);
    TStoredParams::Read(ini, FStyles.at(static_cast<std::size_t>(index)), defaultText, params);
}
