#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"
#include "platform/base/UnicodeText.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

// Text drawn on a canvas as the window's controls draw it (captions through DrawText,
// cell captions through TextOut), compared by the SHA-256 of the pixel rows.
namespace {

struct TTextGolden {
    const char* Name;
    int Height;
    TFontStyles Style;
    const char* Text;
    TRect Box;
    unsigned Flags;   // DrawText's flags, or ~0u for TextOut at the box's top left
    bool Opaque;      // a solid brush paints the cell
    const char* Sha256;
};

const TTextGolden Goldens[] = {
    {"ＭＳ Ｐゴシック", -12, 0, "Vezodev ロゴ", {4, 3, 120, 40}, DT_WORDBREAK | DT_EXPANDTABS, false, "5b36b906f2ae00525edda355155bef75c315fdc901c941ea52563bce1f32329e"},
    {"ＭＳ Ｐゴシック", -12, 0, "上から下へ&A", {2, 2, 40, 60}, DT_WORDBREAK | DT_EXPANDTABS, false, "666222708706b00af43bb32f1ee5a78fbc90f83ca259c1e1d3cb40a95ad0feaf"},
    {"ＭＳ Ｐゴシック", -12, fsBold, "a\tb\tc 長い行は折り返される", {0, 0, 70, 50}, DT_WORDBREAK | DT_EXPANDTABS, false, "a2934be6c01dce829156407d072ae6c8f4f4f24b4657ab4f84ec02f70a10aa9c"},
    {"Arial", -15, fsBold | fsUnderline, "Wrapped words &&more &text", {1, 1, 60, 30}, DT_WORDBREAK | DT_EXPANDTABS, true, "1fc1fa2761a1b52d2bb12b1a59a19cbccd1bdcb3bfc5d9c73a73fc911292b8ec"},
    {"Times New Roman", -20, fsItalic | fsStrikeOut, "clipped at the edge", {5, 5, 50, 18}, DT_WORDBREAK | DT_EXPANDTABS, false, "c93f91b3512bf36ed744323fe550292ec36845f9e083c032c067962b69f9ffe5"},
    {"Times New Roman", 24, fsItalic, "No clip\r\nCR LF", {10, 0, 30, 10}, DT_NOCLIP | DT_WORDBREAK, false, "a78e42e51cb81616eebc0cee174ef3bde5ba86676c95dd53a08c9f7fa9498dca"},
    {"Symbol", -13, 0, "ﾜﾝﾞﾟ ab", {0, 0, 90, 20}, DT_WORDBREAK | DT_EXPANDTABS, false, "e9af62786329803c6aa367a991ae6c09ea0862c6861ca4f148d056cdea58fe93"},
    {"ＭＳ Ｐゴシック", -12, 0, "A", {9, 4, 0, 0}, ~0u, true, "e836bee8ae00de221170094e7c2d9a354209c7b0368fef172c0ec64302363630"},
    {"ＭＳ Ｐゴシック", -16, fsBold, "下", {-3, -2, 0, 0}, ~0u, false, "67a6584f037ec838c6f5c86ec29a9ae13697a36be6cfedfd63b23938209fbc98"},
    {"Arial", -9, fsItalic | fsUnderline, "tiny ი", {2, 1, 0, 0}, ~0u, true, "6eaa0affd59f377d71281de2bccbd18f649bfacb95e60aa32ca6bb187ba16cea"},
};

QByteArray PixelHash(const TBitmap& bitmap)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < bitmap.Height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(bitmap.ScanLine(y)), bitmap.Width() * 4));
    return hash.result().toHex();
}

} // namespace

TEST(TextGoldenTest, CaptionsAndCellTextKeepTheirPixels)
{
    for (const TTextGolden& golden : Goldens) {
        SCOPED_TRACE(golden.Text);
        TBitmap bitmap(96, 48);
        TCanvas& canvas = bitmap.Canvas();
        canvas.Brush().SetColor(0x00C0C0C0);
        canvas.FillRect(Rect(0, 0, 96, 48));
        canvas.Font().SetName(Utf8ToText(golden.Name));
        canvas.Font().SetHeight(golden.Height);
        canvas.Font().SetStyle(golden.Style);
        canvas.Font().SetColor(0x00800000);
        if (golden.Opaque)
            canvas.Brush().SetColor(0x0000FFFF);
        else
            canvas.Brush().SetStyle(bsClear);
        const std::u16string text = Utf8ToText(golden.Text);
        if (golden.Flags == ~0u)
            canvas.TextOut(golden.Box.Left, golden.Box.Top, text);
        else
            canvas.DrawText(text, golden.Box, golden.Flags);
        EXPECT_EQ(PixelHash(bitmap).toStdString(), golden.Sha256);
    }
}
