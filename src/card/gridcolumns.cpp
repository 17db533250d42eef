#include "card/gridcolumns.h"

#include <QLatin1String>

QList<QStringList> GridHeadingRows(std::span<const ColumnFormat> formats, int columnCount,
                                   int fixedRows) {
    QList<QStringList> rows;
    for (int r = 0; r < fixedRows; ++r) {
        QStringList row;
        for (int c = 0; c < columnCount; ++c) {
            const bool described = static_cast<std::size_t>(c) < formats.size() &&
                                   formats[static_cast<std::size_t>(c)].width != 0;
            if (!described || r > 1) {
                row.append(QString());
                continue;
            }
            const ColumnFormat& f = formats[static_cast<std::size_t>(c)];
            row.append(QLatin1String(r == 0 ? f.heading1 : f.heading2));
        }
        rows.append(row);
    }
    return rows;
}
