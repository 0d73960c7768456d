#include "platform/BmpEncoder.h"

#include <gtest/gtest.h>

namespace {

QRgb PixelColour(int x, int y)
{
    return qRgb((x * 37 + y * 11) & 0xFF, (x * 5 + y * 71) & 0xFF, (x * y + 3) & 0xFF);
}

QImage PatternImage(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, PixelColour(x, y));
    return image.convertToFormat(format);
}

TEST(BmpEncoder, WritesHeaderAndBottomUpPaddedRows)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0x010203); image.setPixel(1, 0, 0x040506); image.setPixel(2, 0, 0x070809);
    image.setPixel(0, 1, 0xA1A2A3); image.setPixel(1, 1, 0xB1B2B3); image.setPixel(2, 1, 0xC1C2C3);
    const QByteArray expected = QByteArray::fromHex(
        "424d" "4e000000" "0000" "0000" "36000000"   // file header, size 78, offset 54
        "28000000" "03000000" "02000000" "0100" "1800" "00000000" "18000000"
        "c40e0000" "c40e0000" "00000000" "00000000"  // 3780 pixels per metre
        "a3a2a1" "b3b2b1" "c3c2c1" "000000"          // bottom row first, B G R, padded to 12
        "030201" "060504" "090807" "000000");
    EXPECT_EQ(EncodeBmp24(image).toHex(), expected.toHex());
}

TEST(BmpEncoder, NullImageGivesHeaderOnlyFile)
{
    const QByteArray bytes = EncodeBmp24(QImage());
    ASSERT_EQ(bytes.size(), 54);
    EXPECT_EQ(bytes.mid(2, 4).toHex(), "36000000");    // bfSize
    EXPECT_EQ(bytes.mid(18, 8).toHex(), "0000000000000000");  // width, height
    EXPECT_EQ(bytes.mid(34, 4).toHex(), "00000000");   // biSizeImage
}

class BmpEncoderRoundTrip : public testing::TestWithParam<QSize> {};

TEST_P(BmpEncoderRoundTrip, QtReaderSeesEveryPixel)
{
    const QImage image = PatternImage(GetParam().width(), GetParam().height());
    const QByteArray bytes = EncodeBmp24(image);
    const qsizetype stride = (image.width() * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + stride * image.height());

    const QImage decoded = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(decoded.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(decoded.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(OddAndEvenSizes, BmpEncoderRoundTrip,
    testing::Values(QSize(1, 1), QSize(3, 5), QSize(4, 4), QSize(47, 33), QSize(2, 9)));

TEST(BmpEncoder, ConvertsOtherFormatsToTheSameBytes)
{
    const QByteArray reference = EncodeBmp24(PatternImage(13, 7));
    for (const auto format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                              QImage::Format_RGB888, QImage::Format_RGBX8888}) {
        SCOPED_TRACE(int(format));
        EXPECT_EQ(EncodeBmp24(PatternImage(13, 7, format)), reference);
    }
}

} // namespace
