#pragma once

#include <QList>
#include <QStringList>

class StringGrid;

// Puts `rows` into the body of the grid, from its first row below the fixed rows on; cells
// the rows lack become empty, rows beyond the grid are dropped.
void SetGridBody(StringGrid& grid, const QList<QStringList>& rows);
