#include "platform/base/ShiftJis.h"

#include "platform/base/Exception.h"
#include "platform/base/UiLanguage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <vector>

// The mapping comes from Qt's "Shift_JIS" converter (ICU's Windows table), but it
// is read into tables once instead of being used directly, because the converter
// itself is unfit for exact work: it swaps the control codes 1A, 1C and 7F (an IBM
// habit Windows does not share), decodes bad bytes to U+001A, drops a lone
// surrogate without reporting it, and keeps hasError() set after resetState().
// The tables hold only the double-byte codes; ASCII and half-width katakana are
// fixed ranges and handled directly.

namespace {

constexpr char16_t ReplacementChar = 0xFFFD;
constexpr uchar LastKanaByte = 0xDF;

bool IsLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

class TShiftJisTables {
public:
    TShiftJisTables() : FFromCode(0x10000, 0), FToCode(0x10000, 0)
    {
        ReadDecoder();
        ReadEncoder();
        // A converter with the JIS mapping would give U+301C here; the files the
        // program shares with Windows need the Windows one.
        if (FFromCode[0x8160] != 0xFF5E || FFromCode[0x8740] != 0x2460)
            throw Exception(TrText("Shift_JIS の変換表が Windows のコードページ 932 と一致しません"));
    }

    // The character of a double-byte code, 0 when the code is unassigned.
    char16_t FromCode(quint16 code) const { return FFromCode[code]; }
    // The double-byte code of a character, 0 when it has none.
    quint16 ToCode(char16_t ch) const { return FToCode[ch]; }

private:
    std::vector<char16_t> FFromCode;
    std::vector<quint16> FToCode;

    void ReadDecoder()
    {
        QStringDecoder decoder("Shift_JIS");
        if (!decoder.isValid())
            throw Exception(TrText("Shift_JIS の変換器がありません"));
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsTrailByte(uchar(trail)))
                    continue;
                // A complete pair leaves the decoder without pending state, so one
                // decoder serves every call.
                const char pair[2] = {char(lead), char(trail)};
                const QString text = decoder.decode(QByteArrayView(pair, 2));
                if (text.size() == 1 && text[0].unicode() != ReplacementChar)
                    FFromCode[(lead << 8) | trail] = text[0].unicode();
            }
        }
    }

    // CP932 gives some characters two codes (NEC and IBM rows); the converter
    // knows which one Windows writes, so every decoded character is asked once.
    void ReadEncoder()
    {
        QStringEncoder encoder("Shift_JIS");
        for (int code = 0; code < 0x10000; ++code) {
            const char16_t ch = FFromCode[code];
            if (ch == 0 || FToCode[ch] != 0)
                continue;
            const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
            if (bytes.size() != 2)
                continue;
            const quint16 chosen = quint16((uchar(bytes[0]) << 8) | uchar(bytes[1]));
            if (FFromCode[chosen] == ch)
                FToCode[ch] = chosen;
        }
    }
};

const TShiftJisTables& Tables()
{
    static const TShiftJisTables tables;
    return tables;
}

} // namespace

std::optional<std::string> TryEncodeShiftJis(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t ch : text) {
        if (ch < 0x80) {
            bytes.push_back(char(ch));
        } else if (IsHalfWidthKana(ch)) {
            bytes.push_back(char(ch - FirstHalfWidthKana + FirstKanaByte));
        } else if (const quint16 code = Tables().ToCode(ch)) {
            bytes.push_back(char(code >> 8));
            bytes.push_back(char(code & 0xFF));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

std::u16string DecodeShiftJis(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size;) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            text.push_back(b);
            ++i;
        } else if (b >= FirstKanaByte && b <= LastKanaByte) {
            text.push_back(char16_t(b - FirstKanaByte + FirstHalfWidthKana));
            ++i;
        } else if (IsLeadByte(b) && i + 1 < size && IsTrailByte(uchar(bytes[i + 1]))) {
            // A well-formed but unassigned pair is one bad character, not two.
            const char16_t ch = Tables().FromCode(quint16((b << 8) | uchar(bytes[i + 1])));
            text.push_back(ch != 0 ? ch : ReplacementChar);
            i += 2;
        } else {
            // A stray byte, or a lead byte whose partner cannot follow it: the next
            // byte starts a character of its own.
            text.push_back(ReplacementChar);
            ++i;
        }
    }
    return text;
}

bool CanEncodeShiftJis(std::u16string_view text)
{
    return TryEncodeShiftJis(text).has_value();
}
