#include "platform/raster/PngEncoder.h"

#include "platform/raster/Bitmap.h"
#include "platform/base/Exception.h"
#include "platform/raster/ScreenResolution.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

#include <png.h>
#include <csetjmp>
#include <vector>

namespace {

struct TPngWriteState {
    std::string* Bytes = nullptr;
    std::string Error; // libpng's message, in UTF-8
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<TPngWriteState*>(png_get_io_ptr(png));
    state->Bytes->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

// libpng reports a fatal error by calling this, which must not return; the longjmp
// lands in Encode's setjmp.
[[noreturn]] void StopWithError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<TPngWriteState*>(png_get_error_ptr(png));
    state->Error = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Releases libpng's write and info structures on every way out of Encode.
class TPngWriter {
public:
    explicit TPngWriter(TPngWriteState& state)
    {
        FPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, StopWithError, IgnoreWarning);
        if (FPng)
            FInfo = png_create_info_struct(FPng);
    }
    ~TPngWriter() { png_destroy_write_struct(FPng ? &FPng : nullptr, FInfo ? &FInfo : nullptr); }
    TPngWriter(const TPngWriter&) = delete;
    TPngWriter& operator=(const TPngWriter&) = delete;

    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

// One row of 0xFFRRGGBB pixels as R, G, B (and A when a key is given).
void PackRow(const std::uint32_t* pixels, const std::uint32_t* keys, std::uint32_t keyPixel,
             int width, png_byte* row)
{
    if (!keys) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[x];
            row[0] = png_byte(pixel >> 16);
            row[1] = png_byte(pixel >> 8);
            row[2] = png_byte(pixel);
            row += 3;
        }
        return;
    }
    // The unused top byte of a surface pixel takes no part in the comparison.
    const std::uint32_t key = keyPixel & 0x00FFFFFFu;
    for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = pixels[x];
        row[0] = png_byte(pixel >> 16);
        row[1] = png_byte(pixel >> 8);
        row[2] = png_byte(pixel);
        row[3] = (keys[x] & 0x00FFFFFFu) == key ? 0 : 255;
        row += 4;
    }
}

std::string Encode(const TBitmap& bitmap, const TPngTransparency* transparency)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    if (width <= 0 || height <= 0)
        throw EImageSizeError(TrText("空の画像は PNG ファイルにできません"));
    const TBitmap* keySource = transparency ? (transparency->KeySource ? transparency->KeySource : &bitmap) : nullptr;
    if (keySource && (keySource->Width() != width || keySource->Height() != height))
        throw EImageSizeError(TrText("透明にする画素の画像の大きさが違います"));

    std::string bytes;
    TPngWriteState state;
    state.Bytes = &bytes;
    TPngWriter writer(state);
    if (!writer.Png() || !writer.Info())
        throw Exception(TrText("PNG ファイルを作れません (メモリ不足)"));
    const int channels = keySource ? 4 : 3;
    std::vector<png_byte> row(std::size_t(width) * channels);
    png_structp png = writer.Png();
    if (setjmp(png_jmpbuf(png)))
        throw Exception(Format(TrText("PNG ファイルを作れません (%1)"), {Utf8ToText(state.Error)}));

    png_set_write_fn(png, &state, AppendBytes, FlushNothing);
    png_set_IHDR(png, writer.Info(), png_uint_32(width), png_uint_32(height), 8,
                 keySource ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 96 dpi, as the BMP files say.
    png_set_pHYs(png, writer.Info(), PixelsPerMetre, PixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, writer.Info());
    for (int y = 0; y < height; ++y) {
        PackRow(bitmap.ScanLine(y), keySource ? keySource->ScanLine(y) : nullptr,
                transparency ? transparency->KeyPixel : 0, width, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return bytes;
}

} // namespace

std::string EncodePng(const TBitmap& bitmap)
{
    return Encode(bitmap, nullptr);
}

std::string EncodePng(const TBitmap& bitmap, const TPngTransparency& transparency)
{
    return Encode(bitmap, &transparency);
}
