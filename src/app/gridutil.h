#pragma once

#include <QList>
#include <QStringList>

class QColor;
class QPainter;
class QPoint;
class QRect;
class QString;
class StringGrid;

// Small routines shared by the owner-drawn grids.

// Empties every cell outside the fixed rows and columns (headings stay) and makes the first
// ordinary row the selected one. The number of rows does not change.
void ClearGrid(StringGrid& grid);

// True when every cell of the row, fixed columns included, is blank.
bool IsGridRowBlank(const StringGrid& grid, int row);

// Fills the cell with the background and sets the pen to the font colour, ready for the
// cell's text.
void FillCell(QPainter& painter, const QRect& rect, const QColor& background,
              const QColor& fontColour);

// Draws a text whose top-left corner is at (x, y), in the painter's pen and font.
void TextOut(QPainter& painter, int x, int y, const QString& text);

// The dotted rectangle around the focused cell, in the painter's pen colour.
void DrawFocusRect(QPainter& painter, const QRect& rect);

// Every row of the grid as its cell texts, headings included.
QList<QStringList> GridRows(const StringGrid& grid);
