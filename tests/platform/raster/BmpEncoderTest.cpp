#include "platform/raster/Bitmap.h"
#include "platform/raster/BmpEncoder.h"

#include <QImage>
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

QRgb PixelColour(int x, int y)
{
    return qRgb((x * 37 + y * 11) & 0xFF, (x * 5 + y * 71) & 0xFF, (x * y + 3) & 0xFF);
}

// The bytes in lower-case hexadecimal.
std::string Hex(const std::string& bytes)
{
    static const char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) {
        hex += Digits[byte >> 4];
        hex += Digits[byte & 15];
    }
    return hex;
}

// Qt's BMP reader, independent of the encoder.
QImage Decoded(const std::string& bytes)
{
    return QImage::fromData(QByteArray::fromStdString(bytes), "BMP");
}

void Pattern(TBitmap& bitmap, int width, int height)
{
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = 0xFF000000u | PixelColour(x, y);
}

TEST(BmpEncoder, WritesHeaderAndBottomUpPaddedRows)
{
    TBitmap image(3, 2);
    image.ScanLine(0)[0] = 0xFF010203; image.ScanLine(0)[1] = 0xFF040506; image.ScanLine(0)[2] = 0xFF070809;
    image.ScanLine(1)[0] = 0xFFA1A2A3; image.ScanLine(1)[1] = 0xFFB1B2B3; image.ScanLine(1)[2] = 0xFFC1C2C3;
    const std::string expected =
        "424d" "4e000000" "0000" "0000" "36000000"   // file header, size 78, offset 54
        "28000000" "03000000" "02000000" "0100" "1800" "00000000" "18000000"
        "c40e0000" "c40e0000" "00000000" "00000000"  // 3780 pixels per metre
        "a3a2a1" "b3b2b1" "c3c2c1" "000000"          // bottom row first, B G R, padded to 12
        "030201" "060504" "090807" "000000";
    EXPECT_EQ(Hex(EncodeBmp24(image)), expected);
}

TEST(BmpEncoder, NullImageGivesHeaderOnlyFile)
{
    const std::string bytes = EncodeBmp24(TBitmap());
    ASSERT_EQ(bytes.size(), 54u);
    EXPECT_EQ(Hex(bytes.substr(2, 4)), "36000000");    // bfSize
    EXPECT_EQ(Hex(bytes.substr(18, 8)), "0000000000000000");  // width, height
    EXPECT_EQ(Hex(bytes.substr(34, 4)), "00000000");   // biSizeImage
}

class BmpEncoderRoundTrip : public testing::TestWithParam<QSize> {};

TEST_P(BmpEncoderRoundTrip, QtReaderSeesEveryPixel)
{
    TBitmap image;
    Pattern(image, GetParam().width(), GetParam().height());
    const std::string bytes = EncodeBmp24(image);
    const std::size_t stride = (std::size_t(image.Width()) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * std::size_t(image.Height()));

    const QImage decoded = Decoded(bytes);
    ASSERT_EQ(decoded.size(), GetParam());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(decoded.pixel(x, y), 0xFF000000u | PixelColour(x, y)) << x << "," << y;
}

// Rows of six pixels and more are packed four pixels at a time where the processor
// can, and their last pixels one by one: 6 to 10 cross each boundary of the two.
INSTANTIATE_TEST_SUITE_P(OddAndEvenSizes, BmpEncoderRoundTrip,
    testing::Values(QSize(1, 1), QSize(3, 5), QSize(4, 4), QSize(47, 33), QSize(2, 9), QSize(6, 2), QSize(7, 3),
                    QSize(8, 2), QSize(9, 2), QSize(10, 1)));

TEST(BmpEncoder, AKeptBufferGivesTheSameBytesAtEverySize)
{
    std::string kept;
    for (const QSize size : {QSize(47, 33), QSize(3, 5), QSize(13, 7)}) {
        TBitmap image;
        Pattern(image, size.width(), size.height());
        EncodeBmp24(image, kept);
        EXPECT_EQ(kept, EncodeBmp24(image));
    }
}

// One run, several runs with a short last one, rows each wider than a run, no pixels.
TEST(BmpEncoder, PiecesForASinkAreWholeRowsThatMakeTheSameFile)
{
    for (const QSize size : {QSize(47, 33), QSize(1001, 70), QSize(30000, 3), QSize(0, 0)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        TBitmap image;
        Pattern(image, size.width(), size.height());
        const std::size_t stride = (std::size_t(size.width()) * 3 + 3) / 4 * 4;
        std::vector<std::size_t> pieces;
        std::string joined;
        EncodeBmp24(image, [&](const char* data, std::size_t count) {
            pieces.push_back(count);
            joined.append(data, count);
        });
        EXPECT_EQ(joined, EncodeBmp24(image));
        ASSERT_FALSE(pieces.empty());
        pieces.front() -= 54; // the headers go out with the first rows
        const std::size_t mostRows = std::max<std::size_t>(1, BmpRunBytes / std::max<std::size_t>(stride, 1));
        for (const std::size_t piece : pieces) {
            if (stride > 0) {
                EXPECT_EQ(piece % stride, 0u) << piece;
            }
            EXPECT_LE(piece, mostRows * stride);
        }
        const std::size_t rows = std::size_t(size.height());
        EXPECT_EQ(pieces.size(), std::max<std::size_t>(1, (rows + mostRows - 1) / mostRows));
    }
}

} // namespace
