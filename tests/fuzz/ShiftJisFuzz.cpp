#include "platform/base/ShiftJis.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// Checks that code page 932 conversion loses nothing it claims to keep:
// - any bytes decode, character by character as CP932 cuts them; every decoded
//   character other than U+FFFD (the mark of a byte that is not a character) came from
//   a code, so it encodes again, and the bytes written decode to the same text;
// - any UTF-16 text that TryEncodeShiftJis accepts decodes back to itself, and the
//   text is accepted exactly when each of its characters is.

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;

bool IsLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(uchar b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The text of bytes cut into characters by the rules of CP932 alone: ASCII and
// half-width katakana take one byte, a lead byte followed by a trail byte two, and any
// other byte is one U+FFFD. A pair is decoded on its own, so this also checks that
// decoding a character does not depend on the bytes around it.
QString DecodeByCharacters(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            text += QChar(b);
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            text += QChar(char16_t(0xFF61 + (b - 0xA1)));
            ++i;
        } else if (IsLeadByte(b) && i + 1 < bytes.size() && IsTrailByte(uchar(bytes[i + 1]))) {
            const QString pair = DecodeShiftJis(bytes.mid(i, 2));
            if (pair.size() != 1)
                std::abort();
            text += pair;
            i += 2;
        } else {
            text += QChar(ReplacementChar);
            ++i;
        }
    }
    return text;
}

void CheckDecoding(const QByteArray& bytes)
{
    const QString decoded = DecodeShiftJis(bytes);
    if (decoded != DecodeByCharacters(bytes))
        std::abort();
    QString characters = decoded;
    characters.remove(QChar(ReplacementChar));
    const auto encoded = TryEncodeShiftJis(characters);
    // The bytes written may differ from those read where CP932 has two codes for one
    // character (NEC and IBM rows); the text may not.
    if (!encoded || DecodeShiftJis(*encoded) != characters)
        std::abort();
}

void CheckEncoding(const QString& text)
{
    const auto encoded = TryEncodeShiftJis(text);
    if (CanEncodeShiftJis(text) != encoded.has_value())
        std::abort();
    bool eachEncodes = true;
    qsizetype expectedSize = 0;
    for (const QChar ch : text) {
        const auto one = TryEncodeShiftJis(QString(ch));
        if (!one) {
            eachEncodes = false;
            continue;
        }
        const char16_t c = ch.unicode();
        const bool singleByte = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        if (one->size() != (singleByte ? 1 : 2))
            std::abort();
        expectedSize += one->size();
    }
    if (encoded.has_value() != eachEncodes)
        std::abort();
    if (encoded && (encoded->size() != expectedSize || DecodeShiftJis(*encoded) != text))
        std::abort();
}

} // namespace

// The input is used whole as CP932 bytes, and again as UTF-16 code units.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckDecoding(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    CheckEncoding(QString::fromUtf16(units.data(), qsizetype(units.size())));
    return 0;
}
