#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Text inside the program is UTF-16 (std::u16string): every length and index counts
// UTF-16 units, as the settings file's and the window's rules do. These functions
// convert at the edges (files, streams, the command line, messages) and format
// numbers and messages.

// UTF-8 bytes as text, read as QString::fromUtf8 reads them: a byte order mark at the
// start is dropped, and a byte that does not start a complete, shortest, valid sequence
// becomes one U+FFFD and the bytes after it are read anew (an overlong, cut or
// surrogate sequence gives one U+FFFD a byte).
std::u16string Utf8ToText(std::string_view utf8);

// The text as UTF-8. A lone surrogate becomes "?", as QString::toUtf8 writes it.
std::string TextToUtf8(std::u16string_view text);

// Bytes 00..FF as the characters U+0000..U+00FF (ASCII literals, C library texts).
std::u16string Latin1ToText(std::string_view latin1);

// The decimal digits of value, with "-" for a negative one.
std::u16string IntText(std::int64_t value);

// The hexadecimal digits of value in upper case, at least width digits (zeros before).
std::u16string HexDigits(std::uint64_t value, int width = 1);

// The pattern with each "%1".."%9" replaced by the argument of that number, in one
// pass: an argument holding "%2" stays as it is. A marker without an argument, and
// every other "%", stay as they are.
std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> arguments);
