#include "app/gridutil.h"
#include "app/songlistview.h"
#include "app/support/cardsongs.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "transfer/sizetext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The song list on its own: filling, status text, clipboard text and the owner-drawn cells.
class SongListViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void headingsAndColumnWidths();
    void oneSongStatusHasNoPlural();
    void twentyThenThreeSongsShrinksGrid();
    void folderWithoutSongsKeepsBlankRows();
    void clickOnSongRowAsksForDetailsBlankRowDoesNot();
    void clipboardTextMatchesCompanion();
    void renamedNameShowsInGridAndClipboard();
    void enabledColoursAndAlignment();
    void disabledColours();

private:
    QString makeCard(int songs);
    void load(const QString& folder);
    QImage grabGrid();
    // The leftmost and rightmost columns inside `rect` holding a pixel unlike `background`.
    static std::pair<int, int> inkSpan(const QImage& image, const QRect& rect,
                                       const QColor& background);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SOV_Info> m_info;
    std::unique_ptr<SongListView> m_view;
    int m_cards = 0;
};

void SongListViewTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void SongListViewTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_info = std::make_unique<SOV_Info>();
    m_view = std::make_unique<SongListView>(*m_info);
    m_view->resize(560, 420);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void SongListViewTest::cleanup() {
    m_view.reset();
    m_info.reset();
    m_dir.reset();
}

QString SongListViewTest::makeCard(int songs) {
    const QString root = m_dir->path() + QStringLiteral("/card%1").arg(++m_cards);
    CardFixture card(root);
    if (songs > 0)
        WriteNumberedSongs(card, songs);
    else
        card.makeFolder(QStringLiteral("Roland/BR0"));
    return root;
}

void SongListViewTest::load(const QString& folder) {
    m_info->LoadFolder(folder);
    m_view->FillSongList();
}

QImage SongListViewTest::grabGrid() {
    return m_view->grid()->viewport()->grab().toImage();
}

std::pair<int, int> SongListViewTest::inkSpan(const QImage& image, const QRect& rect,
                                              const QColor& background) {
    int left = -1;
    int right = -1;
    for (int x = rect.left() + 1; x < rect.right(); ++x) {
        for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
            if (image.pixelColor(x, y).rgb() != background.rgb()) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
        }
    }
    return {left, right};
}

void SongListViewTest::headingsAndColumnWidths() {
    StringGrid* grid = m_view->grid();
    QCOMPARE(grid->colCount(), 6);
    QCOMPARE(grid->rowCount(), 10);
    QCOMPARE(grid->fixedRows(), 1);
    QCOMPARE(grid->fixedCols(), 0);
    QCOMPARE(grid->rowHeight(3), 18);
    QCOMPARE(grid->rowTexts(0), SongListHeadings());
    QCOMPARE(grid->colWidth(0), 80);
    QCOMPARE(grid->colWidth(1), 80);
    QCOMPARE(grid->colWidth(2), grid->fontMetrics().horizontalAdvance(QStringLiteral("5,555 MB")) +
                                    2 * FontPointPixels(grid->font()));
    QCOMPARE(grid->colWidth(3), 74);
    QCOMPARE(grid->colWidth(4), 62);
    QCOMPARE(grid->colWidth(5), 98);
    QVERIFY(grid->rowSelect());
}

void SongListViewTest::oneSongStatusHasNoPlural() {
    load(makeCard(1));
    QCOMPARE(m_view->grid()->rowCount(), 2);
    QCOMPARE(m_view->statusText(),
             QStringLiteral(" 1 Song     Total Size: ") +
                 FormatSizeText(static_cast<std::int64_t>(m_info->songs()[0].size), SizeUnitAuto));
    QCOMPARE(m_view->grid()->rowTexts(1), SongListRow(m_info->songs()[0]));
    QCOMPARE(m_view->grid()->cell(1, 1), QStringLiteral("Song 1  "));
}

void SongListViewTest::twentyThenThreeSongsShrinksGrid() {
    load(makeCard(20));
    QCOMPARE(m_view->grid()->rowCount(), 21);
    QVERIFY(m_view->statusText().startsWith(QStringLiteral(" 20 Songs     Total Size: ")));
    for (int i = 0; i < 20; ++i)
        QCOMPARE(m_view->grid()->rowTexts(i + 1), SongListRow(m_info->songs()[i]));
    m_view->grid()->selectCell(0, 20);

    load(makeCard(3));
    QCOMPARE(m_view->grid()->rowCount(), 4);
    QCOMPARE(m_view->grid()->row(), 1);
    QCOMPARE(m_view->grid()->cell(0, 3), QStringLiteral("SONG003"));
    QVERIFY(m_view->statusText().startsWith(QStringLiteral(" 3 Songs ")));
}

void SongListViewTest::folderWithoutSongsKeepsBlankRows() {
    load(makeCard(20));
    load(makeCard(0));
    StringGrid* grid = m_view->grid();
    QCOMPARE(grid->rowCount(), 21);
    for (int row = 1; row < 21; ++row)
        QVERIFY(IsGridRowBlank(*grid, row));
    QCOMPARE(grid->rowTexts(0), SongListHeadings());
    QCOMPARE(m_view->statusText(), QString());
    QCOMPARE(grid->row(), 1);
}

void SongListViewTest::clickOnSongRowAsksForDetailsBlankRowDoesNot() {
    load(makeCard(3));
    QSignalSpy chosen(m_view.get(), &SongListView::songChosen);
    StringGrid* grid = m_view->grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 2).center());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(m_view->selectedSongId(), QStringLiteral("SONG002"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 2).center());
    QCOMPARE(chosen.count(), 2); // the selected row again

    load(makeCard(0)); // the refill moves the selection onto a blank row
    QCOMPARE(chosen.count(), 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 3).center());
    QCOMPARE(chosen.count(), 2);
}

void SongListViewTest::clipboardTextMatchesCompanion() {
    load(makeCard(2));
    m_view->CopySongListtoClipboard1Click();
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(text, SongListClipboardText(m_info->songs(), m_view->grid()->rowCount()));
    const QStringList songs = {m_view->grid()->rowTexts(1).join(u'\t'),
                               m_view->grid()->rowTexts(2).join(u'\t')};
    QCOMPARE(text, QStringLiteral("Song\tName\tSize\tData Type\tProtected\tCreated with\r\n") +
                       songs[0] + QStringLiteral("\r\n") + songs[1] + QStringLiteral("\r\n\r\n") +
                       m_view->statusText() + QStringLiteral("\r\n\r\n"));
}

void SongListViewTest::renamedNameShowsInGridAndClipboard() {
    load(makeCard(2));
    m_view->grid()->selectCell(0, 2);
    m_view->setSelectedName(QStringLiteral("Verse"));
    QCOMPARE(m_view->grid()->cell(1, 2), QStringLiteral("Verse"));
    QVERIFY(m_view->clipboardText().contains(QStringLiteral("SONG002\tVerse\t")));
}

void SongListViewTest::enabledColoursAndAlignment() {
    load(makeCard(3));
    StringGrid* grid = m_view->grid();
    grid->setFixedColor(QColor(200, 200, 200));
    const QPalette palette = grid->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor window = palette.color(QPalette::Active, QPalette::Base);
    const QImage image = grabGrid();
    const int p = FontPointPixels(grid->font());

    const QRect heading = grid->cellRect(3, 0);
    QCOMPARE(image.pixelColor(heading.left() + 1, heading.top() + 1).rgb(),
             QColor(200, 200, 200).rgb());
    const QRect selected = grid->cellRect(4, 1);
    QCOMPARE(image.pixelColor(selected.left() + 2, selected.top() + 1).rgb(), highlight.rgb());
    const QRect plain = grid->cellRect(4, 2);
    QCOMPARE(image.pixelColor(plain.left() + 2, plain.top() + 1).rgb(), window.rgb());

    // Left column: text starts P pixels in (a glyph may start a pixel later).
    auto [left0, right0] = inkSpan(image, grid->cellRect(0, 2), window);
    Q_UNUSED(right0);
    QVERIFY2(left0 >= grid->cellRect(0, 2).left() + p &&
                 left0 <= grid->cellRect(0, 2).left() + p + 2,
             qPrintable(QString::number(left0)));
    // Size column: text ends P pixels before the right edge.
    const QRect size = grid->cellRect(2, 2);
    auto [left2, right2] = inkSpan(image, size, window);
    const int end = size.left() + size.width() - p;
    QVERIFY2(right2 < end && right2 >= end - 3, qPrintable(QString::number(right2)));
    QVERIFY(left2 > size.left() + p);
    // Data Type column: centred.
    const QRect mode = grid->cellRect(3, 2);
    auto [left3, right3] = inkSpan(image, mode, window);
    QVERIFY(left3 > 0);
    QVERIFY(std::abs((left3 + right3) / 2 - mode.center().x()) <= 2);
    // Selected row text is drawn in the window colour.
    auto [leftS, rightS] = inkSpan(image, grid->cellRect(0, 1), highlight);
    QVERIFY(leftS > 0 && rightS > leftS);
}

void SongListViewTest::disabledColours() {
    load(makeCard(2));
    StringGrid* grid = m_view->grid();
    grid->setEnabled(false);
    const QImage image = grabGrid();
    const QColor fixed = grid->fixedColor();
    for (int row = 0; row < 3; ++row) {
        const QRect rect = grid->cellRect(4, row);
        QCOMPARE(image.pixelColor(rect.left() + 2, rect.top() + 1).rgb(), fixed.rgb());
    }
    // Text in grey: every text pixel is the grey-text colour blended on the fixed colour,
    // never black.
    const QRect name = grid->cellRect(0, 2);
    bool sawInk = false;
    for (int x = name.left(); x <= name.right(); ++x) {
        for (int y = name.top(); y <= name.bottom(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.rgb() != fixed.rgb()) {
                sawInk = true;
                QVERIFY(c.lightness() > 60);
            }
        }
    }
    QVERIFY(sawInk);
}

QTEST_MAIN(SongListViewTest)
#include "songlistview_test.moc"
