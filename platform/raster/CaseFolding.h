#pragma once

#include <string_view>

// Comparisons of family names and the like that ignore case in the whole of Unicode
// (fullwidth Latin letters included, as in "ＭＳ Ｐゴシック"), by fontconfig's case
// folding, the one it matches family names with.

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);
bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part);
bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix);
