// The string grid's keyboard and mouse handling: moving the current cell, clicks and
// column sizing.

#include "app/stringgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

// Keyboard and mouse.

void StringGrid::moveBy(int rows, int cols) {
    if (m_row < 0)
        return;
    const int row = std::clamp(m_row + rows, m_fixedRows, rowCount() - 1);
    const int col = std::clamp(m_col + cols, m_fixedCols, colCount() - 1);
    selectCell(col, row);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    const bool wholeRows = m_rowSelect || event->modifiers().testFlag(Qt::ControlModifier);
    const int page = visibleScrollRows(m_topRow);
    switch (event->key()) {
    case Qt::Key_Up:
        moveBy(-1, 0);
        break;
    case Qt::Key_Down:
        moveBy(1, 0);
        break;
    case Qt::Key_PageUp:
        moveBy(-page, 0);
        break;
    case Qt::Key_PageDown:
        moveBy(page, 0);
        break;
    case Qt::Key_Home:
        wholeRows ? moveBy(-rowCount(), 0) : moveBy(0, -colCount());
        break;
    case Qt::Key_End:
        wholeRows ? moveBy(rowCount(), 0) : moveBy(0, colCount());
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        if (m_rowSelect)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                            step * horizontalScrollBar()->singleStep());
        else
            moveBy(0, step);
        break;
    }
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

int StringGrid::colBorderAt(const QPoint& pos) const {
    if (!m_colSizing || pos.y() >= fixedHeight())
        return -1;
    for (int c = 0; c < colCount(); ++c) {
        const int x = c < m_fixedCols ? colLeft(c) : colLeft(c) - m_scrollX;
        const int right = x + m_colWidths[c];
        if (c >= m_fixedCols && right < fixedWidth())
            continue;
        if (std::abs(pos.x() - right) <= 2)
            return c;
    }
    return -1;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int border = colBorderAt(pos);
    if (border >= 0) {
        m_sizingCol = border;
        m_sizingStartX = pos.x();
        m_sizingStartWidth = m_colWidths[border];
        return;
    }
    int col = -1;
    int row = -1;
    if (!cellAt(pos, col, row) || col < m_fixedCols || row < m_fixedRows)
        return;
    if (col == m_col && row == m_row)
        emit cellClick(col, row);
    else
        selectCell(col, row);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_sizingCol >= 0) {
        setColWidth(m_sizingCol, m_sizingStartWidth + pos.x() - m_sizingStartX);
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (colBorderAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
        return;
    }
    int col = -1;
    int row = -1;
    if (event->buttons().testFlag(Qt::LeftButton) && cellAt(pos, col, row) &&
        (col != m_col || row != m_row))
        selectCell(col, row);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_sizingCol = -1;
    event->accept();
}
