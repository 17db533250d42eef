#include "app/stringgrid.h"

#include "app/gridutil.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

StringGrid::StringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    m_color = palette().color(QPalette::Base);
    m_fixedColor = palette().color(QPalette::Button);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(16);
    setColCount(5);
    setRowCount(5);
}

StringGrid::~StringGrid() = default;

void StringGrid::setColCount(int count) {
    count = std::max(0, count);
    while (m_colWidths.size() > count)
        m_colWidths.removeLast();
    while (m_colWidths.size() < count)
        m_colWidths.append(m_defaultColWidth);
    for (QStringList& cells : m_cells) {
        while (cells.size() > count)
            cells.removeLast();
    }
    clampCurrent();
}

void StringGrid::setRowCount(int count) {
    count = std::max(0, count);
    while (m_rowHeights.size() > count)
        m_rowHeights.removeLast();
    while (m_rowHeights.size() < count)
        m_rowHeights.append(m_defaultRowHeight);
    m_cells.resize(count);
    clampCurrent();
}

// Changing the fixed cells starts over at the first ordinary cell, scrolled to the top.
void StringGrid::setFixedCols(int count) {
    m_fixedCols = std::max(0, count);
    m_col = -1;
    m_row = -1;
    clampCurrent();
}

void StringGrid::setFixedRows(int count) {
    m_fixedRows = std::max(0, count);
    m_topRow = m_fixedRows;
    verticalScrollBar()->setValue(0);
    m_col = -1;
    m_row = -1;
    clampCurrent();
}

QString StringGrid::cell(int col, int row) const {
    if (row < 0 || row >= m_cells.size() || col < 0 || col >= m_cells[row].size())
        return QString();
    return m_cells[row][col];
}

void StringGrid::setCell(int col, int row, const QString& text) {
    if (row < 0 || row >= rowCount() || col < 0 || col >= colCount())
        return;
    QStringList& cells = m_cells[row];
    while (cells.size() <= col)
        cells.append(QString());
    cells[col] = text;
    const QRect rect = cellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(m_rowSelect ? viewport()->rect() : rect);
}

QStringList StringGrid::rowTexts(int row) const {
    QStringList texts;
    for (int c = 0; c < colCount(); ++c)
        texts.append(cell(c, row));
    return texts;
}

void StringGrid::setDefaultColWidth(int width) {
    m_defaultColWidth = std::max(0, width);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
    updateScrollBars();
}

void StringGrid::setDefaultRowHeight(int height) {
    m_defaultRowHeight = std::max(0, height);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), m_defaultRowHeight);
    updateScrollBars();
}

int StringGrid::colWidth(int col) const {
    return col >= 0 && col < colCount() ? m_colWidths[col] : 0;
}

void StringGrid::setColWidth(int col, int width) {
    if (col < 0 || col >= colCount())
        return;
    m_colWidths[col] = std::max(0, width);
    updateScrollBars();
}

int StringGrid::rowHeight(int row) const {
    return row >= 0 && row < rowCount() ? m_rowHeights[row] : 0;
}

void StringGrid::setRowHeight(int row, int height) {
    if (row < 0 || row >= rowCount())
        return;
    m_rowHeights[row] = std::max(0, height);
    updateScrollBars();
}

void StringGrid::setGridLines(GridLines lines) {
    m_gridLines = lines;
    updateScrollBars();
}

void StringGrid::setRowSelect(bool on) {
    m_rowSelect = on;
    viewport()->update();
}

void StringGrid::setColor(const QColor& colour) {
    m_color = colour;
    viewport()->update();
}

void StringGrid::setFixedColor(const QColor& colour) {
    m_fixedColor = colour;
    viewport()->update();
}

void StringGrid::setDrawCell(DrawCellFn draw) {
    m_drawCell = std::move(draw);
    viewport()->update();
}

bool StringGrid::selectCell(int col, int row) {
    if (col < m_fixedCols || col >= colCount() || row < m_fixedRows || row >= rowCount())
        return false;
    if (col == m_col && row == m_row) {
        ensureRowVisible(row);
        return true;
    }
    if (m_selectFilter && !m_selectFilter(col, row))
        return false;
    m_col = col;
    m_row = row;
    ensureRowVisible(row);
    viewport()->update();
    emit selectionMoved(col, row);
    emit cellClick(col, row);
    return true;
}

void StringGrid::clampCurrent() {
    updateScrollBars();
    viewport()->update();
    if (rowCount() <= m_fixedRows || colCount() <= m_fixedCols) {
        m_col = -1;
        m_row = -1;
        return;
    }
    const int col = std::clamp(m_col < 0 ? m_fixedCols : m_col, m_fixedCols, colCount() - 1);
    const int row = std::clamp(m_row < 0 ? m_fixedRows : m_row, m_fixedRows, rowCount() - 1);
    if (col == m_col && row == m_row)
        return;
    m_col = col;
    m_row = row;
    emit selectionMoved(col, row);
    emit cellClick(col, row);
}

// Geometry. Columns step by their width plus the vertical line width, rows likewise.

int StringGrid::fixedWidth() const {
    int width = 0;
    for (int c = 0; c < std::min(m_fixedCols, colCount()); ++c)
        width += m_colWidths[c] + lineWidthX();
    return width;
}

int StringGrid::fixedHeight() const {
    int height = 0;
    for (int r = 0; r < std::min(m_fixedRows, rowCount()); ++r)
        height += m_rowHeights[r] + lineWidthY();
    return height;
}

int StringGrid::colLeft(int col) const {
    int x = 0;
    for (int c = 0; c < col && c < colCount(); ++c)
        x += m_colWidths[c] + lineWidthX();
    return x;
}

int StringGrid::rowTopOnScreen(int row) const {
    if (row < m_fixedRows) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += m_rowHeights[r] + lineWidthY();
        return y;
    }
    if (row < m_topRow)
        return -1;
    int y = fixedHeight();
    for (int r = m_topRow; r < row; ++r)
        y += m_rowHeights[r] + lineWidthY();
    return y;
}

QRect StringGrid::cellRect(int col, int row) const {
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return QRect();
    const int y = rowTopOnScreen(row);
    if (y < 0 || y >= viewport()->height())
        return QRect();
    const int x = col < m_fixedCols ? colLeft(col) : colLeft(col) - m_scrollX;
    if (x >= viewport()->width() || (col >= m_fixedCols && x + m_colWidths[col] <= fixedWidth()))
        return QRect();
    return QRect(x, y, m_colWidths[col], m_rowHeights[row]);
}

bool StringGrid::cellAt(const QPoint& pos, int& col, int& row) const {
    row = -1;
    col = -1;
    const bool inFixedRows = pos.y() < fixedHeight();
    for (int r = inFixedRows ? 0 : m_topRow; r < rowCount(); ++r) {
        const int y = rowTopOnScreen(r);
        if (pos.y() >= y && pos.y() < y + m_rowHeights[r] + lineWidthY()) {
            row = r;
            break;
        }
    }
    const bool inFixedCols = pos.x() < fixedWidth();
    for (int c = inFixedCols ? 0 : m_fixedCols; c < colCount(); ++c) {
        const int x = c < m_fixedCols ? colLeft(c) : colLeft(c) - m_scrollX;
        if (pos.x() >= x && pos.x() < x + m_colWidths[c] + lineWidthX()) {
            col = c;
            break;
        }
    }
    return row >= 0 && col >= 0;
}

// Scrolling: the vertical bar counts rows below the fixed ones, the horizontal bar pixels.

int StringGrid::lastFullyVisibleRow() const {
    int y = fixedHeight();
    for (int r = m_topRow; r < rowCount(); ++r) {
        if (y + m_rowHeights[r] > viewport()->height())
            return std::max(m_topRow, r - 1);
        y += m_rowHeights[r] + lineWidthY();
    }
    return rowCount() - 1;
}

// The number of rows, from `fromRow` on, that fit wholly below the fixed rows (at least 1).
int StringGrid::visibleScrollRows(int fromRow) const {
    const int available = viewport()->height() - fixedHeight();
    int used = 0;
    int count = 0;
    for (int r = fromRow; r < rowCount(); ++r) {
        if (count > 0 && used + m_rowHeights[r] > available)
            break;
        used += m_rowHeights[r] + lineWidthY();
        ++count;
    }
    return std::max(1, count);
}

void StringGrid::updateScrollBars() {
    const int available = viewport()->height() - fixedHeight();
    int maxTop = std::max(m_fixedRows, rowCount() - 1);
    int used = rowCount() > m_fixedRows ? m_rowHeights[rowCount() - 1] : 0;
    while (maxTop - 1 >= m_fixedRows &&
           used + lineWidthY() + m_rowHeights[maxTop - 1] <= available) {
        --maxTop;
        used += lineWidthY() + m_rowHeights[maxTop];
    }
    QScrollBar* vbar = verticalScrollBar();
    vbar->setRange(0, std::max(0, maxTop - m_fixedRows));
    vbar->setPageStep(visibleScrollRows(m_topRow));
    m_topRow = m_fixedRows + vbar->value();

    const int contentWidth = colLeft(colCount()) - fixedWidth();
    const int availableWidth = viewport()->width() - fixedWidth();
    QScrollBar* hbar = horizontalScrollBar();
    hbar->setRange(0, std::max(0, contentWidth - availableWidth));
    hbar->setPageStep(std::max(1, availableWidth));
    m_scrollX = hbar->value();
    viewport()->update();
}

void StringGrid::setTopRow(int row) {
    verticalScrollBar()->setValue(row - m_fixedRows);
    m_topRow = m_fixedRows + verticalScrollBar()->value();
    viewport()->update();
}

void StringGrid::ensureRowVisible(int row) {
    if (row < m_fixedRows)
        return;
    if (row < m_topRow) {
        setTopRow(row);
        return;
    }
    if (row <= lastFullyVisibleRow())
        return;
    const int available = viewport()->height() - fixedHeight();
    int top = row;
    int used = m_rowHeights[row];
    while (top - 1 >= m_fixedRows && used + lineWidthY() + m_rowHeights[top - 1] <= available) {
        --top;
        used += lineWidthY() + m_rowHeights[top];
    }
    setTopRow(top);
}

void StringGrid::scrollContentsBy(int, int) {
    m_topRow = m_fixedRows + verticalScrollBar()->value();
    m_scrollX = horizontalScrollBar()->value();
    viewport()->update();
}

void StringGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// Painting.

void StringGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_color);
    const int scrollLeft = fixedWidth();
    for (int r = 0; r < rowCount(); ++r) {
        if (r >= m_fixedRows && r < m_topRow)
            continue;
        const int y = rowTopOnScreen(r);
        if (y >= viewport()->height())
            break;
        for (int c = 0; c < colCount(); ++c) {
            const int x = c < m_fixedCols ? colLeft(c) : colLeft(c) - m_scrollX;
            if (x >= viewport()->width())
                break;
            const QRect rect(x, y, m_colWidths[c], m_rowHeights[r]);
            QRect clip = rect.adjusted(0, 0, lineWidthX(), lineWidthY());
            if (c >= m_fixedCols)
                clip = clip.intersected(QRect(scrollLeft, 0, viewport()->width(), 1 << 24));
            if (!clip.isEmpty())
                paintCell(painter, c, r, rect, clip);
        }
    }
}

void StringGrid::paintCell(QPainter& painter, int col, int row, const QRect& rect,
                           const QRect& clip) {
    CellState state;
    state.fixed = col < m_fixedCols || row < m_fixedRows;
    state.selected = !state.fixed && row == m_row && (m_rowSelect || col == m_col);
    state.focused = col == m_col && row == m_row && hasFocus();

    painter.save();
    painter.setClipRect(clip);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.setBrush(Qt::NoBrush);
    if (m_drawCell)
        m_drawCell(painter, col, row, rect, state);
    else
        defaultDrawCell(painter, col, row, rect, state);
    painter.restore();

    painter.save();
    painter.setClipRect(clip);
    const QColor fixedLine = palette().color(QPalette::Dark);
    const QColor line = palette().color(QPalette::Mid);
    const bool fixedV = m_gridLines.testFlag(FixedVertLine);
    const bool fixedH = m_gridLines.testFlag(FixedHorzLine);
    if (lineWidthX() > 0)
        painter.fillRect(rect.right() + 1, rect.top(), 1, rect.height() + lineWidthY(),
                         state.fixed ? (fixedV ? fixedLine : m_fixedColor) : line);
    else if (state.fixed && fixedV)
        painter.fillRect(rect.right(), rect.top(), 1, rect.height(), fixedLine);
    if (lineWidthY() > 0)
        painter.fillRect(rect.left(), rect.bottom() + 1, rect.width() + lineWidthX(), 1,
                         state.fixed ? (fixedH ? fixedLine : m_fixedColor) : line);
    else if (state.fixed && fixedH)
        painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, fixedLine);
    painter.restore();
}

void StringGrid::defaultDrawCell(QPainter& painter, int col, int row, const QRect& rect,
                                 CellState state) {
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    QColor background = m_color;
    QColor text = palette().color(group, QPalette::Text);
    if (state.fixed) {
        background = m_fixedColor;
        text = palette().color(group, QPalette::ButtonText);
    } else if (state.selected) {
        background = palette().color(group, QPalette::Highlight);
        text = palette().color(group, QPalette::HighlightedText);
    }
    FillCell(painter, rect, background, text);
    TextOut(painter, rect.left() + 2, rect.top() + 2, cell(col, row));
    if (state.focused)
        DrawFocusRect(painter, rect);
}

void StringGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange ||
        event->type() == QEvent::PaletteChange)
        viewport()->update();
}

void StringGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void StringGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
