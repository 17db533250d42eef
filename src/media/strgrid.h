#pragma once

#include "card/gridcolumns.h"

#include <array>
#include <span>

class QPainter;
class QRect;
class StringGrid;
struct CellState;

// Column formats of an owner-drawn details grid: two heading lines, a width and an
// alignment per column, and the one cell painter of such grids. A grid attached to a
// StrGrid remembers it (its tag), so the windows' single draw handler `sgDrawCell` finds the
// descriptors of whichever grid is being painted. Several grids may share one StrGrid;
// `grid` names the last one attached. A grid served this way has at most 10 columns.
class StrGrid {
public:
    static constexpr int MaxColumns = 10;

    StringGrid* grid = nullptr;
    std::array<ColumnFormat, MaxColumns> columns{};

    // Makes `g` the grid served, tags it with this StrGrid and resets every descriptor to
    // empty headings, width 0 and left alignment.
    void AttachGrid(StringGrid& g);

    // Copies the descriptors of `table` (at most 10; the rest keep their values), then puts
    // the headings into the fixed rows of the attached grid and sets its column widths. A
    // column whose width is 0 keeps its width and headings.
    void SetColumns(std::span<const ColumnFormat> table);

    // Paints one whole cell of `g`: the background, the text aligned by the column's
    // descriptor at one pixel below the top, and the focus rectangle. There is no highlight
    // for the selected cell.
    void DrawGridCell(StringGrid& g, QPainter& painter, int column, int row, const QRect& rect,
                      CellState state) const;
};

// The StrGrid `g` was attached to last; null for a grid never attached.
StrGrid* AttachedStrGrid(const StringGrid& g);

// The draw handler of the column-formatted grids: draws through the grid's StrGrid, or
// leaves the cell alone for a grid without one.
void sgDrawCell(StringGrid& g, QPainter& painter, int column, int row, const QRect& rect,
                CellState state);

// Routes every cell of `g` through sgDrawCell.
void UseStrGridDrawing(StringGrid& g);
