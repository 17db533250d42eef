#include "app/detailstest.h"
#include "app/gridutil.h"
#include "app/songlistview.h"
#include "app/support/cardsongs.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace detailstest;

// The song list on its own: the window shows what the song list texts compute, passes
// clicks on, and paints its cells itself.
class SongListViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QStandardPaths::setTestModeEnabled(true);
        m_view.reset();
        m_info = std::make_unique<SOV_Info>();
        m_view = std::make_unique<SongListView>(*m_info);
        m_view->resize(560, 420);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void columnsRefillsClicksAndClipboard() {
        StringGrid* grid = m_view->grid();
        QCOMPARE(grid->rowCount(), 10);
        QCOMPARE(grid->rowHeight(3), 18);
        QCOMPARE(grid->rowTexts(0), SongListHeadings());
        const int sizeWidth = grid->fontMetrics().horizontalAdvance(u"5,555 MB"_s) +
                              2 * FontPointPixels(grid->font());
        const int widths[] = {80, 80, sizeWidth, 74, 62, 98};
        for (int col = 0; col < 6; ++col)
            QCOMPARE(grid->colWidth(col), widths[col]);

        load(20);
        QCOMPARE(grid->rowCount(), 21);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(grid->rowTexts(i + 1), SongListRow(m_info->songs()[i]));
        QCOMPARE(m_view->statusText(), SongListStatusText(m_info->songs()));
        QSignalSpy chosen(m_view.get(), &SongListView::songChosen);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 2).center());
        QCOMPARE(m_view->selectedSongId(), u"SONG002"_s);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 2).center());
        QCOMPARE(chosen.count(), 2); // the selected row again
        m_view->setSelectedName(u"Verse"_s);
        QCOMPARE(grid->cell(1, 2), u"Verse"_s);
        m_view->CopySongListtoClipboard1Click();
        std::vector<SongListItem> songs = m_info->songs();
        songs[1].name = u"Verse"_s;
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 SongListClipboardText(songs, grid->rowCount()));

        // A folder without songs keeps the rows, blank, clears the status and takes no clicks.
        QVERIFY(grid->selectCell(0, 20));
        chosen.clear();
        load(0);
        QCOMPARE(grid->rowCount(), 21);
        for (int row = 1; row < 21; ++row)
            QVERIFY(IsGridRowBlank(*grid, row));
        QCOMPARE(m_view->statusText(), QString());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 3).center());
        QCOMPARE(chosen.count(), 0);
        load(3);
        QCOMPARE(grid->rowCount(), 4);

        // Cell colours and alignment.
        const QPalette palette = grid->palette();
        const QColor window = palette.color(QPalette::Active, QPalette::Base);
        QImage image = grid->viewport()->grab().toImage();
        const int p = FontPointPixels(grid->font());
        auto inside = [&](int col, int row) {
            return grid->cellRect(col, row).adjusted(1, 1, -1, -1);
        };

        QVERIFY(InkIs(image, inside(0, 0), palette.color(QPalette::Active, QPalette::ButtonText)));
        QVERIFY(InkIs(image, inside(0, 2), Qt::black));
        // The selected row's text is drawn in the window colour on the highlight.
        QVERIFY(CountColour(image, inside(0, 1), window) > 0);
        QCOMPARE(CountColour(image, inside(0, 1), Qt::black), 0);

        // Left column: text starts P pixels in (a glyph may start a pixel later); size column: text
        // ends P pixels before the right edge; Data Type and Protected columns: centred.
        const QRect name = grid->cellRect(0, 2);
        const int left = InkBox(image, name, window).left();
        QVERIFY(left >= name.left() + p && left <= name.left() + p + 2);
        const QRect size = grid->cellRect(2, 2);
        const int end = size.left() + size.width() - p;
        QVERIFY(InkBox(image, size, window).right() < end &&
                InkBox(image, size, window).right() >= end - 3);
        for (const int col : {3, 4}) {
            const QRect ink = InkBox(image, grid->cellRect(col, 2), window);
            QVERIFY(std::abs(ink.center().x() - grid->cellRect(col, 2).center().x()) <= 2);
        }

        // Disabled: grey text on the fixed colour in every row.
        grid->setEnabled(false);
        image = grid->viewport()->grab().toImage();
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(image.pixelColor(inside(4, row).topLeft()).rgb(), grid->fixedColor().rgb());
            QVERIFY(
                InkIs(image, inside(0, row), palette.color(QPalette::Disabled, QPalette::Text)));
        }
    }

private:
    // Loads a fresh card with `songs` numbered songs (none: an empty song folder).
    void load(int songs) {
        const QString root = m_dir.path() + u"/card%1"_s.arg(++m_cards);
        CardFixture card(root);
        if (songs > 0)
            QVERIFY(WriteNumberedSongs(card, songs));
        else
            QVERIFY(card.makeFolder(u"Roland/BR0"_s));
        m_info->LoadFolder(root);
        m_view->FillSongList();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SOV_Info> m_info;
    std::unique_ptr<SongListView> m_view;
    int m_cards = 0;
};

QTEST_MAIN(SongListViewTest)
#include "songlistview_test.moc"
