#pragma once

#include "composer/LogoParams.h"

#include <string>
#include <string_view>
#include <vector>

class TIniGT;

// A set of logo parameters in a section of the settings file: the last parameters
// ("OPTION") or a style. Reading applies each key over the parameters given, in the
// file's key order, with the window's rules: a missing BGCOLOR is grey, a missing
// TEXT the default text, any other missing key keeps the value given; a mix or
// direction outside 1..4 is ignored and the margins are limited to 0..100. The
// smoothing factor and the effects are the keys whose absence does not keep the value
// given: files written before them hold plain logos, so a missing or unusable SMOOTH
// is 0 and a missing effect is off; an effect's value out of range is limited to it.
// Writing leaves an effect's keys out (and removes them) while it is off. A
// malformed colour stops the reading at its key with the conversion error; the keys
// before it have been applied to the parameters.
class TStoredParams {
public:
    static void Read(TIniGT& ini, std::u16string_view section, std::u16string_view defaultText, TLogoParams& params);
    static void Write(TIniGT& ini, std::u16string_view section, const TLogoParams& params);

    // The position of the style called name: letters a to z match A to Z and nothing
    // else is folded, as the file matches section names; the last equal entry wins.
    // -1 when there is none.
    static int FindStyle(const std::vector<std::u16string>& styles, std::u16string_view name);
};
