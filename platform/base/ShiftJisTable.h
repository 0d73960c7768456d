#pragma once

// The double-byte codes of code page 932, made from ICU's converter while the program
// is built (platform/base/tools/MakeShiftJisTable.cpp).

// The character of lead and trail byte, 0 when the pair is unassigned: the row of a lead
// byte 81..9F is lead - 0x81, of E0..FC lead - 0xE0 + 31; the column is trail - 0x40.
extern const char16_t ShiftJisCharacters[60][189];

// The double-byte code Windows writes for a character, 0 when it has none:
// ShiftJisCodes[ShiftJisCodePageOf[ch >> 8]][ch & 0xFF].
extern const unsigned char ShiftJisCodePageOf[256];
extern const unsigned short ShiftJisCodes[][256];
