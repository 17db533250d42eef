#include "app/detailstest.h"
#include "app/gridutil.h"
#include "app/stringgrid.h"
#include "card/gridcolumns.h"
#include "media/strgrid.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace detailstest;

// The string grid (fixed heading cells held as ordinary cells, selection rules, the
// owner-draw hook, the grid routines built on it) and the details grids' column formats
// with their cell painter, checked on grabbed images.
class StringGridTest : public QObject {
    Q_OBJECT
private slots:
    void cellsRowCountAndSelectionBounds() {
        auto grid = makeGrid(3, 21);
        grid->setCell(2, 3, u"last"_s);
        grid->setCell(0, 5, u"dropped"_s);
        for (const QPoint outside : {QPoint(3, 0), QPoint(0, 21), QPoint(-1, 0), QPoint(0, -1)})
            grid->setCell(outside.x(), outside.y(), u"beyond"_s);
        QCOMPARE(grid->rowTexts(3), (QStringList{QString(), QString(), u"last"_s}));
        QVERIFY(!grid->selectCell(0, 0)); // a heading cannot be selected
        QVERIFY(grid->selectCell(0, 20));
        QCOMPARE(grid->cellRect(0, 0).top(), 0); // the heading stays while rows scroll
        QVERIFY(grid->cellRect(0, 1).isEmpty() &&
                grid->cellRect(0, 20).bottom() < grid->viewport()->height());

        QSignalSpy clicked(grid.get(), &StringGrid::cellClick);
        grid->setRowCount(4);
        QCOMPARE(grid->row(), 3);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(grid->cell(2, 3), u"last"_s);
        grid->setRowCount(6);
        QCOMPARE(grid->cell(0, 5), QString());
        grid->setRowCount(1); // headings only: nothing can be current
        QCOMPARE(grid->row(), -1);
        grid->setRowCount(3);
        QCOMPARE(grid->row(), 1);

        // Clearing keeps the headings and the fixed column, and selects the first row.
        grid->setRowCount(5);
        grid->setFixedCols(1);
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col)
                grid->setCell(col, row, u"%1,%2"_s.arg(col).arg(row));
        }
        QVERIFY(grid->selectCell(2, 4));
        ClearGrid(*grid);
        QCOMPARE(grid->row(), 1);
        QCOMPARE(grid->rowTexts(0).join(u'|'), u"0,0|1,0|2,0"_s);
        QCOMPARE(grid->rowTexts(4).join(u'|'), u"0,4||"_s); // the fixed column stays
        // Blank rows hold only blanks, tabs and line breaks.
        grid->setCell(0, 3, u" \t\r\n"_s);
        QVERIFY(IsGridRowBlank(*grid, 3) && !IsGridRowBlank(*grid, 4));
        QVERIFY(IsGridRowBlank(*grid, 7)); // no such row: no text
    }

    void mouseAndKeyboardSelectOrdinaryCellsOnly() {
        auto grid = makeGrid(3, 6);
        grid->setSelectCellFilter([](int col, int) { return col == 1; });
        QVERIFY(grid->selectCell(1, 1));
        QSignalSpy clicked(grid.get(), &StringGrid::cellClick);
        auto click = [&](int col, int row, Qt::MouseButton button = Qt::LeftButton) {
            QTest::mouseClick(grid->viewport(), button, {}, grid->cellRect(col, row).center());
        };
        click(1, 0); // a heading
        click(1, 2, Qt::RightButton);
        click(2, 4); // refused by the filter
        QCOMPARE(clicked.count(), 0);
        click(1, 3);
        QCOMPARE(clicked.count(), 1);

        QTest::keyClick(grid.get(), Qt::Key_Down); // from the clicked row
        QCOMPARE(grid->row(), 4);
        QTest::keyClick(grid.get(), Qt::Key_Right); // column 2 is refused
        QCOMPARE(grid->col(), 1);
        QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(grid.get(), Qt::Key_Up); // never into the headings
        QCOMPARE(grid->row(), 1);
        QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->row(), 5);

        // Dragging a column border resizes the column.
        grid->setColWidth(0, 80);
        grid->setColSizing(true);
        const int border = grid->cellRect(0, 0).right() + 1;
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(border, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(border + 30, 5), QPointF(border + 30, 5),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, QPoint(border + 30, 5));
        QCOMPARE(grid->colWidth(0), 110);
        QCOMPARE(grid->row(), 5); // sizing did not select
    }

    void ownerDrawHookGetsEveryCellAndItsState() {
        auto grid = makeGrid(3, 4);
        grid->setRowSelect(true);
        QMap<std::pair<int, int>, CellState> states;
        grid->setDrawCell([&](QPainter& painter, int col, int row, const QRect& rect, CellState s) {
            states[{col, row}] = s;
            painter.fillRect(rect, row == 0 ? QColor(0, 0, 255) : QColor(255, 0, 0));
        });
        auto state = [&](int col, int row) { return states.value({col, row}); };
        grid->setFocusPolicy(Qt::StrongFocus);
        grid->activateWindow();
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        states.clear();
        const QImage image = grab(*grid);
        QCOMPARE(states.size(), 12);
        QVERIFY(state(2, 1).selected && !state(2, 1).fixed); // the whole row is selected
        QVERIFY(state(1, 0).fixed && !state(1, 2).selected);
        QVERIFY(state(0, 1).focused && !state(1, 1).focused);
        const QRect heading = grid->cellRect(1, 0);
        QCOMPARE(image.pixelColor(heading.center()), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(390, 190), grid->color()); // beyond the last cell
        // the fixed line at the heading cell's right edge
        QCOMPARE(image.pixelColor(heading.right(), heading.center().y()).rgb(),
                 grid->palette().color(QPalette::Dark).rgb());
        grid->clearFocus();
        grab(*grid);
        QVERIFY(!state(0, 1).focused);
    }

    // A width of 0 leaves the column's width and headings as they were; the body is left alone.
    void setColumnsFillsHeadingsAndWidths() {
        auto grid = makeGrid(3, 6, 2);
        grid->setCell(1, 0, u"own 1"_s);
        grid->setCell(1, 1, u"own 2"_s);
        grid->setCell(0, 2, u"body"_s);
        const std::array<ColumnFormat, 3> table{{{"A", "a", 30, ColumnCentred},
                                                 {"C", "c", 0, ColumnRight},
                                                 {"D", "d", 50, ColumnRight}}};
        StrGrid format;
        format.AttachGrid(*grid);
        format.SetColumns(table);
        QCOMPARE((grid->rowTexts(0) + grid->rowTexts(1) + grid->rowTexts(2)).join(u'|'),
                 u"A|own 1|D|a|own 2|d|body||"_s);
        QCOMPARE(QList<int>({grid->colWidth(0), grid->colWidth(1), grid->colWidth(2)}),
                 QList<int>({30, 64, 50}));
    }

    void formatColoursAlignmentInsetsAndFocus() {
        // Row 1 holds a text that fits its cells, row 2 one wider than its cells.
        auto grid = makeGrid(3, 6);
        const QColor fixed(200, 210, 220);
        grid->setFixedColor(fixed);
        const std::array<ColumnFormat, 3> table{{{"Patch", "", 120, ColumnLeft},
                                                 {"R", "", 120, ColumnRight},
                                                 {"C", "", 121, ColumnCentred}}};
        StrGrid format;
        format.AttachGrid(*grid);
        format.SetColumns(table);
        UseStrGridDrawing(*grid);
        const QString text = u"HMH"_s;
        const QString wide = QString(30, u'M');
        for (int c = 0; c < 3; ++c) {
            grid->setCell(c, 1, text);
            grid->setCell(c, 2, wide);
        }
        QImage image = grab(*grid);
        const QPalette palette = grid->palette();
        const QColor window = palette.color(QPalette::Active, QPalette::Base);
        const QRect heading = grid->cellRect(0, 0);
        const QRect left = grid->cellRect(0, 1); // the selected cell: no highlight
        QCOMPARE(image.pixelColor(heading.topLeft()), fixed);
        QVERIFY(InkIs(image, heading, palette.color(QPalette::Active, QPalette::ButtonText)));
        QCOMPARE(image.pixelColor(left.topLeft()), window);
        QVERIFY(InkIs(image, left, Qt::black));
        QCOMPARE(CountColour(image, left, palette.color(QPalette::Highlight)), 0);

        const QPoint ink = ReferenceInk(grid->font(), text);
        const int advance = QFontMetrics(grid->font()).horizontalAdvance(text);
        const int inset = 8; // the point size of the grid font
        const QRect right = grid->cellRect(1, 1);
        const QRect centre = grid->cellRect(2, 1);
        QCOMPARE(InkBox(image, left, window).topLeft(),
                 left.topLeft() + QPoint(inset, 1) + ink); // one pixel below the top
        QCOMPARE(InkBox(image, right, window).left(),
                 right.right() + 1 - advance - inset + ink.x());
        QCOMPARE(InkBox(image, centre, window).left(),
                 centre.left() + (centre.width() - advance) / 2 + ink.x());
        // Too wide: right and centred texts start at the left edge; a left one keeps its inset.
        const int wideInk = ReferenceInk(grid->font(), wide).x();
        for (int c = 0; c < 3; ++c) {
            const QRect rect = grid->cellRect(c, 2);
            QCOMPARE(InkBox(image, rect, window).left(),
                     rect.left() + (c == 0 ? inset : 0) + wideInk);
        }

        const QRect box(10, 10, 80, 15);
        for (const bool focused : {false, true}) {
            QImage cell(120, 40, QImage::Format_RGB32);
            cell.fill(Qt::white);
            QPainter painter(&cell);
            format.DrawGridCell(*grid, painter, 1, 3, box, CellState{false, false, focused});
            painter.end();
            // An empty cell: all in the window colour but for a focus frame when focused.
            QCOMPARE(CountColour(cell, box, window) < box.width() * box.height(), focused);
        }

        // Disabled: grey text on the fixed colour, headings and body alike.
        grid->setEnabled(false);
        image = grab(*grid);
        for (const QRect& rect : {heading, left}) {
            QCOMPARE(image.pixelColor(rect.topLeft()), fixed);
            QCOMPARE(image.pixelColor(rect.bottomRight() - QPoint(1, 1)), fixed); // inside lines
            QVERIFY(InkIs(image, rect, palette.color(QPalette::Disabled, QPalette::Text)));
        }

        // A grid without column formats is not painted by the handler at all.
        auto plain = makeGrid(1, 3);
        QImage untouched(120, 40, QImage::Format_RGB32);
        untouched.fill(QColor(1, 2, 3));
        QPainter painter(&untouched);
        sgDrawCell(*plain, painter, 0, 1, box, CellState{});
        painter.end();
        QCOMPARE(CountColour(untouched, untouched.rect(), QColor(1, 2, 3)), 120 * 40);
    }

private:
    static std::unique_ptr<StringGrid> makeGrid(int cols, int rows, int fixedRows = 1) {
        auto grid = std::make_unique<StringGrid>();
        grid->setFont(QFont(u"DejaVu Sans"_s, 8));
        grid->setColCount(cols);
        grid->setRowCount(rows);
        grid->setFixedCols(0);
        grid->setFixedRows(fixedRows);
        grid->setDefaultRowHeight(18);
        grid->setGridLines(StringGrid::FixedVertLine | StringGrid::FixedHorzLine);
        grid->setFocusPolicy(Qt::NoFocus);
        grid->resize(400, 200);
        grid->show();
        QTEST_ASSERT(QTest::qWaitForWindowExposed(grid.get()));
        return grid;
    }
    static QImage grab(StringGrid& grid) {
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

QTEST_MAIN(StringGridTest)
#include "stringgrid_test.moc"
