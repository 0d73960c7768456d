#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"

#include <random>
#include <gtest/gtest.h>

namespace {

// How many pixels of the bitmap have the colour.
int Count(const TBitmap& bitmap, TColor colour)
{
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Pixel(x, y) == colour;
    return count;
}

void Clear(TBitmap& bitmap, TColor colour)
{
    bitmap.Canvas().Brush().SetColor(colour);
    bitmap.Canvas().FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

// The bitmap cleared to the colour, its canvas writing in the font given.
TCanvas& TextCanvas(TBitmap& bitmap, TColor colour, std::u16string_view fontName, int fontHeight, TFontStyles style = {})
{
    Clear(bitmap, colour);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font().SetName(fontName);
    canvas.Font().SetHeight(fontHeight);
    canvas.Font().SetStyle(style);
    return canvas;
}

TEST(CanvasTest, FillRectCoversRightAndBottomExclusiveAndClipsToTheSurface)
{
    TBitmap bitmap(10, 8);
    Clear(bitmap, clWhite);
    bitmap.Canvas().Brush().SetColor(0x0000FF);
    bitmap.Canvas().FillRect(Rect(2, 3, 5, 4));
    EXPECT_EQ(Count(bitmap, 0x0000FF), 3);
    EXPECT_EQ(bitmap.Pixel(4, 3), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(5, 3), clWhite);
    bitmap.Canvas().FillRect(Rect(-100, -100, 1000, 1000));
    EXPECT_EQ(Count(bitmap, 0x0000FF), 80);
    bitmap.Canvas().Brush().SetColor(0x00FF00);
    bitmap.Canvas().FillRect(Rect(5, 5, 5, 9)); // empty
    bitmap.Canvas().FillRect(Rect(7, 2, 3, 6)); // reversed
    EXPECT_EQ(Count(bitmap, 0x00FF00), 0);
}

TEST(CanvasTest, SystemColoursResolveWhenDrawnAndAClearBrushFillsNothing)
{
    TBitmap bitmap(4, 4);
    Clear(bitmap, clBtnFace);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0xC0C0C0u);
    bitmap.Canvas().Brush().SetStyle(bsClear);
    EXPECT_EQ(bitmap.Canvas().Brush().Color(), clWhite);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(bitmap.Pixel(1, 1), 0xC0C0C0u);
}

// A canvas draws system colours from the classic table unless it is set to the display
// one, whatever the display table holds: a new bitmap, as every logo's, stays classic.
TEST(CanvasTest, SystemColoursComeFromTheCanvassTableAndNewCanvasesAreClassic)
{
    TSystemColorValues dark = ClassicSystemColors();
    dark[clBtnFace - clSystemColor] = 0x00262320;
    dark[clWindowText - clSystemColor] = 0x00FCFCFC;
    SetDisplaySystemColors(dark);
    struct Case { TSystemColorTable Table; TColor Face; TColor Text; };
    const Case cases[] = {{ctClassic, 0xC0C0C0, 0x000000}, {ctDisplay, 0x262320, 0xFCFCFC}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Table);
        TBitmap bitmap(6, 4);
        EXPECT_EQ(bitmap.Canvas().SystemColors(), ctClassic);
        bitmap.Canvas().SetSystemColors(c.Table);
        Clear(bitmap, clBtnFace);
        bitmap.Canvas().Pen().Color = clWindowText;
        bitmap.Canvas().Polyline({{0, 0}, {6, 0}});
        EXPECT_EQ(bitmap.Pixel(0, 0), c.Text);
        EXPECT_EQ(bitmap.Pixel(2, 2), c.Face);
        EXPECT_EQ(ColorToRGB(0x00123456, c.Table), 0x00123456u) << "a plain colour is kept";
    }
    SetDisplaySystemColors(ClassicSystemColors());
    EXPECT_EQ(GetSysColor(clBtnFace - clSystemColor, ctDisplay), 0xC0C0C0u);
}

TEST(CanvasTest, RectangleOutlinesTheOuterPixelsAndFillsTheInside)
{
    TBitmap bitmap(8, 8);
    Clear(bitmap, clWhite);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().Color = 0x000000;
    canvas.Brush().SetColor(0x00FF00);
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Count(bitmap, 0x000000), 2 * 5 + 2 * 2);
    EXPECT_EQ(Count(bitmap, 0x00FF00), 3 * 2);
    EXPECT_EQ(bitmap.Pixel(5, 4), 0x000000u);
    EXPECT_EQ(bitmap.Pixel(6, 4), clWhite);
    canvas.Brush().SetStyle(bsClear);
    Clear(bitmap, clWhite);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(0, 0, 8, 8);
    EXPECT_EQ(bitmap.Pixel(3, 3), clWhite);
    EXPECT_EQ(Count(bitmap, 0x000000), 28);
}

TEST(CanvasTest, PolylineLeavesOutItsLastPoint)
{
    TBitmap bitmap(10, 10);
    Clear(bitmap, clWhite);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen().Color = 0x0000FF;
    canvas.Polyline({{8, 1}, {1, 1}, {1, 8}});
    EXPECT_EQ(bitmap.Pixel(8, 1), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(1, 7), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(1, 8), clWhite);
    EXPECT_EQ(Count(bitmap, 0x0000FF), 7 + 7);
    Clear(bitmap, clWhite);
    canvas.Polyline({{0, 0}, {4, 4}});
    EXPECT_EQ(Count(bitmap, 0x0000FF), 4);
    EXPECT_EQ(bitmap.Pixel(3, 3), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(4, 4), clWhite);
}

// Each copy mode against a per-pixel reference on random pixels.
TEST(CanvasTest, CopyRectAppliesEachRasterOperationPerByte)
{
    struct TCase {
        TCopyMode Mode;
        TColor (*Reference)(TColor source, TColor dest);
    };
    const TCase cases[] = {
        {cmSrcCopy, [](TColor s, TColor) { return s; }},
        {cmSrcErase, [](TColor s, TColor d) { return s & ~d & 0xFFFFFFu; }},
        {cmSrcPaint, [](TColor s, TColor d) { return s | d; }},
        {cmSrcInvert, [](TColor s, TColor d) { return s ^ d; }},
        {cmSrcAnd, [](TColor s, TColor d) { return s & d; }},
        {cmNotSrcCopy, [](TColor s, TColor) { return ~s & 0xFFFFFFu; }},
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    TBitmap source(13, 9), dest(13, 9), original(13, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) {
            source.ScanLine(y)[x] = 0xFF000000u | colour(random);
            original.ScanLine(y)[x] = 0xFF000000u | colour(random);
        }
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.Mode));
        dest.Canvas().SetCopyMode(cmSrcCopy);
        dest.Canvas().CopyRect(Rect(0, 0, 13, 9), original.Canvas(), Rect(0, 0, 13, 9));
        dest.Canvas().SetCopyMode(c.Mode);
        dest.Canvas().CopyRect(Rect(0, 0, 13, 9), source.Canvas(), Rect(0, 0, 13, 9));
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 13; ++x) {
                ASSERT_EQ(dest.Pixel(x, y), c.Reference(source.Pixel(x, y), original.Pixel(x, y))) << x << "," << y;
                ASSERT_EQ(dest.ScanLine(y)[x] >> 24, 0xFFu) << "the unused byte stays set";
            }
    }
}

TEST(CanvasTest, CopyRectClipsBothRectanglesTogether)
{
    TBitmap source(4, 4), dest(4, 4);
    Clear(source, 0x0000FF);
    Clear(dest, clWhite);
    dest.Canvas().CopyRect(Rect(2, 2, 6, 6), source.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(Count(dest, 0x0000FF), 4);
    Clear(dest, clWhite);
    dest.Canvas().CopyRect(Rect(0, 0, 4, 4), source.Canvas(), Rect(-1, -1, 3, 3));
    EXPECT_EQ(Count(dest, 0x0000FF), 9);
    EXPECT_EQ(dest.Pixel(0, 0), clWhite);
}

TEST(CanvasTest, TextOutFillsTheCellUnderASolidBrushOnly)
{
    TBitmap bitmap(200, 60);
    TCanvas& canvas = TextCanvas(bitmap, clWhite, u"Times New Roman", -29, fsBold);
    canvas.Font().SetColor(0x000000);
    canvas.Brush().SetColor(0x00FF00);
    canvas.TextOut(5, 7, u"Vezodev");
    const TSize extent = canvas.TextExtent(u"Vezodev");
    EXPECT_EQ(extent, (TSize{106, 32}));
    const int cell = extent.Width * extent.Height;
    EXPECT_EQ(Count(bitmap, 0x00FF00) + Count(bitmap, 0x000000), cell);
    EXPECT_GT(Count(bitmap, 0x000000), 100);
    EXPECT_EQ(bitmap.Pixel(4, 7), clWhite);
    EXPECT_EQ(bitmap.Pixel(5, 7), 0x00FF00u);
    EXPECT_EQ(bitmap.Pixel(5 + 105, 7 + 31), 0x00FF00u);
    EXPECT_EQ(bitmap.Pixel(5 + 106, 7), clWhite);

    Clear(bitmap, clWhite);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(5, 7, u"Vezodev");
    EXPECT_EQ(Count(bitmap, 0x00FF00), 0);
    EXPECT_GT(Count(bitmap, 0x000000), 100);
    EXPECT_EQ(Count(bitmap, 0x000000) + Count(bitmap, clWhite), 200 * 60) << "no grey edge pixels";
}

TEST(CanvasTest, UnderlineAndStrikeOutAddBarsAcrossTheAdvance)
{
    TBitmap plain(120, 40), styled(120, 40);
    TextCanvas(plain, clWhite, u"Arial", -20).Brush().SetStyle(bsClear);
    TextCanvas(styled, clWhite, u"Arial", -20, fsUnderline | fsStrikeOut).Brush().SetStyle(bsClear);
    plain.Canvas().TextOut(0, 0, u"a b");
    styled.Canvas().TextOut(0, 0, u"a b");
    const int width = plain.Canvas().TextWidth(u"a b");
    // The blank between the letters is inked only by the bars.
    const int blank = plain.Canvas().TextWidth(u"a") + 1;
    int inkedRows = 0;
    for (int y = 0; y < 40; ++y)
        inkedRows += styled.Pixel(blank, y) == 0x000000u;
    EXPECT_GE(inkedRows, 2);
    EXPECT_EQ(styled.Pixel(width, 0), clWhite);
    EXPECT_GT(Count(styled, 0x000000), Count(plain, 0x000000));
}

// As SetTextCharacterExtra: the extra follows every character's advance, the last one's
// too, widens the cell and the underline, and is taken away again by 0.
TEST(CanvasTest, CharacterExtraFollowsEveryAdvanceInWidthCellAndUnderline)
{
    TBitmap bitmap(200, 40);
    TCanvas& canvas = TextCanvas(bitmap, clWhite, u"Arial", -20, fsUnderline);
    const int plain = canvas.TextWidth(u"abc");
    for (int extra : {5, -2}) {
        SCOPED_TRACE(extra);
        canvas.SetTextCharacterExtra(extra);
        EXPECT_EQ(canvas.TextWidth(u"abc"), plain + 3 * extra);
        EXPECT_EQ(canvas.TextExtent(u"abc").Width, plain + 3 * extra);
    }
    canvas.SetTextCharacterExtra(10);
    canvas.Brush().SetColor(0x00FF00);
    canvas.TextOut(0, 0, u"abc");
    EXPECT_EQ(bitmap.Pixel(plain + 29, 0), 0x00FF00u) << "the cell takes the extra";
    EXPECT_EQ(bitmap.Pixel(plain + 30, 0), clWhite);
    int underlined = 0;
    for (int y = 0; y < 40; ++y)
        underlined += bitmap.Pixel(plain + 29, y) == 0x000000u;
    EXPECT_GE(underlined, 1) << "the underline runs under the extra";
    canvas.SetTextCharacterExtra(0);
    EXPECT_EQ(canvas.TextWidth(u"abc"), plain);
}

TEST(CanvasTest, DrawTextWrapsAtBlanksAndKeepsTheBackgroundUnderAClearBrush)
{
    TBitmap bitmap(100, 100);
    TCanvas& canvas = TextCanvas(bitmap, 0x00FFFF, u"Arial", -12);
    canvas.Brush().SetStyle(bsClear);
    const int height = canvas.DrawText(u"one two three four five six", Rect(0, 0, 40, 100), DT_WORDBREAK | DT_EXPANDTABS);
    EXPECT_GE(height / canvas.TextHeight(u"x"), 3);
    EXPECT_EQ(Count(bitmap, 0x00FFFF) + Count(bitmap, 0x000000), 100 * 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 40; x < 100; ++x)
            ASSERT_EQ(bitmap.Pixel(x, y), 0x00FFFFu) << "clipped to the rectangle";
}

} // namespace
