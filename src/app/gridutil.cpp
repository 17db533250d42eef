#include "app/gridutil.h"

#include "app/stringgrid.h"
#include "transfer/sizetext.h"

#include <QFontMetrics>
#include <QPainter>

void ClearGrid(StringGrid& grid) {
    for (int row = grid.fixedRows(); row < grid.rowCount(); ++row) {
        for (int col = grid.fixedCols(); col < grid.colCount(); ++col)
            grid.setCell(col, row, QString());
    }
    grid.setRow(grid.fixedRows());
}

bool IsGridRowBlank(const StringGrid& grid, int row) {
    for (int col = 0; col < grid.colCount(); ++col) {
        if (!IsBlankText(grid.cell(col, row)))
            return false;
    }
    return true;
}

void FillCell(QPainter& painter, const QRect& rect, const QColor& background,
              const QColor& fontColour) {
    painter.setBrush(background);
    painter.fillRect(rect, background);
    painter.setPen(fontColour);
}

void TextOut(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void DrawFocusRect(QPainter& painter, const QRect& rect) {
    painter.save();
    QPen pen(painter.pen().color(), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

QList<QStringList> GridRows(const StringGrid& grid) {
    QList<QStringList> rows;
    rows.reserve(grid.rowCount());
    for (int row = 0; row < grid.rowCount(); ++row)
        rows.append(grid.rowTexts(row));
    return rows;
}
