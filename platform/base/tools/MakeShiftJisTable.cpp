// Writes the double-byte half of code page 932 as C++ tables, read from ICU's
// "Shift_JIS" converter exactly as Qt's converter of that name reads it (the same
// name, the substituting callbacks, no fallbacks, one converter for each direction
// used again call after call without a flush), so the program converts without ICU
// at run time and gives the bytes it gave when it asked Qt.
//
// Usage: MakeShiftJisTable OUTPUT.cpp

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/uclean.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int LeadCount = 60;   // 81..9F and E0..FC
constexpr int FirstTrail = 0x40;
constexpr int TrailCount = 189; // 40..FC, 7F included so that an index is a subtraction

bool IsLeadByte(int b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(int b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "MakeShiftJisTable: %s\n", what);
    std::exit(1);
}

UConverter* OpenConverter()
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("Shift_JIS", &status);
    if (status != U_ZERO_ERROR && status != U_AMBIGUOUS_ALIAS_WARNING)
        Fail("ICU has no Shift_JIS converter");
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status))
        Fail("the converter takes no substituting callbacks");
    return converter;
}

// The character of every well-formed pair, 0 where the converter gives anything but
// one character other than U+FFFD.
std::vector<char16_t> ReadDecoder()
{
    std::vector<char16_t> fromCode(0x10000, 0);
    UConverter* decoder = OpenConverter();
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsTrailByte(trail))
                continue;
            const char pair[2] = {char(lead), char(trail)};
            const char* source = pair;
            UChar text[4];
            UChar* target = text;
            UErrorCode status = U_ZERO_ERROR;
            ucnv_toUnicode(decoder, &target, text + 4, &source, pair + 2, nullptr, false, &status);
            if (U_FAILURE(status))
                Fail("the decoder failed");
            if (target - text == 1 && text[0] != 0xFFFD)
                fromCode[(lead << 8) | trail] = text[0];
        }
    }
    ucnv_close(decoder);
    return fromCode;
}

// CP932 gives some characters two codes (NEC and IBM rows); the converter knows which
// one Windows writes, so every decoded character is asked once. A code the converter
// writes that does not decode to the character again is not taken.
std::vector<unsigned short> ReadEncoder(const std::vector<char16_t>& fromCode)
{
    std::vector<unsigned short> toCode(0x10000, 0);
    UConverter* encoder = OpenConverter();
    const int maxBytes = UCNV_GET_MAX_BYTES_FOR_STRING(1, ucnv_getMaxCharSize(encoder));
    std::vector<char> bytes(std::size_t(maxBytes) + 1);
    for (int code = 0; code < 0x10000; ++code) {
        const char16_t ch = fromCode[code];
        if (ch == 0 || toCode[ch] != 0)
            continue;
        const UChar* source = &ch;
        char* target = bytes.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_fromUnicode(encoder, &target, bytes.data() + maxBytes, &source, &ch + 1, nullptr, false, &status);
        if (U_FAILURE(status))
            Fail("the encoder failed");
        if (target - bytes.data() != 2)
            continue;
        const unsigned short chosen = (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
        if (fromCode[chosen] == ch)
            toCode[ch] = chosen;
    }
    ucnv_close(encoder);
    return toCode;
}

void Write(std::FILE* out, const std::vector<char16_t>& fromCode, const std::vector<unsigned short>& toCode)
{
    std::fprintf(out, "// Made by MakeShiftJisTable from ICU's Shift_JIS converter while the program is built.\n"
                      "#include \"platform/base/ShiftJisTable.h\"\n\n"
                      "const char16_t ShiftJisCharacters[%d][%d] = {\n", LeadCount, TrailCount);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(lead))
            continue;
        std::fprintf(out, "    { // %02X\n       ", lead);
        for (int trail = FirstTrail; trail < FirstTrail + TrailCount; ++trail)
            std::fprintf(out, " 0x%04X,%s", unsigned(fromCode[(lead << 8) | trail]),
                         (trail - FirstTrail) % 12 == 11 ? "\n       " : "");
        std::fprintf(out, "\n    },\n");
    }
    std::fprintf(out, "};\n\n");

    // The encode table is one page of 256 codes for each high byte of a character
    // that has any; the other high bytes share the empty page 0.
    std::vector<int> pageOf(256, 0);
    int pages = 1;
    for (int high = 0; high < 256; ++high) {
        for (int low = 0; low < 256; ++low) {
            if (toCode[(high << 8) | low] != 0) {
                pageOf[high] = pages++;
                break;
            }
        }
    }
    std::fprintf(out, "const unsigned char ShiftJisCodePageOf[256] = {\n   ");
    for (int high = 0; high < 256; ++high)
        std::fprintf(out, " %d,%s", pageOf[high], high % 16 == 15 ? "\n   " : "");
    std::fprintf(out, "\n};\n\nconst unsigned short ShiftJisCodes[%d][256] = {\n    {},\n", pages);
    for (int high = 0; high < 256; ++high) {
        if (pageOf[high] == 0)
            continue;
        std::fprintf(out, "    { // %02Xxx\n       ", high);
        for (int low = 0; low < 256; ++low)
            std::fprintf(out, " 0x%04X,%s", unsigned(toCode[(high << 8) | low]), low % 12 == 11 ? "\n       " : "");
        std::fprintf(out, "\n    },\n");
    }
    std::fprintf(out, "};\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        Fail("usage: MakeShiftJisTable OUTPUT.cpp");
    const std::vector<char16_t> fromCode = ReadDecoder();
    const std::vector<unsigned short> toCode = ReadEncoder(fromCode);
    u_cleanup();
    // A converter with the JIS mapping would give U+301C here; the files the program
    // shares with Windows need the Windows one.
    if (fromCode[0x8160] != 0xFF5E || fromCode[0x8740] != 0x2460)
        Fail("ICU's Shift_JIS table is not the one of Windows code page 932");
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr)
        Fail("cannot write the output file");
    Write(out, fromCode, toCode);
    if (std::fclose(out) != 0)
        Fail("cannot write the output file");
    return 0;
}
