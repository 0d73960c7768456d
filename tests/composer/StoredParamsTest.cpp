#include "composer/StoredParams.h"
#include "composer/LogoComposer.h"
#include "components/settings/IniGT.h"

#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

TLogoParams ReadOption(const std::string& settings, const TLogoParams& base = TLogoParams::Defaults())
{
    const TTestFolder folder;
    const std::filesystem::path file = folder.FilePath("Logo.ini");
    WriteBytes(file, settings);
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(file.u16string());
    TLogoParams params = base;
    TStoredParams::Read(ini, u"OPTION", u"Vezodev", params);
    return params;
}

// A size whose height passes the tallest font is limited to it, as a margin out of
// range is, instead of overflowing into a font one pixel high.
TEST(StoredParamsTest, AFontSizeBeyondTheTallestFontIsLimitedToIt)
{
    struct TCase {
        const char* Size;
        int Height;
    };
    for (const TCase& c : {TCase{"2000000000", -TLogoParams::MaxFontHeight}, TCase{"-2000000000", TLogoParams::MaxFontHeight},
                           TCase{"24575", -TLogoParams::MaxFontHeight}, TCase{"22", -29}, TCase{"-21", 28}}) {
        SCOPED_TRACE(c.Size);
        const TLogoParams params = ReadOption(std::string("[OPTION]\r\nFONT.Size=") + c.Size + "\r\n");
        EXPECT_EQ(params.Font.Height(), c.Height);
    }
}

TEST(StoredParamsTest, ALogoOfTheTallestFontIsRefusedWithItsSize)
{
    const TLogoParams params = ReadOption("[OPTION]\r\nFONT.Size=2000000000\r\nTEXT=Vezodev\r\n");
    EXPECT_THROW(TLogoComposer::CheckLogoSize(TLogoComposer::LogoExtent(params)), ELogoSizeError);
}

TTextEffects AllEffects()
{
    TTextEffects effects;
    effects.Spacing = 4;
    effects.OutlineWidth = 2;
    effects.OutlineColor = 0x000000FF;
    effects.ShadowX = -3;
    effects.ShadowY = 5;
    effects.ShadowColor = 0x00112233;
    return effects;
}

// A section without the keys (a file written before them, or a style without effects)
// turns every effect off, whatever was on before.
TEST(StoredParamsTest, EffectKeysAbsentPresentOrOutOfRange)
{
    struct TCase {
        const char* Keys;
        TTextEffects Expected;
    };
    TTextEffects present = AllEffects();
    TTextEffects clampedHigh = present;
    clampedHigh.Spacing = TTextEffects::MaxSpacing;
    clampedHigh.OutlineWidth = TTextEffects::MaxOutlineWidth;
    clampedHigh.ShadowX = TTextEffects::MaxShadowOffset;
    clampedHigh.ShadowY = -TTextEffects::MaxShadowOffset;
    TTextEffects clampedLow;
    clampedLow.Spacing = TTextEffects::MinSpacing;
    TTextEffects shadowOnly;
    shadowOnly.ShadowY = 1;
    for (const TCase& c : {
             TCase{"", TTextEffects{}},
             TCase{"SPACING=4\r\nOUTLINE.Width=2\r\nOUTLINE.Color=0x000000FF\r\nSHADOW.X=-3\r\nSHADOW.Y=5\r\n"
                   "SHADOW.Color=0x00112233\r\n", present},
             TCase{"SPACING=900\r\nOUTLINE.Width=17\r\nOUTLINE.Color=0x000000FF\r\nSHADOW.X=99\r\nSHADOW.Y=-40\r\n"
                   "SHADOW.Color=0x00112233\r\n", clampedHigh},
             TCase{"SPACING=-21\r\nOUTLINE.Width=-1\r\n", clampedLow},
             TCase{"SHADOW.Y=1\r\n", shadowOnly},
         }) {
        SCOPED_TRACE(c.Keys);
        TLogoParams before = TLogoParams::Defaults();
        before.Effects = AllEffects();
        const TLogoParams params = ReadOption(std::string("[OPTION]\r\nTEXT=Logo\r\n") + c.Keys, before);
        EXPECT_EQ(params.Effects, c.Expected);
    }
}

// The keys are written while an effect is on and leave the section when it is turned
// off, so a file of a logo without effects never holds them.
TEST(StoredParamsTest, EffectKeysAreWrittenOnlyWhileOnAndRemovedWhenTurnedOff)
{
    const TTestFolder folder;
    const std::filesystem::path file = folder.FilePath("Logo.ini");
    TIniGT ini;
    ini.SetDefaultDir(ddNone);
    ini.SetFileName(file.u16string());
    const auto fileText = [&] { return ReadBytes(file); };
    using TKeys = std::vector<std::string>;
    const TKeys keys = {"SPACING=", "OUTLINE.Width=", "OUTLINE.Color=", "SHADOW.X=", "SHADOW.Y=", "SHADOW.Color="};
    const auto keysIn = [&](const std::string& text) {
        TKeys found;
        for (const std::string& key : keys)
            if (text.find(key) != std::string::npos)
                found.push_back(key);
        return found;
    };

    TLogoParams params = TLogoParams::Defaults();
    TStoredParams::Write(ini, u"OPTION", params);
    const std::string plain = fileText();
    EXPECT_EQ(keysIn(plain), TKeys());

    params.Effects = AllEffects();
    TStoredParams::Write(ini, u"OPTION", params);
    EXPECT_EQ(keysIn(fileText()), keys);
    TLogoParams read = TLogoParams::Defaults();
    TStoredParams::Read(ini, u"OPTION", u"Vezodev", read);
    EXPECT_EQ(read.Effects, params.Effects);

    params.Effects.OutlineWidth = 0;
    TStoredParams::Write(ini, u"OPTION", params);
    EXPECT_EQ(keysIn(fileText()), (TKeys{keys[0], keys[3], keys[4], keys[5]}));

    params.Effects = TTextEffects{};
    TStoredParams::Write(ini, u"OPTION", params);
    EXPECT_EQ(fileText(), plain);
}

} // namespace
