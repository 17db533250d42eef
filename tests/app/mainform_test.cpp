#include "app/support/mainwindowfixture.h"

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/gridutil.h"
#include "app/mainstatusbar.h"
#include "app/sectionheader.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "app/support/cardsongs.h"
#include "card/songlisttext.h"
#include "transfer/carddump.h"
#include "transfer/sizetext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

// The main window: folder changes, drive and card commands, the song list, renaming and the
// shell commands.
class MainFormTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    void backupFolderOnFixedDisk();
    void waveButtonFollowsConverterSetting();
    void cardRootAtStartUp();
    void ordinaryFolderGreysEverything();
    void mediaTabsFollowFolders();
    void homeWithCurrentFolderDoesNotReload();
    void homeFromElsewhereReloadsOnce();
    void driveSelectorOnNotReadyDrive();
    void gotoCardWithoutCard();
    void gotoCardWithCardAndAltDump();
    void greyedSongListOnGrabbedWindow();
    void renameByLeavingNameBox();
    void failedRenameShowsNothingDone();
    void shellCommands();
    void headerDoubleClicksRestoreHeights();
    void popUpMenus();
    void narrowWindowKeepsMediaColumnWidth();

private:
    QString statusPanel(int panel) const { return m_window->mainStatusBar()->panelText(panel); }
};

void MainFormTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormTest::backupFolderOnFixedDisk() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("backup"))));
    QCOMPARE(statusPanel(0), QStringLiteral("BR"));
    QVERIFY(statusPanel(1).endsWith(QStringLiteral("backup")));
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Restore  "));
    QVERIFY(window.ToolButtonBackupRestore()->isEnabled());
    QVERIFY(window.sgSongList()->isEnabled());
    QVERIFY(window.songDetails()->pageControl()->widget(0)->isEnabled());
    QVERIFY(!window.ToolButtonWave()->isEnabled()); // no converter configured
    QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'C'));
    QCOMPARE(window.lblBRType()->text(), QString());
    QVERIFY(!window.lblCF_Size()->text().isEmpty());
    QCOMPARE(window.songDetails()->songNameEdit()->text(), QStringLiteral("Song 1"));
    QVERIFY(m_messages.messages().isEmpty());
}

void MainFormTest::waveButtonFollowsConverterSetting() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\nWaveConverter=/opt/brwc/BRWaveConverter.exe\n"));
    TFormMain& window = open();
    QVERIFY(window.ToolButtonWave()->isEnabled());
    // An ordinary folder greys it whatever the setting holds.
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    QVERIFY(!window.ToolButtonWave()->isEnabled());
}

void MainFormTest::cardRootAtStartUp() {
    putCardIn();
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("card"))));
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Backup  "));
    QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'E'));
    QCOMPARE(window.lblBRType()->text(), QStringLiteral("BR-864 card"));
    QCOMPARE(window.lblCF_Size()->text(), FormatSizeText(2'000'000'000, SizeUnitAuto));
    QCOMPARE(window.lblCF_Used()->text(), FormatSizeText(1'500'000'000, SizeUnitAuto));
    QCOMPARE(window.lblCF_Free()->text(), FormatSizeText(500'000'000, SizeUnitAuto));
    QCOMPARE(window.cardDetector().cardDriveLetter(), QChar(u'E'));
    QCOMPARE(window.info().cardModel(), RecorderModel::BR864);
    QCOMPARE(statusPanel(0), QStringLiteral("BR"));
    QCOMPARE(window.sgSongList()->rowCount(), 3);
}

void MainFormTest::ordinaryFolderGreysEverything() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("plain")) +
                  QStringLiteral("\nWaveConverter=/opt/brwc.exe\n"));
    TFormMain& window = open();
    QCOMPARE(statusPanel(0), QString());
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Restore  "));
    QVERIFY(!window.ToolButtonBackupRestore()->isEnabled());
    QVERIFY(!window.ToolButtonWave()->isEnabled());
    QVERIFY(!window.sgSongList()->isEnabled());
    QCOMPARE(window.sgSongList()->color(),
             window.palette().color(QPalette::Active, QPalette::Button));
    QVERIFY(!window.songDetails()->pageControl()->widget(0)->isEnabled());
    for (StringGrid* grid : window.mediaGrids())
        QVERIFY(!grid->isEnabled());
    QVERIFY(!window.MediaPlayer1()->isEnabled());
    QVERIFY(!window.LabelTime()->isEnabled());
    for (int i = 0; i < 6; ++i)
        QVERIFY(!window.PageControl2()->isTabVisible(i));
    QCOMPARE(window.songDetails()->songNameEdit()->text(), QString());
}

void MainFormTest::mediaTabsFollowFolders() {
    for (const char* folder :
         {"plain/MP3", "plain/wav", "backup/Roland/SMF", "backup/Roland/Sketch"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    writeSettings(defaultDirSettings(QStringLiteral("plain")));
    TFormMain& window = open();
    const QList<bool> plain = {false, false, false, true, true, false};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(window.PageControl2()->isTabVisible(i), plain[i]);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    const QList<bool> backup = {true, false, false, false, false, true};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(window.PageControl2()->isTabVisible(i), backup[i]);
}

void MainFormTest::homeWithCurrentFolderDoesNotReload() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    window.sgSongList()->selectCell(0, 3);
    window.GoToMainBackupFolderClick();
    QCOMPARE(loadCount(), 0);
    QCOMPARE(window.sgSongList()->row(), 3); // nothing refilled
}

void MainFormTest::homeFromElsewhereReloadsOnce() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    QCOMPARE(loadCount(), 1);
    window.ToolButtonHome()->click();
    QCOMPARE(loadCount(), 2);
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("backup"))));
    QCOMPARE(statusPanel(0), QStringLiteral("BR"));
}

void MainFormTest::driveSelectorOnNotReadyDrive() {
    FakeDrive slot;
    slot.letter = u'F';
    slot.root = path(QStringLiteral("slot"));
    slot.type = DriveType::Removable;
    slot.ready = false;
    m_drives->setDrive(slot);
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    const QString before = window.currentFolder();
    QVERIFY(window.DriveComboBox1()->setDrive(u'F'));
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Warning);
    QCOMPARE(m_messages.messages()[0].text, QStringLiteral("\rThere is no disc in the drive."));
    QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'C'));
    QCOMPARE(window.currentFolder(), before);
    QCOMPARE(loadCount(), 0);
}

void MainFormTest::gotoCardWithoutCard() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    const QString before = window.currentFolder();
    window.ToolButtonBR864()->click();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Warning);
    QCOMPARE(m_messages.messages()[0].text, QStringLiteral("\rBR memory card not detected."));
    QCOMPARE(window.currentFolder(), before);
    QCOMPARE(loadCount(), 0);
}

void MainFormTest::gotoCardWithCardAndAltDump() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    CardFixture card(path(QStringLiteral("card")));
    QByteArray diskInfo(56, '\0');
    diskInfo.replace(48, 8, QByteArray("SN01\x05\x00\xff\x11", 8));
    QVERIFY(card.writeDiskInfo(diskInfo));
    QByteArray params(140, 'A');
    QVERIFY(card.writeCardParams(params));
    putCardIn(); // put in after start-up: found by the command's own search

    window.ToolButtonBR864()->click();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("card"))));
    QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'E'));
    QCOMPARE(window.lblBRType()->text(), QStringLiteral("BR-864 card"));
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Backup  "));
    QVERIFY(m_messages.messages().isEmpty()); // no Alt: no dump

    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    m_alt = true;
    window.GotoZOZuzezo1Click();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Plain);
    const QString expected = CardDumpText(ReadCardDumpBytes(path(QStringLiteral("card"))));
    QCOMPARE(m_messages.messages()[0].text, expected);
    QVERIFY(expected.startsWith(QStringLiteral("SongNum = \"SN01\"    005 000 255 017")));
}

void MainFormTest::greyedSongListOnGrabbedWindow() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    StringGrid* grid = window.sgSongList();
    QImage image = window.grab().toImage();
    auto pixel = [&](int col, int row) {
        const QRect rect = grid->cellRect(col, row);
        const QPoint at =
            grid->viewport()->mapTo(&window, QPoint(rect.right() - 1, rect.bottom() - 1));
        return image.pixelColor(at).rgb();
    };
    const QPalette palette = grid->palette();
    QCOMPARE(pixel(3, 1), palette.color(QPalette::Active, QPalette::Highlight).rgb());
    QCOMPARE(pixel(3, 2), palette.color(QPalette::Active, QPalette::Base).rgb());
    QCOMPARE(pixel(3, 0), grid->fixedColor().rgb());

    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    image = window.grab().toImage();
    for (int row = 0; row < 4; ++row)
        QCOMPARE(pixel(3, row), grid->fixedColor().rgb());
    // Panel 0 of the status bar: plain button face, no green.
    MainStatusBar* bar = window.mainStatusBar();
    const QPoint inPanel = bar->mapTo(&window, bar->panelRect(0).topLeft() + QPoint(2, 2));
    QCOMPARE(image.pixelColor(inPanel).rgb(),
             bar->palette().color(QPalette::Active, QPalette::Button).rgb());
}

void MainFormTest::renameByLeavingNameBox() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    window.activateWindow();
    StringGrid* grid = window.sgSongList();
    QLineEdit* name = window.songDetails()->songNameEdit();
    name->setFocus();
    QTRY_VERIFY(name->hasFocus());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("AB"));
    grid->setFocus(); // leaving the box writes the name
    QTRY_VERIFY(grid->hasFocus());
    const CardFixture card(path(QStringLiteral("backup")));
    const QByteArray record =
        card.readFile(card.songFolder(NumberedSongFolder(1)) + QStringLiteral("/songinf2.br0"));
    QCOMPARE(record.mid(48, 8), QByteArray("AB      "));
    QCOMPARE(grid->cell(1, 1), QStringLiteral("AB"));
}

void MainFormTest::shellCommands() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    window.findChild<QAction*>(QStringLiteral("miHelpHelp"))->trigger();
    window.findChild<QAction*>(QStringLiteral("miHelpSOVwebsite"))->trigger();
    QCOMPARE(m_shell.openedDocuments(), (QStringList{path(QStringLiteral("help/index.html")),
                                                     path(QStringLiteral("help/home.html"))}));
    QAction* explore = window.findChild<QAction*>(QStringLiteral("OpenfolderinWindowsExplorer1"));
    QCOMPARE(explore->text(), QStringLiteral("Open folder in File Manager"));
    explore->trigger();
    QCOMPARE(m_shell.shownFolders(), QStringList{window.currentFolder()});
}

void MainFormTest::headerDoubleClicksRestoreHeights() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QCOMPARE(window.PanelMediaCentre()->height(), TFormMain::MediaCentreHeight);
    QCOMPARE(window.PanelSongDetails()->height(), TFormMain::SongDetailsHeight);
    auto* left = window.findChild<QSplitter*>(QStringLiteral("SplitterMediaCentre"));
    auto* right = window.findChild<QSplitter*>(QStringLiteral("SplitterSongDetails"));
    left->setSizes({100, 400});
    right->setSizes({300, 200});
    QTest::mouseDClick(window.PanelMediaCentreHeader(), Qt::LeftButton);
    QTest::mouseDClick(window.PanelSongDetailsHeader(), Qt::LeftButton);
    QCOMPARE(left->sizes().last(), TFormMain::MediaCentreHeight);
    QCOMPARE(right->sizes().last(), TFormMain::SongDetailsHeight);
}

void MainFormTest::popUpMenus() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    QMenu* directory = window.PopupMenuDirectoryList();
    emit window.DirectoryListBox1()->contextPopupRequested(window.mapToGlobal(QPoint(50, 200)));
    QTRY_VERIFY(directory->isVisible());
    directory->hide();

    StringGrid* grid = window.sgSongList();
    const QPoint at = grid->cellRect(1, 2).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
    QMenu* songs = window.songList()->popupMenu();
    QTRY_VERIFY(songs->isVisible());
    QCOMPARE(songs->actions().size(), 1);
    QCOMPARE(songs->actions()[0]->text(), QStringLiteral("Copy Song List to Clipboard"));
    songs->hide();
    QCOMPARE(grid->row(), 1); // a right click does not select
}

void MainFormTest::narrowWindowKeepsMediaColumnWidth() {
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    const QList<StringGrid*> grids = window.mediaGrids();
    QVERIFY(QDir().mkpath(path(QStringLiteral("backup/Roland/SMF"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    QVERIFY(window.PageControl2()->isTabVisible(0));
    window.resize(1400, 700);
    QTRY_VERIFY(grids[0]->viewport()->width() - grids[0]->colWidth(1) - 6 > 158);
    QCOMPARE(grids[0]->colWidth(0), grids[0]->viewport()->width() - grids[0]->colWidth(1) - 6);
    // A grid on a hidden page follows as well.
    QVERIFY(grids[1]->colWidth(0) > 158);
    grids[0]->setColWidth(1, 200); // wider than the room left beside it
    window.resize(600, 500);
    QTRY_COMPARE(grids[0]->colWidth(0), 158);
}

void MainFormTest::failedRenameShowsNothingDone() {
    // A record too short to hold a name: the write is refused.
    const CardFixture card(path(QStringLiteral("short")));
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "Tiny", 0);
    record.length = 52;
    QVERIFY(card.writeSongInfo(QStringLiteral("SONG001.BR0"), record));
    writeSettings(defaultDirSettings(QStringLiteral("short")));
    TFormMain& window = open();
    window.activateWindow();
    StringGrid* grid = window.sgSongList();
    const QString before = grid->cell(1, 1);
    QLineEdit* name = window.songDetails()->songNameEdit();
    name->setFocus();
    QTRY_VERIFY(name->hasFocus());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Longer"));
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    const QString file =
        card.songFolder(QStringLiteral("SONG001.BR0")) + QStringLiteral("/songinf2.br0");
    QCOMPARE(card.readFile(file), record.bytes());
    QCOMPARE(grid->cell(1, 1), before);
    QVERIFY(name->isModified()); // still due: tried again on leaving or closing
    QCOMPARE(name->text(), QStringLiteral("Longer"));
}

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
