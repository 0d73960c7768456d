#pragma once

#include <string>
#include <string_view>

// The text's characters: a surrogate pair as one code point, a lone surrogate half as
// itself, so that each character a caller meets stands for the units it came from.
std::u32string CodePoints(std::u16string_view text);
