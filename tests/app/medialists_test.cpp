#include "app/support/mainwindowfixture.h"

#include "app/detailstest.h"
#include "app/foldertree.h"
#include "app/stringgrid.h"
#include "media/core/medialist.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// The media centre's six lists: headings, filling, status texts, the tabs, the first
// column's width, the player's buttons by the selected file and the cell drawing.
class MediaListsTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    // Started on a folder without songs: the headings, blank lists filling the visible area, the
    // tabs of the media folders present, no player. Then each folder change fills the lists as
    // the core computes them (folders found whatever their letter case).
    void gridsShowTheCoreListsAndFollowFolderChanges() {
        writeFile(u"plain/MP3/song.mp3"_s, 4000);
        writeFile(u"plain/wav/take.wav"_s, 4000);
        writeFile(u"backup/WAV/take.wav"_s, 1000);
        writeFile(u"backup/MP3/a.mp3"_s, 2500);
        writeFile(u"backup/roland/smf/b.MID"_s, 10);
        writeFile(u"card/ROLAND/TONELOAD/t.wav"_s, 30);
        TFormMain& window = openIn(u"plain"_s);
        for (int tab = 0; tab < 6; ++tab) {
            StringGrid* g = grid(tab);
            QCOMPARE(window.PageControl2()->tabText(tab), MediaTabCaption(tab));
            QVERIFY(g->colCount() == 2 && g->fixedRows() == 1 && g->fixedCols() == 0);
            QVERIFY(g->defaultRowHeight() == 18 && g->rowSelect());
            QCOMPARE(g->rowTexts(0), (QStringList{u"Filename"_s, u"Size"_s}));
            QCOMPARE(g->colWidth(1),
                     g->fontMetrics().horizontalAdvance(u"5,555 MB"_s) + 2 * g->font().pointSize());
            QVERIFY(window.mediaStatusBars()[tab]->height() == 21 && status(tab).isEmpty());
            QVERIFY(g->rowCount() >= 2);
            for (int row = 1; row < g->rowCount(); ++row)
                QCOMPARE(g->rowTexts(row), (QStringList{QString(), QString()}));
            QCOMPARE(window.PageControl2()->isTabVisible(tab),
                     tab == MediaTabMP3 || tab == MediaTabWAV);
        }
        StringGrid* shown = grid(window.PageControl2()->currentIndex());
        QVERIFY(shown->rowCount() * 18 >= shown->viewport()->height() - 18);
        QVERIFY(window.LabelTime()->text() == u" 00:00:00 " && !window.MediaPlayer1()->isEnabled());
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"backup"_s)));
        const auto lists = RefreshMediaListContents(path(u"backup"_s), true);
        for (int tab : {MediaTabWAV, MediaTabMP3, MediaTabSMF}) {
            QCOMPARE(grid(tab)->rowCount(), lists[tab].count + 1);
            for (int row = 0; row < lists[tab].count; ++row)
                QCOMPARE(grid(tab)->rowTexts(row + 1), lists[tab].rows[row]);
            QCOMPARE(status(tab), lists[tab].statusText);
            QCOMPARE(window.mediaCounts()[tab], lists[tab].count);
        }
        QCOMPARE(grid(MediaTabWAV)->row(), 1);
        QVERIFY(window.MediaPlayer1()->isEnabled() && window.LabelTime()->isEnabled());
        QCOMPARE(status(MediaTabUSB), u" 0 Files     Total Size: 0.00 KB"_s);
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"card"_s)));
        QCOMPARE(window.mediaCounts(), (std::array<int, 6>{0, 1, 0, 0, 0, 0}));
        QCOMPARE(grid(MediaTabSMF)->cell(0, 1), QString());
        QVERIFY(window.PageControl2()->isTabVisible(MediaTabToneLoad) &&
                !window.PageControl2()->isTabVisible(MediaTabSMF));
    }

    // Cells are drawn alike in every list (Sketch too): the selected row highlighted, the others
    // on the window colour, names 8 pixels in, sizes ending 8 pixels before the right edge. Play
    // and Stop are enabled for a selected WAV, MP3 or MIDI name (any letter case) only, on a
    // click, a selection or a tab change; the tab change also fits the first column to the
    // window, never narrower than 158. Disabled: grey text on the fixed colour.
    void cellsButtonsAndFirstColumnFollowTheSelection() {
        for (const char* folder : {"backup/WAV/", "backup/Roland/Sketch/"}) {
            writeFile(QLatin1String(folder) + u"b.Wav"_s, 1000);
            writeFile(QLatin1String(folder) + u"c.mP3"_s, 2'500'000);
            writeFile(QLatin1String(folder) + u"d.txt"_s, 100);
        }
        writeFile(u"backup/MP3/readme.txt"_s, 100);
        TFormMain& window = openIn();
        QList<QImage> images;
        for (int tab : {MediaTabSketch, MediaTabWAV}) {
            window.PageControl2()->setCurrentIndex(tab);
            QTRY_VERIFY(grid(tab)->isVisible());
            images.append(grid(tab)->viewport()->grab().toImage());
        }
        QVERIFY(images[0] == images[1]);
        StringGrid* g = grid(MediaTabWAV);
        const QImage& image = images[1];
        const QRect selected = g->cellRect(0, 1);
        const QRect other = g->cellRect(0, 2);
        QCOMPARE(image.pixelColor(selected.topLeft() + QPoint(1, 1)),
                 g->palette().color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(image.pixelColor(other.topLeft() + QPoint(1, 1)),
                 g->palette().color(QPalette::Active, QPalette::Base));
        const auto dark = [](QColor c) { return c.lightness() < 128; };
        const QRect size = g->cellRect(1, 2);
        QVERIFY(detailstest::FirstX(image, size.adjusted(size.width() - 11, 0, -8, 0), dark) >= 0);
        QCOMPARE(detailstest::FirstX(image, size.adjusted(size.width() - 8, 0, 0, 0), dark), -1);
        QCOMPARE(detailstest::FirstX(image, other.adjusted(0, 0, 8 - other.width(), 0), dark), -1);
        window.resize(1200, 700);
        window.PageControl2()->setCurrentIndex(MediaTabMP3);
        QVERIFY(!window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play));
        g->setColWidth(0, 158);
        window.PageControl2()->setCurrentIndex(MediaTabWAV);
        QVERIFY(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play));
        QTRY_COMPARE(g->colWidth(0), g->viewport()->width() - g->colWidth(1) - 6);
        QVERIFY(g->colWidth(0) > 158);
        for (int row : {1, 3, 2}) { // b.Wav (already selected), d.txt, c.mP3
            const bool enabled = row != 3;
            // Start from the opposite state, so that the selection has to change it.
            window.MediaPlayer1()->setEnabledButtons(!enabled, !enabled);
            if (row == g->row())
                window.sgMediaCentreClick(g);
            else
                QVERIFY(g->selectCell(0, row));
            QCOMPARE(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play), enabled);
            QCOMPARE(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Stop), enabled);
        }
        g->setCell(0, 2, u"   "_s); // a blank cell disables both
        window.UpdatePlayerButtons(g);
        QVERIFY(!window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play) &&
                !window.MediaPlayer1()->isButtonEnabled(PlayerButton::Stop));
        g->setEnabled(false); // the selected row (now row 2) as well
        QCOMPARE(g->viewport()->grab().toImage().pixelColor(other.topLeft() + QPoint(1, 1)),
                 g->fixedColor());
        // Less room than 158 beside the size column: the first column stays 158 wide.
        for (StringGrid* each : window.mediaGrids())
            each->setColWidth(1, 2000);
        window.resize(900, 650);
        for (StringGrid* each : window.mediaGrids())
            QTRY_COMPARE(each->colWidth(0), 158);
    }

private:
    void writeFile(const QString& relative, qint64 size) {
        QVERIFY(files().writeSizedFile(relative, size));
    }
    StringGrid* grid(int tab) const { return m_window->mediaGrids()[tab]; }
    QString status(int tab) const { return m_window->mediaStatusBars()[tab]->text(); }
};

QTEST_MAIN(MediaListsTest)
#include "medialists_test.moc"
