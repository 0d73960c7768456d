#include "tools/RenderPng.h"

#include "platform/Bitmap.h"
#include "platform/Exception.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void Flush(png_structp) {}

} // namespace

QByteArray EncodeRenderPng(const TBitmap& bitmap)
{
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw Exception(QStringLiteral("the PNG encoder failed"));
    }
    // Rows are handed to libpng as they are: B, G, R, X in memory, which libpng is told
    // to read as BGR with a filler byte.
    std::vector<png_bytep> rows(std::size_t(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        rows[std::size_t(y)] = reinterpret_cast<png_bytep>(const_cast<std::uint32_t*>(bitmap.ScanLine(y)));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw Exception(QStringLiteral("the PNG encoder failed"));
    }
    png_set_write_fn(png, &bytes, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(bitmap.Width()), png_uint_32(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}
