#include "composer/TextBands.h"

#include "composer/LayerSteps.h"
#include "composer/LogoComposer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Rows read through bands of any height are the rows of the layer drawn whole, and rows
// above and below the logo are background or the ink that reaches past it.
TEST(TextBandsTest, RowsReadInBandsAreTheLayerDrawnWhole)
{
    TLogoParams params = TLogoParams::Defaults();
    params.Text = u"Agy Wg";
    params.BgColor = 0x00336699;
    params.Font.SetColor(clWhite);
    const TPoint origin = TLogoComposer::TextOrigin(params);
    const TSize size = TLogoComposer::LogoSize(params);
    // The whole layer, with rows to spare above and below.
    constexpr int Spare = 7;
    TBitmap whole;
    whole.SetSize(size.Width, size.Height + 2 * Spare);
    TLayerSteps::DrawTextLayer(params, whole.Canvas(), TSize{whole.Width(), whole.Height()},
                               TPoint{origin.X, origin.Y + Spare});
    for (const int bandRows : {1, 2, 5, size.Height, 10000}) {
        SCOPED_TRACE(bandRows);
        TTextBands bands(params, origin, size.Width, -Spare, size.Height + Spare, bandRows);
        for (int y = -Spare; y < size.Height + Spare; ++y) {
            const std::uint32_t* row = bands.Row(y);
            ASSERT_TRUE(std::equal(row, row + size.Width, whole.ScanLine(y + Spare))) << "row " << y;
        }
    }
}

TEST(TextBandsTest, BandRowsHoldAboutTheBudgetWithinTheirLimits)
{
    struct TRow { long long Pixels; long long RowPixels; int MaxRows; int Rows; };
    const TRow rows[] = {
        {1000, 100, 50, 10}, {1000, 300, 50, 3}, {10, 100, 50, 1}, {1000, 1, 50, 50},
        {1000, 0, 50, 50}, {1000, 100, 0, 1}, {1LL << 40, 1, 1 << 30, 1 << 30},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Pixels << " / " << row.RowPixels << " up to " << row.MaxRows);
        EXPECT_EQ(TTextBands::BandRows(row.Pixels, row.RowPixels, row.MaxRows), row.Rows);
    }
}

} // namespace
