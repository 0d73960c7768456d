#include "platform/raster/PngEncoder.h"

#include "platform/raster/Bitmap.h"
#include "platform/base/Exception.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

std::uint32_t PatternPixel(int x, int y)
{
    return 0xFF000000u | std::uint32_t(((x * 37 + y * 11) & 0xFF) << 16) | std::uint32_t(((x * 5 + y * 71) & 0xFF) << 8)
        | std::uint32_t((x * y + 3) & 0xFF);
}

// Qt's PNG reader, independent of the encoder.
QImage Decoded(const std::string& bytes)
{
    return QImage::fromData(QByteArray::fromStdString(bytes), "PNG");
}

void FillPattern(TBitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            row[x] = PatternPixel(x, y);
    }
}

} // namespace

TEST(PngEncoder, QtReaderSeesEveryPixelOpaque)
{
    for (const QSize size : {QSize(1, 1), QSize(47, 33), QSize(64, 2)}) {
        SCOPED_TRACE(size.width());
        TBitmap bitmap(size.width(), size.height());
        FillPattern(bitmap);
        const std::string bytes = EncodePng(bitmap);
        ASSERT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
        const QImage decoded = Decoded(bytes);
        ASSERT_EQ(decoded.size(), size);
        EXPECT_FALSE(decoded.hasAlphaChannel());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(decoded.pixel(x, y), PatternPixel(x, y)) << x << "," << y;
    }
}

TEST(PngEncoder, KeyColourBecomesTransparentOthersOpaque)
{
    TBitmap bitmap(5, 3);
    FillPattern(bitmap);
    const std::uint32_t key = 0xFF102030;
    bitmap.ScanLine(0)[0] = key;
    bitmap.ScanLine(2)[4] = key & 0x00FFFFFF; // the unused top byte does not matter
    bitmap.ScanLine(1)[2] = key ^ 1;          // one bit off is opaque
    const QImage decoded = Decoded(EncodePng(bitmap, {key, nullptr}));
    ASSERT_EQ(decoded.size(), QSize(5, 3));
    ASSERT_TRUE(decoded.hasAlphaChannel());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool keyed = (x == 0 && y == 0) || (x == 4 && y == 2);
            const QRgb pixel = decoded.pixel(x, y);
            ASSERT_EQ(qAlpha(pixel), keyed ? 0 : 255) << x << "," << y;
            if (!keyed) {
                ASSERT_EQ(pixel, bitmap.ScanLine(y)[x] | 0xFF000000u) << x << "," << y;
            }
        }
}

TEST(PngEncoder, KeySourceDecidesAlphaAndImageGivesColours)
{
    TBitmap image(4, 2), mask(4, 2);
    FillPattern(image);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            mask.ScanLine(y)[x] = (x + y) % 2 ? 0xFF808080 : 0xFF000000;
    const QImage decoded = Decoded(EncodePng(image, {0xFF808080, &mask}));
    ASSERT_EQ(decoded.size(), QSize(4, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const QRgb pixel = decoded.pixel(x, y);
            ASSERT_EQ(qAlpha(pixel), (x + y) % 2 ? 0 : 255);
            if (qAlpha(pixel)) {
                ASSERT_EQ(pixel, PatternPixel(x, y));
            }
        }
}

TEST(PngEncoder, EmptyBitmapOrMismatchedKeySourceIsRefused)
{
    EXPECT_THROW(EncodePng(TBitmap()), EImageSizeError);
    TBitmap image(4, 2), mask(3, 2);
    EXPECT_THROW(EncodePng(image, {0, &mask}), EImageSizeError);
}
