#include "app/composer/StoredParams.h"

#include "app/composer/LogoSmoother.h"
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
const QString KeySmooth = QStringLiteral("SMOOTH");

// A selector keeps its cell when the stored one does not exist.
int Cell(int stored, int current)
{
    return stored >= 1 && stored <= 4 ? stored : current;
}

// Only a to z are folded.
QString UpperAscii(QString text)
{
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return text;
}

} // namespace

int TStoredParams::FindStyle(const QStringList& styles, const QString& name)
{
    const QString key = UpperAscii(name);
    int found = -1;
    for (int i = 0; i < styles.size(); ++i) {
        if (UpperAscii(styles[i]) == key)
            found = i;
    }
    return found;
}

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
    const int smooth = ini.ReadInteger(section, KeySmooth, 0);
    params.Smooth = TLogoSmoother::ValidFactor(smooth) ? smooth : 0;
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
    // Plain edges leave the key out, so files of plain logos keep their keys; a section
    // that held a factor gets 0, which reads back as plain.
    if (params.Smooth != 0 || ini.ReadInteger(section, KeySmooth, 0) != 0)
        ini.WriteInteger(section, KeySmooth, params.Smooth);
}
