#include "app/gridbody.h"

#include "app/stringgrid.h"

void SetGridBody(StringGrid& grid, const QList<QStringList>& rows) {
    const int firstRow = grid.fixedRows();
    for (qsizetype r = 0; r < rows.size() && r < grid.rowCount() - firstRow; ++r) {
        const QStringList& cells = rows[r];
        const int row = firstRow + static_cast<int>(r);
        for (int c = 0; c < grid.colCount(); ++c)
            grid.setCell(c, row, c < cells.size() ? cells[c] : QString());
    }
}
