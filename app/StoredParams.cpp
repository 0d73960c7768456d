#include "app/StoredParams.h"

#include "components/IniGT.h"

#include <algorithm>

namespace {

const QString KeyBgColor = QStringLiteral("BGCOLOR");
const QString KeyTopColor = QStringLiteral("TOPCOLOR");
const QString KeyLastColor = QStringLiteral("LASTCOLOR");
const QString KeyFont = QStringLiteral("FONT");
const QString KeyText = QStringLiteral("TEXT");
const QString KeyMixType = QStringLiteral("MIXTYPE");
const QString KeyGraType = QStringLiteral("GRATYPE");
const QString KeyHSpace = QStringLiteral("HSPACE");
const QString KeyVSpace = QStringLiteral("VSPACE");

// A selector keeps its cell when the stored one does not exist.
int Cell(int stored, int current)
{
    return stored >= 1 && stored <= 4 ? stored : current;
}

} // namespace

void TStoredParams::Read(TIniGT& ini, const QString& section, const QString& defaultText, TLogoParams& params)
{
    params.BgColor = ini.ReadColor(section, KeyBgColor, DefaultBgColor);
    params.TopColor = ini.ReadColor(section, KeyTopColor, params.TopColor);
    params.LastColor = ini.ReadColor(section, KeyLastColor, params.LastColor);
    ini.ReadFont(section, KeyFont, params.Font);
    params.Font.SetCharset(DEFAULT_CHARSET);
    params.Text = ini.ReadString(section, KeyText, defaultText);
    params.MixType = Cell(ini.ReadInteger(section, KeyMixType, params.MixType), params.MixType);
    params.GraType = Cell(ini.ReadInteger(section, KeyGraType, params.GraType), params.GraType);
    params.HSpace = std::clamp(ini.ReadInteger(section, KeyHSpace, params.HSpace), 0, MaxSpace);
    params.VSpace = std::clamp(ini.ReadInteger(section, KeyVSpace, params.VSpace), 0, MaxSpace);
}

void TStoredParams::Write(TIniGT& ini, const QString& section, const TLogoParams& params)
{
    ini.WriteColor(section, KeyBgColor, params.BgColor);
    ini.WriteColor(section, KeyTopColor, params.TopColor);
    ini.WriteColor(section, KeyLastColor, params.LastColor);
    ini.WriteFont(section, KeyFont, params.Font);
    ini.WriteString(section, KeyText, params.Text);
    ini.WriteInteger(section, KeyMixType, params.MixType);
    ini.WriteInteger(section, KeyGraType, params.GraType);
    ini.WriteInteger(section, KeyHSpace, params.HSpace);
    ini.WriteInteger(section, KeyVSpace, params.VSpace);
}
