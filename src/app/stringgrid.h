#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

// What the grid knows about a cell it is about to paint.
struct CellState {
    bool fixed = false;    // a heading cell (row < fixedRows or column < fixedCols)
    bool selected = false; // inside the selection (the whole current row with row select)
    bool focused = false;  // the current cell, while the grid has the keyboard focus
};

// The program's string grid: a table of texts whose first rows and columns are fixed
// heading cells. Heading cells are ordinary cells (cell(col, row) reads them), they stay in
// place while the rest scrolls, and they cannot be selected. Rows scroll a whole row at a
// time; columns scroll by pixels. Every cell is painted by the owner-draw hook when one is
// set, else by a plain default (text at 2, 2 inside the cell).
//
// Coordinates are (column, row) throughout, as the grids' owners speak of them.
class StringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum GridLine {
        FixedVertLine = 0x1, // edges between fixed cells
        FixedHorzLine = 0x2,
        VertLine = 0x4, // one-pixel lines between ordinary columns
        HorzLine = 0x8, // one-pixel lines between ordinary rows
    };
    Q_DECLARE_FLAGS(GridLines, GridLine)

    using DrawCellFn = std::function<void(QPainter&, int col, int row, const QRect&, CellState)>;
    using SelectCellFn = std::function<bool(int col, int row)>;

    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    int colCount() const { return m_colWidths.size(); }
    void setColCount(int count);
    int rowCount() const { return m_rowHeights.size(); }
    void setRowCount(int count);
    // Setting either count makes the first ordinary cell current.
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int count);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int count);

    // Empty text for a cell outside the grid; setCell ignores such a cell.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    QStringList rowTexts(int row) const;

    int defaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int width); // applies to every column
    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int height); // applies to every row
    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);

    GridLines gridLines() const { return m_gridLines; }
    void setGridLines(GridLines lines);
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);
    // The user may drag column borders inside the fixed rows.
    bool colSizing() const { return m_colSizing; }
    void setColSizing(bool on) { m_colSizing = on; }

    // Background of ordinary cells and of the area beyond the last cell (palette Base).
    QColor color() const { return m_color; }
    void setColor(const QColor& colour);
    // Background of the fixed cells (palette Button).
    QColor fixedColor() const { return m_fixedColor; }
    void setFixedColor(const QColor& colour);

    // The owner-draw hook: called for every visible cell with its rectangle in viewport
    // coordinates; the painter is clipped to the cell. The default painting is skipped.
    void setDrawCell(DrawCellFn draw);
    // Asked before a cell becomes current (by mouse, keyboard or program); false refuses.
    void setSelectCellFilter(SelectCellFn filter) { m_selectFilter = std::move(filter); }

    // The current cell; -1 when the grid has no ordinary cell.
    int col() const { return m_col; }
    int row() const { return m_row; }
    void setRow(int row) { selectCell(m_col < 0 ? m_fixedCols : m_col, row); }
    // Makes a cell current when it is an ordinary cell and the filter allows it; scrolls it
    // into view. Returns whether the cell is now current.
    bool selectCell(int col, int row);

    int topRow() const { return m_topRow; }
    void setTopRow(int row);
    // The rectangle of a cell in viewport coordinates (without the line after it); an empty
    // rectangle when the cell is scrolled out of view.
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point; false when the point lies beyond the cells.
    bool cellAt(const QPoint& pos, int& col, int& row) const;

signals:
    // The current cell changed, by mouse, keyboard or program.
    void selectionMoved(int col, int row);
    // The grid's click: the current cell changed, or the mouse clicked the current cell.
    void cellClick(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int lineWidthX() const { return m_gridLines.testFlag(VertLine) ? 1 : 0; }
    int lineWidthY() const { return m_gridLines.testFlag(HorzLine) ? 1 : 0; }
    int fixedWidth() const;
    int fixedHeight() const;
    int colLeft(int col) const; // content x of a column, before scrolling
    int rowTopOnScreen(int row) const;
    int lastFullyVisibleRow() const;
    int visibleScrollRows(int fromRow) const;
    int colBorderAt(const QPoint& pos) const;
    void paintCell(QPainter& painter, int col, int row, const QRect& rect, const QRect& clip);
    void defaultDrawCell(QPainter& painter, int col, int row, const QRect& rect, CellState state);
    void paintGridLines(QPainter& painter);
    void updateScrollBars();
    void ensureRowVisible(int row);
    void clampCurrent();
    void moveBy(int rows, int cols);

    QList<QStringList> m_cells; // rows of columns
    QList<int> m_colWidths;
    QList<int> m_rowHeights;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    GridLines m_gridLines = GridLines(FixedVertLine | FixedHorzLine | VertLine | HorzLine);
    bool m_rowSelect = false;
    bool m_colSizing = false;
    QColor m_color;
    QColor m_fixedColor;
    DrawCellFn m_drawCell;
    SelectCellFn m_selectFilter;
    int m_col = -1;
    int m_row = -1;
    int m_topRow = 1;
    int m_scrollX = 0;
    int m_sizingCol = -1;
    int m_sizingStartX = 0;
    int m_sizingStartWidth = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(StringGrid::GridLines)
