#include "platform/raster/Bitmap.h"
#include "platform/raster/CodePoints.h"
#include "platform/raster/FontFace.h"
#include "platform/base/UnicodeText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// Lays out and draws any text, shaped or not, in faces with and without the scripts it
// holds, and checks what the logo's size relies on:
// - the width measured is the width DrawLine reports, and it is never negative;
// - the characters reported missing are each reported once and are in the text;
// - drawing stays inside the surface (AddressSanitizer watches), whatever the marks,
//   controls and embeddings of the text.

namespace {

TFont Font(const char* name, int height, TFontStyles style)
{
    TFont font;
    font.SetName(Utf8ToText(name));
    font.SetHeight(height);
    font.SetStyle(style);
    return font;
}

const TFont& FontOf(std::uint8_t selector)
{
    static const TFont fonts[] = {
        Font("DejaVu Sans", -20, 0),
        Font("Times New Roman", -13, fsBold | fsUnderline),
        Font("ＭＳ Ｐゴシック", -12, fsItalic | fsStrikeOut),
        Font("Symbol", -16, 0),
    };
    return fonts[(selector >> 1) % std::size(fonts)];
}

} // namespace

// fontconfig keeps a little memory it allocates when it first reads its configuration
// until the process ends; it is read here, before the inputs, so that it is not taken
// for a leak of one.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    for (std::uint8_t selector = 0; selector < 8; selector += 2)
        TFontFace::For(FontOf(selector))->MissingCharacters(u"a\U0010FFFD");
    return 0;
}

// The first byte picks the face and style; the rest is the text in UTF-8 (bytes that are
// not UTF-8 become U+FFFD) or, when the first byte is odd, UTF-16.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 512)
        return 0;
    const TFont& font = FontOf(data[0]);
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    std::u16string text;
    if (data[0] & 1) {
        text.resize(length / 2);
        std::memcpy(text.data(), bytes, text.size() * sizeof(char16_t));
    } else {
        text = Utf8ToText(std::string_view(bytes, length));
    }
    const auto face = TFontFace::For(font);
    const int width = face->TextWidth(text);
    if (width < 0)
        std::abort();
    TBitmap surface(64, 24);
    const int drawn = face->DrawLine(surface, Rect(0, 0, 64, 24), -7, 3, text, 0xFF000000u);
    if (drawn != width)
        std::abort();
    const std::vector<char32_t> missing = face->MissingCharacters(text);
    // A lone surrogate half stands for itself: it is never missing.
    const std::u32string codes = CodePoints(text);
    for (std::size_t i = 0; i < missing.size(); ++i) {
        if (std::count(missing.begin(), missing.end(), missing[i]) != 1
            || codes.find(missing[i]) == std::u32string::npos)
            std::abort();
    }
    return 0;
}
