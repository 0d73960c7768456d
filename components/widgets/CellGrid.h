#pragma once

#include "platform/raster/Types.h"

#include <cstdint>

// Grid geometry of a multi-cell button. Cells are numbered from 1, row by row from the
// top left; a cell size of 0 in either direction means no cell lies under any point.

// Rows needed for cells cells in cols columns.
int GridRows(int cells, int cols);
// The size of one cell of a control width x height pixels.
TSize GridCellSize(int width, int height, int cells, int cols);
// The rectangle of cell number cell, right and bottom exclusive.
TRect GridCellRect(int cell, int cols, TSize cellSize);
// The area covered by the rows and columns; right of and below it lies the margin.
TRect GridArea(int cells, int cols, TSize cellSize);
// The cell number under a point, or 0 when the point is right of the last column.
// Divisions truncate toward zero, so a point less than a cell left of or above the grid
// still counts as the first column or row; the result may lie outside 1..cells.
std::int64_t GridCellAt(TPoint point, int cols, TSize cellSize);
// The cell number of the position a point falls on when the rows are read as one run:
// a point right of the last column counts as a cell of the next row.
std::int64_t GridRunPositionAt(TPoint point, int cols, TSize cellSize);

// A move of the keyboard's choice within a grid.
enum TGridMove : unsigned char { gmNext, gmPrevious, gmRowDown, gmRowUp, gmFirst, gmLast };

// The cell a move leads to from cell, as the arrows move in a radio group: next and
// previous run through the rows and wrap from the last cell to the first and back; a row
// down or up stays in the column and wraps from its bottom cell to its top one and back;
// first and last are cells 1 and cells.
int GridMoveFrom(int cell, TGridMove move, int cells, int cols);
