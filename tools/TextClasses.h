#pragma once

#include <string_view>

// What the renderer asks of a character of its command line and batch lines, answered
// from HarfBuzz's tables of general categories, per UTF-16 unit (a surrogate is
// neither).

// A space: a separator (Zs, Zl, Zp), tab, line feed, vertical tab, form feed, carriage
// return or next line (U+0085).
bool IsSpaceUnit(char16_t unit);
// A letter: general category Lu, Ll, Lt, Lm or Lo.
bool IsLetterUnit(char16_t unit);
// The text without the spaces at its start and end.
std::u16string_view Trimmed(std::u16string_view text);
