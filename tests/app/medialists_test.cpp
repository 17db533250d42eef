#include "app/support/mainwindowfixture.h"

#include "app/foldertree.h"
#include "app/stringgrid.h"
#include "media/core/medialist.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

// The media centre's six lists: headings, filling, status texts, the tabs, the first
// column's width, the player's buttons by the selected file and the cell drawing.
class MediaListsTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    void headingsAndColumnsAtStart();
    void oneFileOfOneKilobyte();
    void subfolderCountsAsAFileOfNoSize();
    void listsFollowFolderChanges();
    void buttonsFollowTheSelectedName_data();
    void buttonsFollowTheSelectedName();
    void noSongsBlankListsWithTabsShown();
    void narrowWindowKeepsFirstColumn();
    void tabChangeFitsAndUpdatesButtons();
    void sketchDrawnLikeTheOthers();
    void cellColoursAndAlignment();

private:
    void writeFile(const QString& relative, qint64 size) {
        QVERIFY(QDir().mkpath(QFileInfo(path(relative)).path()));
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(size, 'x')) == size);
    }
    TFormMain& openBackup() {
        writeSettings(defaultDirSettings(QStringLiteral("backup")));
        return open();
    }
    StringGrid* grid(int tab) const { return m_window->mediaGrids()[tab]; }
    QString status(int tab) const { return m_window->mediaStatusBars()[tab]->text(); }
    int rowOf(int tab, const QString& name) const {
        for (int row = 1; row < grid(tab)->rowCount(); ++row) {
            if (grid(tab)->cell(0, row) == name)
                return row;
        }
        return -1;
    }
};

void MediaListsTest::headingsAndColumnsAtStart() {
    TFormMain& window = open(false); // no settings: the home folder, no songs
    QCOMPARE(window.mediaGrids().size(), 6);
    QCOMPARE(window.mediaStatusBars().size(), 6);
    const QStringList captions = {QStringLiteral("SMF"), QStringLiteral("Tone Load"),
                                  QStringLiteral("USB"), QStringLiteral("MP3"),
                                  QStringLiteral("WAV"), QStringLiteral("Sketch")};
    for (int tab = 0; tab < 6; ++tab) {
        StringGrid* g = grid(tab);
        QCOMPARE(window.PageControl2()->tabText(tab), captions[tab]);
        QCOMPARE(g->colCount(), 2);
        QCOMPARE(g->fixedRows(), 1);
        QCOMPARE(g->fixedCols(), 0);
        QCOMPARE(g->defaultRowHeight(), 18);
        QVERIFY(g->rowSelect());
        QCOMPARE(g->cell(0, 0), QStringLiteral("Filename"));
        QCOMPARE(g->cell(1, 0), QStringLiteral("Size"));
        QCOMPARE(g->colWidth(1), g->fontMetrics().horizontalAdvance(QStringLiteral("5,555 MB")) +
                                     2 * g->font().pointSize());
        QVERIFY(g->colWidth(0) >= 158);
        QCOMPARE(window.mediaStatusBars()[tab]->height(), 21);
    }
    QCOMPARE(window.LabelTime()->text(), QStringLiteral(" 00:00:00 "));
    QVERIFY(!window.MediaPlayer1()->isEnabled());
}

void MediaListsTest::oneFileOfOneKilobyte() {
    writeFile(QStringLiteral("backup/WAV/take.wav"), 1000);
    TFormMain& window = openBackup();
    QCOMPARE(grid(MediaTabWAV)->rowCount(), 2);
    QCOMPARE(grid(MediaTabWAV)->rowTexts(1),
             (QStringList{QStringLiteral("take.wav"), FormatSizeText(1000, SizeUnitAuto)}));
    QCOMPARE(FormatSizeText(1000, SizeUnitAuto), QStringLiteral("1 KB"));
    QCOMPARE(status(MediaTabWAV), QStringLiteral(" 1 File     Total Size: 1 KB"));
    QCOMPARE(window.mediaCounts()[MediaTabWAV], 1);
    QCOMPARE(grid(MediaTabWAV)->row(), 1);
    QVERIFY(window.MediaPlayer1()->isEnabled());
    QVERIFY(window.LabelTime()->isEnabled());
    // The other lists hold nothing: one blank row, no files.
    QCOMPARE(grid(MediaTabSMF)->rowCount(), 2);
    QCOMPARE(grid(MediaTabSMF)->cell(0, 1), QString());
    QCOMPARE(status(MediaTabSMF), QStringLiteral(" 0 Files     Total Size: 0.00 KB"));
}

void MediaListsTest::subfolderCountsAsAFileOfNoSize() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("backup/MP3/Live set"))));
    writeFile(QStringLiteral("backup/MP3/.hidden.mp3"), 50);
    writeFile(QStringLiteral("backup/MP3/a.mp3"), 2500);
    TFormMain& window = openBackup();
    QCOMPARE(grid(MediaTabMP3)->rowCount(), 3);
    QCOMPARE(grid(MediaTabMP3)->rowTexts(1),
             (QStringList{QStringLiteral("a.mp3"), FormatSizeText(2500, SizeUnitAuto)}));
    QCOMPARE(grid(MediaTabMP3)->rowTexts(2),
             (QStringList{QStringLiteral("Live set"), QStringLiteral("0.00 KB")}));
    QCOMPARE(status(MediaTabMP3),
             QStringLiteral(" 2 Files     Total Size: ") + FormatSizeText(2500, SizeUnitKB));
    QCOMPARE(window.mediaCounts()[MediaTabMP3], 2);
}

void MediaListsTest::listsFollowFolderChanges() {
    // Media folders in other letter cases, in both card roots.
    writeFile(QStringLiteral("backup/roland/smf/b.MID"), 10);
    writeFile(QStringLiteral("backup/roland/smf/A.mid"), 20);
    writeFile(QStringLiteral("card/ROLAND/TONELOAD/t.wav"), 30);
    TFormMain& window = openBackup();
    QVERIFY(window.PageControl2()->isTabVisible(MediaTabSMF));
    QCOMPARE(grid(MediaTabSMF)->cell(0, 1), QStringLiteral("A.mid"));
    QCOMPARE(grid(MediaTabSMF)->cell(0, 2), QStringLiteral("b.MID"));
    QCOMPARE(window.mediaCounts(), (std::array<int, 6>{2, 0, 0, 0, 0, 0}));
    // Files added later appear with the next folder change only.
    writeFile(QStringLiteral("backup/roland/smf/c.mid"), 5);
    QCOMPARE(grid(MediaTabSMF)->rowCount(), 3);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
    QCOMPARE(window.mediaCounts(), (std::array<int, 6>{0, 1, 0, 0, 0, 0}));
    QCOMPARE(grid(MediaTabSMF)->cell(0, 1), QString());
    QVERIFY(window.PageControl2()->isTabVisible(MediaTabToneLoad));
    QVERIFY(!window.PageControl2()->isTabVisible(MediaTabSMF));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    QCOMPARE(window.mediaCounts()[MediaTabSMF], 3);
    QCOMPARE(window.playerDeviceType(), 0);
}

void MediaListsTest::buttonsFollowTheSelectedName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("MID") << QStringLiteral("a.MID") << true;
    QTest::newRow("Wav") << QStringLiteral("b.Wav") << true;
    QTest::newRow("mP3") << QStringLiteral("c.mP3") << true;
    QTest::newRow("txt") << QStringLiteral("d.txt") << false;
    QTest::newRow("no dot") << QStringLiteral("e") << false;
    QTest::newRow("midi") << QStringLiteral("f.midi") << false;
}

void MediaListsTest::buttonsFollowTheSelectedName() {
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    for (const char* file : {"a.MID", "b.Wav", "c.mP3", "d.txt", "e", "f.midi"})
        writeFile(QStringLiteral("backup/WAV/") + QLatin1String(file), 100);
    TFormMain& window = openBackup();
    window.PageControl2()->setCurrentIndex(MediaTabWAV);
    // Start from the opposite state, so that the selection has to change it.
    window.MediaPlayer1()->setEnabledButtons(!enabled, !enabled);
    const int row = rowOf(MediaTabWAV, name);
    QVERIFY(row > 0);
    if (row == grid(MediaTabWAV)->row())
        window.sgMediaCentreClick(grid(MediaTabWAV));
    else
        QVERIFY(grid(MediaTabWAV)->selectCell(0, row));
    QCOMPARE(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play), enabled);
    QCOMPARE(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Stop), enabled);
    // A blank cell disables both.
    grid(MediaTabWAV)->setCell(0, row, QStringLiteral("   "));
    window.UpdatePlayerButtons(grid(MediaTabWAV));
    QVERIFY(!window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play));
    QVERIFY(!window.MediaPlayer1()->isButtonEnabled(PlayerButton::Stop));
}

void MediaListsTest::noSongsBlankListsWithTabsShown() {
    writeFile(QStringLiteral("plain/MP3/song.mp3"), 4000);
    writeFile(QStringLiteral("plain/wav/take.wav"), 4000);
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    for (int tab = 0; tab < 6; ++tab) {
        QCOMPARE(status(tab), QString());
        QVERIFY(grid(tab)->rowCount() >= 2);
        for (int row = 1; row < grid(tab)->rowCount(); ++row)
            QCOMPARE(grid(tab)->rowTexts(row), (QStringList{QString(), QString()}));
        QCOMPARE(window.PageControl2()->isTabVisible(tab),
                 tab == MediaTabMP3 || tab == MediaTabWAV);
    }
    // The blank rows fill the visible area of the list shown.
    StringGrid* shown = grid(window.PageControl2()->currentIndex());
    QVERIFY(shown->rowCount() * 18 >= shown->viewport()->height() - 18);
}

void MediaListsTest::narrowWindowKeepsFirstColumn() {
    writeFile(QStringLiteral("backup/WAV/take.wav"), 100);
    TFormMain& window = openBackup();
    window.resize(1200, 700);
    QTRY_VERIFY(grid(MediaTabWAV)->colWidth(0) > 158);
    // Less room than 158 beside the size column: the first column stays 158 wide.
    for (StringGrid* g : window.mediaGrids())
        g->setColWidth(1, 2000);
    window.resize(900, 650);
    for (StringGrid* g : window.mediaGrids())
        QTRY_COMPARE(g->colWidth(0), 158);
}

void MediaListsTest::tabChangeFitsAndUpdatesButtons() {
    writeFile(QStringLiteral("backup/WAV/take.wav"), 100);
    writeFile(QStringLiteral("backup/MP3/readme.txt"), 100);
    TFormMain& window = openBackup();
    window.resize(1200, 700);
    window.PageControl2()->setCurrentIndex(MediaTabMP3);
    QVERIFY(!window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play));
    grid(MediaTabWAV)->setColWidth(0, 158);
    window.PageControl2()->setCurrentIndex(MediaTabWAV);
    QVERIFY(window.MediaPlayer1()->isButtonEnabled(PlayerButton::Play));
    QTRY_VERIFY(grid(MediaTabWAV)->colWidth(0) > 158);
    QCOMPARE(grid(MediaTabWAV)->colWidth(0),
             grid(MediaTabWAV)->viewport()->width() - grid(MediaTabWAV)->colWidth(1) - 6);
}

void MediaListsTest::sketchDrawnLikeTheOthers() {
    for (const char* folder : {"backup/WAV/", "backup/Roland/Sketch/"}) {
        writeFile(QLatin1String(folder) + QStringLiteral("one.wav"), 1000);
        writeFile(QLatin1String(folder) + QStringLiteral("two.wav"), 2'500'000);
    }
    TFormMain& window = openBackup();
    QList<QImage> images;
    for (int tab : {MediaTabWAV, MediaTabSketch}) {
        window.PageControl2()->setCurrentIndex(tab);
        QTRY_VERIFY(grid(tab)->isVisible());
        images.append(grid(tab)->viewport()->grab().toImage());
    }
    QCOMPARE(images[0].size(), images[1].size());
    QVERIFY(images[0] == images[1]);
}

void MediaListsTest::cellColoursAndAlignment() {
    writeFile(QStringLiteral("backup/WAV/one.wav"), 1000);
    writeFile(QStringLiteral("backup/WAV/two.wav"), 2000);
    TFormMain& window = openBackup();
    window.PageControl2()->setCurrentIndex(MediaTabWAV);
    StringGrid* g = grid(MediaTabWAV);
    QTRY_VERIFY(g->isVisible());
    const QPalette& colours = g->palette();
    const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
    const QColor base = colours.color(QPalette::Active, QPalette::Base);
    QImage image = g->viewport()->grab().toImage();
    const QRect selected = g->cellRect(0, 1);
    const QRect other = g->cellRect(0, 2);
    QCOMPARE(image.pixelColor(selected.topLeft() + QPoint(1, 1)), highlight);
    QCOMPARE(image.pixelColor(other.topLeft() + QPoint(1, 1)), base);
    // Size texts end 8 pixels before the cell's right edge; names start 8 pixels in.
    const QRect size = g->cellRect(1, 2);
    auto inked = [&image](const QRect& r, int x) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            if (image.pixelColor(x, y).lightness() < 128)
                return true;
        }
        return false;
    };
    bool rightInk = false;
    for (int x = size.right() - 10; x <= size.right() - 8; ++x)
        rightInk = rightInk || inked(size, x);
    QVERIFY(rightInk);
    for (int x = size.right() - 7; x <= size.right(); ++x)
        QVERIFY(!inked(size, x));
    for (int x = other.left(); x < other.left() + 8; ++x)
        QVERIFY(!inked(other, x));
    // Disabled: grey text on the fixed colour, the selected row included.
    g->setEnabled(false);
    image = g->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(selected.topLeft() + QPoint(1, 1)), g->fixedColor());
    Q_UNUSED(window);
}

QTEST_MAIN(MediaListsTest)
#include "medialists_test.moc"
