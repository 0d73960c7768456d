#include "components/widgets/CellGrid.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ManyBtnGeometryTest, RowsAndCellSizes)
{
    struct TCase { int Width, Height, Cells, Cols, Rows; TSize Cell; };
    const TCase cases[] = {
        {57, 49, 4, 2, 2, {28, 24}},  // the mix selector
        {57, 49, 3, 2, 2, {28, 24}},  // the last grid position holds no cell
        {40, 10, 2, 4, 1, {10, 10}},  // more columns than cells: one row
        {57, 23, 2, 2, 1, {28, 23}},  // the text selector
        {1, 49, 4, 2, 2, {0, 24}},    // narrower than the columns
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " cells " << c.Cells << " cols " << c.Cols);
        EXPECT_EQ(GridRows(c.Cells, c.Cols), c.Rows);
        EXPECT_EQ(GridCellSize(c.Width, c.Height, c.Cells, c.Cols), c.Cell);
    }
    EXPECT_EQ(GridCellRect(3, 2, TSize{28, 24}), Rect(0, 24, 28, 48));
    EXPECT_EQ(GridCellRect(2, 2, TSize{28, 24}), Rect(28, 0, 56, 24));
    EXPECT_EQ(GridArea(4, 2, TSize{28, 24}), Rect(0, 0, 56, 48));
}

TEST(ManyBtnGeometryTest, CellUnderAPoint)
{
    struct TCase { int X, Y; TSize Cell; std::int64_t HitCell, RunPosition; };
    const TCase cases[] = {
        {0, 0, {28, 24}, 1, 1},
        {27, 23, {28, 24}, 1, 1},
        {28, 0, {28, 24}, 2, 2},
        {30, 30, {28, 24}, 4, 4},
        {56, 0, {28, 24}, 0, 3},     // right of the last column: no cell, but the next row's first
        {0, 48, {28, 24}, 5, 5},     // below the last row: a number past the cells
        {-27, -23, {28, 24}, 1, 1},  // less than a cell left of or above the grid counts as the first
        {-28, 30, {28, 24}, 2, 2},   // a whole cell left of the grid falls into the row before
        {0, 0, {0, 24}, 0, 0},       // cells without width or height lie under no point
        {5, 5, {28, 0}, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.X << ", " << c.Y << ") in " << c.Cell.Width << "x" << c.Cell.Height);
        EXPECT_EQ(GridCellAt(TPoint{c.X, c.Y}, 2, c.Cell), c.HitCell);
        EXPECT_EQ(GridRunPositionAt(TPoint{c.X, c.Y}, 2, c.Cell), c.RunPosition);
    }
}

TEST(ManyBtnGeometryTest, KeyboardMovesWrapWithinTheGrid)
{
    struct TCase { int Cell; TGridMove Move; int Cells, Cols, Expected; };
    const TCase cases[] = {
        {1, gmNext, 4, 2, 2}, {2, gmNext, 4, 2, 3}, {4, gmNext, 4, 2, 1},
        {1, gmPrevious, 4, 2, 4}, {3, gmPrevious, 4, 2, 2},
        {1, gmRowDown, 4, 2, 3}, {3, gmRowDown, 4, 2, 1}, {4, gmRowDown, 4, 2, 2},
        {1, gmRowUp, 4, 2, 3}, {4, gmRowUp, 4, 2, 2},
        {2, gmRowUp, 3, 2, 2},  // the column has no cell below its top one
        {1, gmRowDown, 2, 1, 2}, {2, gmRowDown, 2, 1, 1}, {1, gmRowUp, 2, 1, 2},  // one column
        {1, gmRowDown, 2, 2, 1},  // one row: up and down stay
        {3, gmFirst, 4, 2, 1}, {1, gmLast, 4, 2, 4},
        {1, gmNext, 1, 1, 1}, {1, gmRowUp, 1, 1, 1},  // a single cell
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.Cell << " move " << int(c.Move) << " cells " << c.Cells << " cols " << c.Cols);
        EXPECT_EQ(GridMoveFrom(c.Cell, c.Move, c.Cells, c.Cols), c.Expected);
    }
}

} // namespace
