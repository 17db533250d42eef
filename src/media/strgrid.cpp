#include "media/strgrid.h"

#include "app/gridutil.h"
#include "app/stringgrid.h"

#include <QFontMetrics>
#include <QLatin1String>
#include <QPainter>
#include <QVariant>
#include <algorithm>

namespace {

// The dynamic property that plays the part of the grid's tag.
constexpr char TagProperty[] = "sorvaneStrGrid";

QString HeadingText(const char* heading) {
    return heading == nullptr ? QString() : QString(QLatin1String(heading));
}

// The font size in points, used as a pixel count for the left and right insets.
int FontSizeInset(const QFont& font) {
    if (font.pointSize() > 0)
        return font.pointSize();
    return std::max(0, font.pixelSize());
}

int HorizontalOffset(int alignment, int cellWidth, int textWidth, int fontSize) {
    int offset = 0;
    if (alignment == ColumnLeft)
        offset = fontSize;
    else if (alignment == ColumnRight)
        offset = cellWidth - textWidth - fontSize;
    else
        offset = (cellWidth - textWidth) / 2;
    return std::max(0, offset);
}

} // namespace

void StrGrid::AttachGrid(StringGrid& g) {
    grid = &g;
    g.setProperty(TagProperty, QVariant::fromValue(static_cast<void*>(this)));
    columns.fill(ColumnFormat{"", "", 0, ColumnLeft});
}

void StrGrid::SetColumns(std::span<const ColumnFormat> table) {
    const std::size_t count = std::min<std::size_t>(table.size(), columns.size());
    std::copy_n(table.begin(), count, columns.begin());
    if (grid == nullptr)
        return;
    const int shown = std::min(grid->colCount(), MaxColumns);
    for (int c = 0; c < shown; ++c) {
        const ColumnFormat& format = columns[static_cast<std::size_t>(c)];
        if (format.width == 0)
            continue;
        grid->setCell(c, 0, HeadingText(format.heading1));
        if (grid->fixedRows() > 1)
            grid->setCell(c, 1, HeadingText(format.heading2));
        grid->setColWidth(c, format.width);
    }
}

void StrGrid::DrawGridCell(StringGrid& g, QPainter& painter, int column, int row, const QRect& rect,
                           CellState state) const {
    const QString text = g.cell(column, row);
    const bool enabled = g.isEnabled();
    const QPalette& palette = g.palette();
    const QColor greyText = palette.color(QPalette::Disabled, QPalette::Text);
    QColor background;
    QColor fontColour;
    if (state.fixed) {
        background = g.fixedColor();
        fontColour = enabled ? palette.color(QPalette::Active, QPalette::ButtonText) : greyText;
    } else {
        background = enabled ? palette.color(QPalette::Active, QPalette::Base) : g.fixedColor();
        fontColour = enabled ? QColor(Qt::black) : greyText;
    }
    FillCell(painter, rect, background, fontColour);

    const int alignment = column >= 0 && column < MaxColumns
                              ? columns[static_cast<std::size_t>(column)].alignment
                              : ColumnLeft;
    const int textWidth = painter.fontMetrics().horizontalAdvance(text);
    const int offset =
        HorizontalOffset(alignment, rect.width(), textWidth, FontSizeInset(painter.font()));
    TextOut(painter, rect.left() + offset, rect.top() + 1, text);
    if (state.focused)
        DrawFocusRect(painter, rect);
}

StrGrid* AttachedStrGrid(const StringGrid& g) {
    return static_cast<StrGrid*>(g.property(TagProperty).value<void*>());
}

void sgDrawCell(StringGrid& g, QPainter& painter, int column, int row, const QRect& rect,
                CellState state) {
    if (const StrGrid* format = AttachedStrGrid(g))
        format->DrawGridCell(g, painter, column, row, rect, state);
}

void UseStrGridDrawing(StringGrid& g) {
    g.setDrawCell([&g](QPainter& painter, int column, int row, const QRect& rect, CellState state) {
        sgDrawCell(g, painter, column, row, rect, state);
    });
}
