#include "components/widgets/CellGrid.h"

int GridRows(int cells, int cols)
{
    return (cells - 1) / cols + 1;
}

TSize GridCellSize(int width, int height, int cells, int cols)
{
    return TSize{width / cols, height / GridRows(cells, cols)};
}

TRect GridCellRect(int cell, int cols, TSize cellSize)
{
    const int column = (cell - 1) % cols;
    const int row = (cell - 1) / cols;
    return Bounds(column * cellSize.Width, row * cellSize.Height, cellSize.Width, cellSize.Height);
}

TRect GridArea(int cells, int cols, TSize cellSize)
{
    return Rect(0, 0, cols * cellSize.Width, GridRows(cells, cols) * cellSize.Height);
}

std::int64_t GridCellAt(TPoint point, int cols, TSize cellSize)
{
    if (cellSize.Width <= 0 || cellSize.Height <= 0)
        return 0;
    const std::int64_t column = point.X / cellSize.Width + 1;
    if (column > cols)
        return 0;
    return column + std::int64_t{point.Y / cellSize.Height} * cols;
}

std::int64_t GridRunPositionAt(TPoint point, int cols, TSize cellSize)
{
    if (cellSize.Width <= 0 || cellSize.Height <= 0)
        return 0;
    return std::int64_t{point.Y / cellSize.Height} * cols + point.X / cellSize.Width + 1;
}

int GridMoveFrom(int cell, TGridMove move, int cells, int cols)
{
    switch (move) {
    case gmNext: return cell % cells + 1;
    case gmPrevious: return (cell + cells - 2) % cells + 1;
    case gmRowDown: return cell + cols <= cells ? cell + cols : (cell - 1) % cols + 1;
    case gmRowUp:
        if (cell - cols >= 1)
            return cell - cols;
        while (cell + cols <= cells)
            cell += cols;
        return cell;
    case gmFirst: return 1;
    case gmLast: return cells;
    }
    return cell;
}
