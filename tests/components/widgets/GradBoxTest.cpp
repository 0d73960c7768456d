#include "components/widgets/GradBox.h"

#include "platform/raster/Bitmap.h"

#include <QImage>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TColorTable TableFor(TColor top, TColor last, TGradStyle style = gsTopBottom)
{
    TColorTable table{};
    TGradBox::MakeColorTable(top, last, style, table);
    return table;
}

int Green(TColor color) { return (color >> 8) & 0xFF; }
int Red(TColor color) { return color & 0xFF; }

// Paints a box of the given height at full width 3 and answers which entry shows on each row.
std::vector<int> EntryOfRows(int height)
{
    TColorTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<TColor>(i); // entry i is the colour i: the red byte names it
    TBitmap bitmap(3, height);
    TGradientFill::FillGradient(bitmap.Canvas(), table, gsTopBottom, 3, height);
    std::vector<int> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(static_cast<int>(bitmap.Pixel(1, y)));
    return rows;
}

TEST(GradBoxTest, StripesOfA255PixelBoxAreTwoThickAndSkipEntryZero)
{
    const std::vector<int> rows = EntryOfRows(255);
    for (int y = 0; y < 255; ++y)
        ASSERT_EQ(rows[y], y + 1) << "row " << y;
}

TEST(GradBoxTest, RowsShowTheEntriesOfOddBoxHeights)
{
    const std::vector<int> rows100 = EntryOfRows(100);
    EXPECT_EQ(rows100[0], 3);
    EXPECT_EQ(rows100[1], 6);
    EXPECT_EQ(rows100[2], 8);
    EXPECT_EQ(rows100[99], 255);
    const std::vector<int> rows41 = EntryOfRows(41);
    EXPECT_EQ(rows41[0], 7);
    EXPECT_EQ(rows41[1], 13);
    EXPECT_EQ(rows41[2], 19);
    EXPECT_EQ(rows41[40], 255);
    const std::vector<int> rows510 = EntryOfRows(510);
    EXPECT_EQ(rows510[0], 1);
    EXPECT_EQ(rows510[1], 1);
    EXPECT_EQ(rows510[2], 2);
    EXPECT_EQ(rows510[3], 2);
    EXPECT_EQ(rows510[508], 255);
    EXPECT_EQ(rows510[509], 255);
}

TEST(GradBoxTest, BlackToWhiteGivesExactGreys)
{
    const TColorTable table = TableFor(0x000000, 0xFFFFFF);
    for (int i = 1; i <= 254; ++i)
        ASSERT_EQ(table[i], static_cast<TColor>(i) * 0x010101u) << "entry " << i;
}

TEST(GradBoxTest, DefaultGreensFollowTheAccumulatedSubtraction)
{
    const TColorTable table = TableFor(0x008000, 0x00FF00);
    const int expected[] = {128, 128, 128, 129, 129, 130};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Green(table[i]), expected[i]) << "entry " << i;
        EXPECT_EQ(table[i] & 0xFF00FF, 0u);
    }
    EXPECT_EQ(table[0], 0x008000u);
    EXPECT_EQ(table[255], 0x00FF00u);
}

TEST(GradBoxTest, ExtendedPrecisionMakesEntryThreeOfAnEightyFiveChannel83)
{
    const TColorTable table = TableFor(85, 0);
    const int expected[] = {85, 84, 84, 83, 83, 83};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Red(table[i]), expected[i]) << "entry " << i;
}

TEST(GradBoxTest, ReversedDirectionsSwapStartAndEnd)
{
    EXPECT_EQ(TableFor(0x112233, 0xAABBCC, gsBottomTop), TableFor(0xAABBCC, 0x112233, gsTopBottom));
    EXPECT_EQ(TableFor(0x112233, 0xAABBCC, gsLeftRight), TableFor(0x112233, 0xAABBCC, gsTopBottom));
    EXPECT_EQ(TableFor(0x112233, 0xAABBCC, gsRightLeft), TableFor(0x112233, 0xAABBCC, gsBottomTop));
}

TEST(GradBoxTest, NoneLeavesTheTableAndTheSurfaceAsTheyWere)
{
    TColorTable table{};
    table.fill(0x123456);
    TGradBox::MakeColorTable(0, 0xFFFFFF, gsNone, table);
    EXPECT_EQ(table[7], 0x123456u);
    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush().SetColor(0x00ABCDEF);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
    TGradientFill::PaintGradient(bitmap.Canvas(), 4, 4, 0, 0xFFFFFF, gsNone);
    EXPECT_EQ(bitmap.Pixel(2, 2), 0x00ABCDEFu);
}

TEST(GradBoxTest, SystemColoursStayAtTheEndsAndAreResolvedInBetween)
{
    const TColorTable table = TableFor(clBtnFace, 0x000000);
    EXPECT_EQ(table[0], clBtnFace);
    EXPECT_EQ(table[255], 0x000000u);
    // The face colour is C0C0C0: 192 falls by 192/255 a step.
    EXPECT_EQ(Red(table[1]), 191);
    EXPECT_EQ(table[1] >> 24, 0u);
}

TEST(GradBoxTest, HorizontalDirectionsPaintColumns)
{
    TBitmap bitmap(255, 2);
    TGradientFill::PaintGradient(bitmap.Canvas(), 255, 2, 0x000000, 0xFFFFFF, gsLeftRight);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x010101u);
    EXPECT_EQ(bitmap.Pixel(254, 1), 0xFFFFFFu);
    TGradientFill::PaintGradient(bitmap.Canvas(), 255, 2, 0x000000, 0xFFFFFF, gsRightLeft);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0xFEFEFEu);
    EXPECT_EQ(bitmap.Pixel(254, 0), 0x000000u);
}

// Counts the paints a setter asks for: a pending paint runs at the next Repaint.
class TPaintCounter {
public:
    explicit TPaintCounter(TGradBox& box) : FBox(box) { FBox.Repaint(); }
    int PaintsAfterFlush()
    {
        const int paints = FBox.PaintPending() ? 1 : 0;
        FBox.Repaint();
        return paints;
    }

private:
    TGradBox& FBox;
};

TEST(GradBoxTest, SettersRepaintOnlyWhenTheChangeShows)
{
    TGradBox box;
    box.resize(20, 20);
    TPaintCounter counter(box);
    box.SetTopColor(box.TopColor());
    EXPECT_EQ(counter.PaintsAfterFlush(), 0) << "same value";
    box.SetTopColor(0x123456);
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
    box.SetBackFont(0x00FF00FF);
    box.SetFontDepth(4);
    box.SetOutLineColor(0x0000FF);
    EXPECT_EQ(counter.PaintsAfterFlush(), 0) << "hidden features";
    box.SetFont3D(true);
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
    box.SetFontDepth(5);
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
    box.SetDrawOutLine(true);
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
    box.SetOutLineColor(0x00FF00);
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
    box.SetCaption(QStringLiteral("x"));
    EXPECT_EQ(counter.PaintsAfterFlush(), 1);
}

TEST(GradBoxTest, FrameCoversTheOutermostColumnsAndRows)
{
    TGradBox box;
    box.resize(10, 8);
    box.SetTopColor(0xFFFFFF);
    box.SetLastColor(0xFFFFFF);
    box.SetDrawOutLine(true);
    box.SetOutLineColor(0x0000FF);
    box.Repaint();
    TCanvas& canvas = box.Canvas();
    EXPECT_EQ(canvas.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(9, 7), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(9, 3), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(4, 7), 0x0000FFu);
    EXPECT_EQ(canvas.Pixel(1, 1), 0xFFFFFFu);
}

TEST(GradBoxTest, FrameCoversTheFirstAndLastColumnAndRowEvenWhenTheyCoincide)
{
    for (const TSize size : {TSize{1, 1}, TSize{1, 3}, TSize{3, 1}, TSize{3, 3}}) {
        SCOPED_TRACE(testing::Message() << size.Width << "x" << size.Height);
        TGradBox box;
        box.resize(size.Width, size.Height);
        box.SetTopColor(0xFFFFFF);
        box.SetLastColor(0xFFFFFF);
        box.SetDrawOutLine(true);
        box.SetOutLineColor(0x0000FF);
        box.Repaint();
        for (int y = 0; y < size.Height; ++y)
            for (int x = 0; x < size.Width; ++x) {
                const bool frame = x == 0 || y == 0 || x == size.Width - 1 || y == size.Height - 1;
                EXPECT_EQ(box.Canvas().Pixel(x, y), frame ? 0x0000FFu : 0xFFFFFFu) << x << "," << y;
            }
    }
}

// A parent filled in blue with a box at (5, 5), 30 x 20 in it; answers what the parent shows.
class TBoxOnBlue {
public:
    TBoxOnBlue()
    {
        FParent.resize(40, 30);
        FParent.setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor(0, 0, 255));
        FParent.setPalette(palette);
        Box = new TGradBox(&FParent);
        Box->SetBounds(5, 5, 30, 20);
        Box->SetCaptionLeft(2);
        Box->SetCaptionTop(2);
        Box->Font().SetHeight(-16);
        Box->Font().SetColor(0x000000);
    }
    // The pixels the parent shows over the box's area that are not blue.
    int NotBlueOverTheBox()
    {
        const QImage shown = FParent.grab().toImage();
        int count = 0;
        for (int y = 5; y < 25; ++y)
            for (int x = 5; x < 35; ++x)
                count += shown.pixel(x, y) != qRgb(0, 0, 255);
        return count;
    }

    TGradBox* Box;

private:
    QWidget FParent;
};

TEST(GradBoxTest, UnderNoneWhatLiesBeneathShowsThroughAndNoOldCaptionStays)
{
    TBoxOnBlue scene;
    scene.Box->SetCaption(QStringLiteral("W"));
    EXPECT_EQ(scene.NotBlueOverTheBox(), 30 * 20) << "the gradient covers the parent";
    scene.Box->SetGradStyle(gsNone);
    const int caption = scene.NotBlueOverTheBox();
    EXPECT_GT(caption, 0) << "the caption is drawn";
    EXPECT_LT(caption, 30 * 20 / 2) << "the old gradient is gone";
    scene.Box->SetCaption(QString());
    EXPECT_EQ(scene.NotBlueOverTheBox(), 0) << "the old caption is gone";
    scene.Box->SetGradStyle(gsLeftRight);
    EXPECT_EQ(scene.NotBlueOverTheBox(), 30 * 20) << "a gradient covers the parent again";
}

// Renders the caption "W" on a white box and collects the colours it used.
std::set<TColor> CaptionColours(TGradBox& box)
{
    box.Repaint();
    std::set<TColor> colours;
    for (int y = 0; y < box.Height(); ++y)
        for (int x = 0; x < box.Width(); ++x)
            colours.insert(box.Canvas().Pixel(x, y));
    return colours;
}

TEST(GradBoxTest, CaptionStylesDrawShadowsAtTheirOffsets)
{
    TGradBox box;
    box.resize(60, 50);
    box.SetTopColor(0xFFFFFF);
    box.SetLastColor(0xFFFFFF);
    box.Font().SetName(u"Arial");
    box.Font().SetHeight(-20);
    box.Font().SetColor(0x000000);
    box.SetCaption(QStringLiteral("I"));
    box.SetFont3D(true);
    box.SetBackFont(0x0000FF);
    box.SetFontDepth(3);

    // The leftmost column of the face's stroke, and of each shadow.
    auto firstColumnOf = [&](TColor colour) {
        for (int x = 0; x < box.Width(); ++x)
            for (int y = 0; y < box.Height(); ++y)
                if (box.Canvas().Pixel(x, y) == colour)
                    return x;
        return -1;
    };
    box.SetStyle3D(fsLow3D);
    box.Repaint();
    const int face = firstColumnOf(0x000000);
    EXPECT_EQ(firstColumnOf(0x0000FF), face + 1) << "low 3D shadows start one pixel right";
    box.SetStyle3D(fsRaise3D);
    box.Repaint();
    EXPECT_EQ(firstColumnOf(0x0000FF), face - 3);
    box.SetStyle3D(fsLowShadow);
    box.Repaint();
    EXPECT_EQ(firstColumnOf(0x0000FF), face + 3);
    box.SetStyle3D(fsRaiseShadow);
    box.Repaint();
    EXPECT_EQ(firstColumnOf(0x0000FF), face - 3);
    box.SetFontDepth(0);
    box.SetStyle3D(fsRaise3D);
    EXPECT_EQ(CaptionColours(box), (std::set<TColor>{0xFFFFFF, 0x000000})) << "depth 0: the face only";

    box.setEnabled(false);
    const std::set<TColor> disabled = CaptionColours(box);
    EXPECT_EQ(disabled, (std::set<TColor>{0xFFFFFF, 0x808080})) << "disabled: white and grey, no 3D";
    EXPECT_EQ(firstColumnOf(0x808080), face);
}

} // namespace
