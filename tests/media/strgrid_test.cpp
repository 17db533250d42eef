#include "app/detailstest.h"
#include "app/stringgrid.h"
#include "card/gridcolumns.h"
#include "media/strgrid.h"

#include <QTest>
#include <memory>

using namespace detailstest;

// Column formats of the details grids: headings and widths put into the grid, and the
// cell painter's colours and text placement checked on grabbed images.
class StrGridTest : public QObject {
    Q_OBJECT
private slots:
    void arrangementHeadingsTakeTwoLines();
    void widthZeroKeepsDefaultWidthAndHeadings();
    void effectFormatServesFiveGridsCutToThreeColumns();
    void enabledCellsUseWindowAndFixedColours();
    void disabledGridIsGreyOnFixedColour();
    void alignmentInsetsAndCentring();
    void drawHandlerRoutesByGrid();
    void focusedCellGetsAFocusRectangle();

private:
    static std::unique_ptr<StringGrid> makeGrid(int cols, int rows, int fixedRows);
    static QImage grab(StringGrid& grid);
};

std::unique_ptr<StringGrid> StrGridTest::makeGrid(int cols, int rows, int fixedRows) {
    auto grid = std::make_unique<StringGrid>();
    grid->setFont(GridFont());
    grid->setDefaultRowHeight(15);
    grid->setColCount(cols);
    grid->setRowCount(rows);
    grid->setFixedCols(0);
    grid->setFixedRows(fixedRows);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->resize(600, 200);
    return grid;
}

QImage StrGridTest::grab(StringGrid& grid) {
    return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void StrGridTest::arrangementHeadingsTakeTwoLines() {
    auto grid = makeGrid(7, 52, 2);
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(ArrangeColumns);
    QCOMPARE(grid->cell(1, 0), QStringLiteral("Starting"));
    QCOMPARE(grid->cell(1, 1), QStringLiteral("Measure"));
    QCOMPARE(grid->cell(0, 0), QString());
    QCOMPARE(grid->cell(0, 1), QStringLiteral("Step"));
    QCOMPARE(grid->cell(6, 0), QStringLiteral("Time"));
    QCOMPARE(grid->cell(6, 1), QStringLiteral("Signature"));
    const int widths[] = {30, 50, 42, 122, 44, 42, 54};
    for (int c = 0; c < 7; ++c)
        QCOMPARE(grid->colWidth(c), widths[c]);
    QCOMPARE(grid->cell(0, 2), QString()); // the body is left alone
}

void StrGridTest::widthZeroKeepsDefaultWidthAndHeadings() {
    auto grid = makeGrid(4, 6, 2);
    grid->setDefaultColWidth(64);
    grid->setCell(2, 0, QStringLiteral("own 1"));
    grid->setCell(2, 1, QStringLiteral("own 2"));
    const std::array<ColumnFormat, 4> table{{
        {"A", "a", 30, ColumnCentred},
        {"B", "b", 40, ColumnLeft},
        {"C", "c", 0, ColumnRight},
        {"D", "d", 50, ColumnRight},
    }};
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(table);
    QCOMPARE(grid->colWidth(2), 64);
    QCOMPARE(grid->cell(2, 0), QStringLiteral("own 1"));
    QCOMPARE(grid->cell(2, 1), QStringLiteral("own 2"));
    QCOMPARE(grid->colWidth(3), 50);
    QCOMPARE(grid->cell(3, 1), QStringLiteral("d"));
    QCOMPARE(format.columns[2].alignment, int(ColumnRight)); // the descriptor is still kept
}

void StrGridTest::effectFormatServesFiveGridsCutToThreeColumns() {
    StrGrid format;
    std::vector<std::unique_ptr<StringGrid>> grids;
    for (int b = 0; b < 5; ++b) {
        grids.push_back(makeGrid(4, 20, 1));
        format.AttachGrid(*grids.back());
        format.SetColumns(EffectColumns);
        grids.back()->setColCount(EffectShownColumns);
    }
    QCOMPARE(format.grid, grids.back().get());
    for (const auto& grid : grids) {
        QCOMPARE(grid->colCount(), 3);
        QCOMPARE(grid->rowTexts(0), (QStringList{QStringLiteral("Patch"), QStringLiteral("Name"),
                                                 QStringLiteral("Algorithm")}));
        QCOMPARE(grid->colWidth(0), 70);
        QCOMPARE(grid->colWidth(2), 120);
        QCOMPARE(AttachedStrGrid(*grid), &format);
    }
    QCOMPARE(format.columns[3].width, 30);
}

void StrGridTest::enabledCellsUseWindowAndFixedColours() {
    auto grid = makeGrid(3, 6, 1);
    grid->setFixedColor(QColor(200, 210, 220));
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(EffectColumns);
    UseStrGridDrawing(*grid);
    grid->setCell(1, 2, QStringLiteral("CLEAN"));
    QVERIFY(grid->selectCell(1, 2)); // no highlight for the selected cell
    const QImage image = grab(*grid);
    const QColor window = grid->palette().color(QPalette::Active, QPalette::Base);
    const QRect heading = grid->cellRect(0, 0);
    const QRect body = grid->cellRect(1, 2);
    QCOMPARE(image.pixelColor(heading.topLeft()), QColor(200, 210, 220));
    QCOMPARE(image.pixelColor(body.topLeft()), window);
    QCOMPARE(image.pixelColor(body.bottomRight()), window);
    QVERIFY(InkIs(image, body, Qt::black));
    QCOMPARE(CountColour(image, body, grid->palette().color(QPalette::Highlight)), 0);
    const QColor buttonText = grid->palette().color(QPalette::Active, QPalette::ButtonText);
    QVERIFY(InkIs(image, heading, buttonText));
}

void StrGridTest::disabledGridIsGreyOnFixedColour() {
    auto grid = makeGrid(3, 6, 1);
    grid->setFixedColor(QColor(200, 210, 220));
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(EffectColumns);
    UseStrGridDrawing(*grid);
    grid->setCell(0, 1, QStringLiteral("GTR S001"));
    grid->setCell(1, 1, QStringLiteral("CLEAN"));
    grid->setCell(2, 1, QStringLiteral("COSM GTR AMP"));
    grid->setEnabled(false);
    const QImage image = grab(*grid);
    const QColor grey = grid->palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect rect = grid->cellRect(col, row);
            QCOMPARE(image.pixelColor(rect.topLeft()), QColor(200, 210, 220));
            QCOMPARE(image.pixelColor(rect.bottomRight()), QColor(200, 210, 220));
            QVERIFY2(InkIs(image, rect, grey), qPrintable(grid->cell(col, row)));
        }
    }
}

void StrGridTest::alignmentInsetsAndCentring() {
    // Row 1 holds a text that fits its cells, row 2 one wider than its cells.
    auto grid = makeGrid(3, 4, 1);
    const std::array<ColumnFormat, 3> table{{
        {"L", "", 120, ColumnLeft},
        {"R", "", 120, ColumnRight},
        {"C", "", 121, ColumnCentred},
    }};
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(table);
    UseStrGridDrawing(*grid);
    const QString text = QStringLiteral("HMH");
    const QString wide = QString(30, u'M');
    for (int c = 0; c < 3; ++c) {
        grid->setCell(c, 1, text);
        grid->setCell(c, 2, wide);
    }
    const QImage image = grab(*grid);
    const QColor window = grid->palette().color(QPalette::Active, QPalette::Base);
    const auto reference = ReferenceInk(grid->font(), text);
    const int advance = QFontMetrics(grid->font()).horizontalAdvance(text);
    const int inset = grid->font().pointSize();
    QCOMPARE(inset, 8);

    const QRect left = grid->cellRect(0, 1);
    QCOMPARE(InkExtent(image, left, window).left, left.left() + inset + reference.left);
    const QRect right = grid->cellRect(1, 1);
    const int rightX = right.left() + right.width() - advance - inset;
    QCOMPARE(InkExtent(image, right, window).left, rightX + reference.left);
    const QRect centre = grid->cellRect(2, 1);
    const int centreX = centre.left() + (centre.width() - advance) / 2;
    QCOMPARE(InkExtent(image, centre, window).left, centreX + reference.left);
    // One pixel below the cell's top.
    QCOMPARE(InkTop(image, left, window), left.top() + 1 + reference.top);

    // Too wide: right and centred texts start at the left edge; a left one keeps its inset.
    const auto wideInk = ReferenceInk(grid->font(), wide);
    for (int c = 0; c < 3; ++c) {
        const QRect rect = grid->cellRect(c, 2);
        QCOMPARE(InkExtent(image, rect, window).left,
                 rect.left() + (c == 0 ? inset : 0) + wideInk.left);
    }
}

void StrGridTest::drawHandlerRoutesByGrid() {
    auto leftGrid = makeGrid(1, 3, 1);
    auto rightGrid = makeGrid(1, 3, 1);
    auto plainGrid = makeGrid(1, 3, 1);
    const std::array<ColumnFormat, 1> leftTable{{{"", "", 100, ColumnLeft}}};
    const std::array<ColumnFormat, 1> rightTable{{{"", "", 100, ColumnRight}}};
    StrGrid leftFormat;
    StrGrid rightFormat;
    leftFormat.AttachGrid(*leftGrid);
    leftFormat.SetColumns(leftTable);
    rightFormat.AttachGrid(*rightGrid);
    rightFormat.SetColumns(rightTable);
    const QString text = QStringLiteral("HH");
    for (StringGrid* grid : {leftGrid.get(), rightGrid.get(), plainGrid.get()}) {
        UseStrGridDrawing(*grid);
        grid->setCell(0, 1, text);
    }
    const QColor window = leftGrid->palette().color(QPalette::Active, QPalette::Base);
    const auto reference = ReferenceInk(leftGrid->font(), text);
    const int advance = QFontMetrics(leftGrid->font()).horizontalAdvance(text);
    const QRect rect = leftGrid->cellRect(0, 1);
    QCOMPARE(InkExtent(grab(*leftGrid), rect, window).left, rect.left() + 8 + reference.left);
    QCOMPARE(InkExtent(grab(*rightGrid), rect, window).left,
             rect.left() + 100 - advance - 8 + reference.left);

    // A grid without column formats is not painted by the handler at all.
    QImage untouched(plainGrid->viewport()->size(), QImage::Format_RGB32);
    untouched.fill(QColor(1, 2, 3));
    {
        QPainter painter(&untouched);
        sgDrawCell(*plainGrid, painter, 0, 1, rect, CellState{});
    }
    QCOMPARE(CountColour(untouched, rect, QColor(1, 2, 3)), rect.width() * rect.height());
}

void StrGridTest::focusedCellGetsAFocusRectangle() {
    auto grid = makeGrid(3, 4, 1);
    StrGrid format;
    format.AttachGrid(*grid);
    format.SetColumns(EffectColumns);
    const QRect rect(10, 10, 80, 15);
    const QColor window = grid->palette().color(QPalette::Active, QPalette::Base);
    for (const bool focused : {false, true}) {
        QImage image(120, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(grid->font());
            CellState state;
            state.focused = focused;
            format.DrawGridCell(*grid, painter, 1, 2, rect, state); // an empty cell
        }
        const QRect border(rect.left(), rect.top(), rect.width(), 1);
        const int plain = CountColour(image, border, window);
        QCOMPARE(plain < border.width(), focused);
        QCOMPARE(CountColour(image, rect.adjusted(2, 2, -2, -2), window),
                 (rect.width() - 4) * (rect.height() - 4));
    }
}

QTEST_MAIN(StrGridTest)
#include "strgrid_test.moc"
