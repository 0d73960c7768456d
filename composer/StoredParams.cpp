#include "composer/StoredParams.h"

#include "composer/LogoComposer.h"
#include "composer/LogoSmoother.h"
#include "composer/SettingsKeys.h"
#include "components/settings/IniGT.h"
#include "platform/base/AsciiCase.h"

#include <algorithm>

int TStoredParams::FindStyle(const std::vector<std::u16string>& styles, std::u16string_view name)
{
    int found = -1;
    for (std::size_t i = 0; i < styles.size(); ++i) {
        if (SameIgnoringAsciiCase(styles[i], name))
            found = static_cast<int>(i);
    }
    return found;
}

void TStoredParams::Read(TIniGT& ini, std::u16string_view section, std::u16string_view defaultText, TLogoParams& params)
{
    using Keys = TSettingsKeys;
    params.BgColor = ini.ReadColor(section, Keys::BgColor, TLogoParams::DefaultBgColor);
    params.TopColor = ini.ReadColor(section, Keys::TopColor, params.TopColor);
    params.LastColor = ini.ReadColor(section, Keys::LastColor, params.LastColor);
    // A font size beyond the tallest font is limited to it, as the margins are.
    ini.ReadFont(section, Keys::Font, params.Font, TLogoParams::MaxFontHeight);
    params.Font.SetCharset(DEFAULT_CHARSET);
    params.Text = ini.ReadString(section, Keys::Text, defaultText);
    // A selector keeps its cell when the stored one does not exist.
    params.MixType = TLogoComposer::MixTypeOf(ini.ReadInteger(section, Keys::MixType, params.MixType), params.MixType);
    params.GraType = TLogoComposer::GraTypeOf(ini.ReadInteger(section, Keys::GraType, params.GraType), params.GraType);
    params.HSpace = std::clamp(ini.ReadInteger(section, Keys::HSpace, params.HSpace), 0, TLogoParams::MaxSpace);
    params.VSpace = std::clamp(ini.ReadInteger(section, Keys::VSpace, params.VSpace), 0, TLogoParams::MaxSpace);
    const int smooth = ini.ReadInteger(section, Keys::Smooth, 0);
    params.Smooth = TLogoSmoother::ValidFactor(smooth) ? smooth : 0;
    // Like the smoothing factor, an effect whose keys are missing is off.
    TTextEffects effects;
    effects.Spacing = ini.ReadInteger(section, Keys::Spacing, 0);
    effects.OutlineWidth = ini.ReadInteger(section, Keys::OutlineWidth, 0);
    effects.OutlineColor = ini.ReadColor(section, Keys::OutlineColor, TTextEffects::DefaultOutlineColor);
    effects.ShadowX = ini.ReadInteger(section, Keys::ShadowX, 0);
    effects.ShadowY = ini.ReadInteger(section, Keys::ShadowY, 0);
    effects.ShadowColor = ini.ReadColor(section, Keys::ShadowColor, TTextEffects::DefaultShadowColor);
    params.Effects = effects.Clamped();
}

void TStoredParams::Write(TIniGT& ini, std::u16string_view section, const TLogoParams& params)
{
    using Keys = TSettingsKeys;
    ini.WriteColor(section, Keys::BgColor, params.BgColor);
    ini.WriteColor(section, Keys::TopColor, params.TopColor);
    ini.WriteColor(section, Keys::LastColor, params.LastColor);
    ini.WriteFont(section, Keys::Font, params.Font);
    ini.WriteString(section, Keys::Text, params.Text);
    ini.WriteInteger(section, Keys::MixType, params.MixType);
    ini.WriteInteger(section, Keys::GraType, params.GraType);
    ini.WriteInteger(section, Keys::HSpace, params.HSpace);
    ini.WriteInteger(section, Keys::VSpace, params.VSpace);
    // Plain edges leave the key out, so files of plain logos keep their keys; a section
    // that held a factor gets 0, which reads back as plain.
    if (params.Smooth != 0 || ini.ReadInteger(section, Keys::Smooth, 0) != 0)
        ini.WriteInteger(section, Keys::Smooth, params.Smooth);
    // An effect's keys are there only while it is on, so files of logos without effects
    // never gain them.
    const TTextEffects& effects = params.Effects;
    const auto integer = [&](bool on, std::u16string_view key, int value) {
        if (on)
            ini.WriteInteger(section, key, value);
        else
            ini.DeleteKey(section, key);
    };
    const auto color = [&](bool on, std::u16string_view key, TColor value) {
        if (on)
            ini.WriteColor(section, key, value);
        else
            ini.DeleteKey(section, key);
    };
    integer(effects.Spacing != 0, Keys::Spacing, effects.Spacing);
    integer(effects.HasOutline(), Keys::OutlineWidth, effects.OutlineWidth);
    color(effects.HasOutline(), Keys::OutlineColor, effects.OutlineColor);
    integer(effects.HasShadow(), Keys::ShadowX, effects.ShadowX);
    integer(effects.HasShadow(), Keys::ShadowY, effects.ShadowY);
    color(effects.HasShadow(), Keys::ShadowColor, effects.ShadowColor);
}
