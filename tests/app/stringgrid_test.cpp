#include "app/gridutil.h"
#include "app/stringgrid.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

// The string grid: fixed heading cells held as ordinary cells, selection rules, the
// owner-draw hook and the grid routines built on it.
class StringGridTest : public QObject {
    Q_OBJECT
private slots:
    void cellsIncludeHeadingsAndIgnoreOutsiders();
    void rowCountChangesKeepTextsAndMoveSelection();
    void clearGridKeepsHeadingsAndSelectsFirstRow();
    void mouseSelectsOrdinaryCellsOnlyAndClicksAgain();
    void keyboardMovesAndFilterRefuses();
    void fixedRowsStayWhileRowsScroll();
    void ownerDrawHookPaintsEveryCell();
    void defaultPaintingUsesFixedAndHighlightColours();
    void focusedFlagFollowsKeyboardFocus();
    void columnBorderDragResizes();

private:
    static StringGrid* makeGrid(int cols, int rows);
};

StringGrid* StringGridTest::makeGrid(int cols, int rows) {
    auto* grid = new StringGrid;
    grid->setColCount(cols);
    grid->setRowCount(rows);
    grid->setFixedCols(0);
    grid->setFixedRows(1);
    grid->setDefaultRowHeight(18);
    grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine);
    grid->setRowSelect(true);
    grid->resize(400, 200);
    return grid;
}

void StringGridTest::cellsIncludeHeadingsAndIgnoreOutsiders() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 4));
    grid->setCell(0, 0, QStringLiteral("Song"));
    grid->setCell(2, 3, QStringLiteral("last"));
    grid->setCell(3, 0, QStringLiteral("beyond"));
    grid->setCell(0, 4, QStringLiteral("beyond"));
    grid->setCell(-1, 0, QStringLiteral("beyond"));
    QCOMPARE(grid->cell(0, 0), QStringLiteral("Song"));
    QCOMPARE(grid->cell(2, 3), QStringLiteral("last"));
    QCOMPARE(grid->cell(3, 0), QString());
    QCOMPARE(grid->cell(0, 4), QString());
    QCOMPARE(grid->rowTexts(3), (QStringList{QString(), QString(), QStringLiteral("last")}));
    QCOMPARE(grid->row(), 1);
    QVERIFY(grid->selectCell(0, 2));
    QVERIFY(!grid->selectCell(0, 0)); // a heading cannot be selected
    QCOMPARE(grid->row(), 2);
}

void StringGridTest::rowCountChangesKeepTextsAndMoveSelection() {
    std::unique_ptr<StringGrid> grid(makeGrid(2, 21));
    grid->setCell(1, 2, QStringLiteral("keep"));
    QVERIFY(grid->selectCell(0, 20));
    QSignalSpy moved(grid.get(), &StringGrid::selectionMoved);
    QSignalSpy clicked(grid.get(), &StringGrid::cellClick);
    grid->setRowCount(4);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->row(), 3);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(grid->cell(1, 2), QStringLiteral("keep"));
    grid->setRowCount(6);
    QCOMPARE(grid->cell(1, 5), QString());
    QCOMPARE(grid->row(), 3);

    grid->setRowCount(1); // headings only: nothing can be current
    QCOMPARE(grid->row(), -1);
    QVERIFY(!grid->selectCell(0, 0));
    grid->setRowCount(3);
    QCOMPARE(grid->row(), 1);
}

void StringGridTest::clearGridKeepsHeadingsAndSelectsFirstRow() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 5));
    grid->setFixedCols(1);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 3; ++col)
            grid->setCell(col, row, QStringLiteral("%1,%2").arg(col).arg(row));
    }
    QVERIFY(grid->selectCell(2, 4));
    QSignalSpy clicked(grid.get(), &StringGrid::cellClick);
    ClearGrid(*grid);
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->row(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(grid->cell(1, 0), QStringLiteral("1,0"));
    QCOMPARE(grid->cell(0, 3), QStringLiteral("0,3")); // fixed column keeps its text
    QCOMPARE(grid->cell(1, 3), QString());
    QCOMPARE(grid->cell(2, 4), QString());

    // Blank rows hold only blanks, tabs and line breaks.
    grid->setCell(0, 3, QStringLiteral(" \t\r\n"));
    grid->setCell(2, 2, QStringLiteral("x"));
    QVERIFY(IsGridRowBlank(*grid, 3));
    QVERIFY(!IsGridRowBlank(*grid, 4)); // its fixed column keeps "0,4"
    QVERIFY(IsGridRowBlank(*grid, 7));  // no such row: no text
    const QList<QStringList> rows = GridRows(*grid);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[2], (QStringList{QStringLiteral("0,2"), QString(), QStringLiteral("x")}));
}

void StringGridTest::mouseSelectsOrdinaryCellsOnlyAndClicksAgain() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 6));
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QSignalSpy clicked(grid.get(), &StringGrid::cellClick);
    QSignalSpy moved(grid.get(), &StringGrid::selectionMoved);

    const QRect heading = grid->cellRect(1, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, heading.center());
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(grid->row(), 1);

    const QRect third = grid->cellRect(1, 3);
    QVERIFY(!third.isEmpty());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(grid->row(), 3);
    QCOMPARE(grid->col(), 1);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.last(), (QVariantList{1, 3}));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(moved.count(), 1);   // nothing moved
    QCOMPARE(clicked.count(), 2); // but the grid was clicked

    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->cellRect(1, 2).center());
    QCOMPARE(grid->row(), 3); // a right click leaves the selection alone
}

void StringGridTest::keyboardMovesAndFilterRefuses() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 6));
    grid->setRowSelect(false);
    grid->setSelectCellFilter([](int col, int) { return col == 1; });
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QVERIFY(grid->selectCell(1, 1));
    QVERIFY(!grid->selectCell(2, 1));
    QCOMPARE(grid->col(), 1);

    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(grid->row(), 3);
    QTest::keyClick(grid.get(), Qt::Key_Right); // column 2 is refused
    QCOMPARE(grid->col(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid->row(), 1);
    QTest::keyClick(grid.get(), Qt::Key_Up); // never into the headings
    QCOMPARE(grid->row(), 1);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid->row(), 5);
}

void StringGridTest::fixedRowsStayWhileRowsScroll() {
    std::unique_ptr<StringGrid> grid(makeGrid(2, 40));
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QVERIFY(grid->selectCell(0, 39));
    QVERIFY(grid->topRow() > 1);
    QCOMPARE(grid->cellRect(0, 0).top(), 0); // heading in place
    QVERIFY(grid->cellRect(0, 1).isEmpty()); // scrolled out of view
    const QRect last = grid->cellRect(0, 39);
    QVERIFY(!last.isEmpty());
    QVERIFY(last.bottom() < grid->viewport()->height());
    int col = -1;
    int row = -1;
    QVERIFY(grid->cellAt(last.center(), col, row));
    QCOMPARE(row, 39);
    QVERIFY(grid->cellAt(QPoint(5, 5), col, row));
    QCOMPARE(row, 0);
}

void StringGridTest::ownerDrawHookPaintsEveryCell() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 4));
    QList<QPoint> painted;
    QList<CellState> states;
    grid->setDrawCell([&](QPainter& painter, int col, int row, const QRect& rect, CellState s) {
        painted.append(QPoint(col, row));
        states.append(s);
        painter.fillRect(rect, row == 0 ? QColor(0, 0, 255) : QColor(255, 0, 0));
    });
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    const QImage image = grid->viewport()->grab().toImage();
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col)
            QVERIFY(painted.contains(QPoint(col, row)));
    }
    const int index = painted.indexOf(QPoint(2, 1));
    QVERIFY(states[index].selected); // whole row selected
    QVERIFY(!states[index].fixed);
    QVERIFY(states[painted.indexOf(QPoint(1, 0))].fixed);
    QVERIFY(!states[painted.indexOf(QPoint(1, 2))].selected);
    QCOMPARE(image.pixelColor(grid->cellRect(1, 0).center()), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(grid->cellRect(1, 2).center()), QColor(255, 0, 0));
    // beyond the last cell: the grid colour
    QCOMPARE(image.pixelColor(390, 190), grid->color());
}

void StringGridTest::defaultPaintingUsesFixedAndHighlightColours() {
    std::unique_ptr<StringGrid> grid(makeGrid(2, 4));
    grid->setFixedColor(QColor(10, 20, 30));
    grid->setColor(QColor(250, 250, 240));
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    const QImage image = grid->viewport()->grab().toImage();
    const QRect heading = grid->cellRect(0, 0);
    QCOMPARE(image.pixelColor(heading.left() + 1, heading.bottom() - 1), QColor(10, 20, 30));
    const QRect selected = grid->cellRect(1, 1);
    QCOMPARE(image.pixelColor(selected.right() - 1, selected.bottom() - 1),
             grid->palette().color(QPalette::Active, QPalette::Highlight));
    const QRect plain = grid->cellRect(1, 2);
    QCOMPARE(image.pixelColor(plain.right() - 1, plain.bottom() - 1), QColor(250, 250, 240));
    // the fixed line at the heading cell's right edge
    QCOMPARE(image.pixelColor(heading.right(), heading.center().y()).rgb(),
             grid->palette().color(QPalette::Dark).rgb());
}

void StringGridTest::focusedFlagFollowsKeyboardFocus() {
    std::unique_ptr<StringGrid> grid(makeGrid(2, 3));
    QList<QPoint> focused;
    grid->setDrawCell([&](QPainter&, int col, int row, const QRect&, CellState s) {
        if (s.focused)
            focused.append(QPoint(col, row));
    });
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->clearFocus();
    focused.clear();
    grid->viewport()->grab();
    QVERIFY(focused.isEmpty());
    grid->activateWindow();
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    focused.clear();
    grid->viewport()->grab();
    QCOMPARE(focused, (QList<QPoint>{QPoint(0, 1)}));
}

void StringGridTest::columnBorderDragResizes() {
    std::unique_ptr<StringGrid> grid(makeGrid(3, 3));
    grid->setColWidth(0, 80);
    grid->setColSizing(true);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    const int border = grid->cellRect(0, 0).right() + 1;
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(border, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(border + 30, 5), QPointF(border + 30, 5),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(border + 30, 5));
    QCOMPARE(grid->colWidth(0), 110);
    QCOMPARE(grid->row(), 1); // sizing did not select
    // a press on a border below the headings selects instead
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(grid->cellRect(0, 2).right(), grid->cellRect(0, 2).center().y()));
    QCOMPARE(grid->colWidth(0), 110);
    QCOMPARE(grid->row(), 2);
}

QTEST_MAIN(StringGridTest)
#include "stringgrid_test.moc"
