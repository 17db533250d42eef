#include "app/aboutform.h"
#include "app/drivecombo.h"
#include "app/firstrun.h"
#include "app/foldertree.h"
#include "app/gridutil.h"
#include "app/mainform.h"
#include "app/mainstatusbar.h"
#include "app/newfolder.h"
#include "app/preferences.h"
#include "app/sectionheader.h"
#include "app/selectfolder.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "app/support/cardsongs.h"
#include "app/support/recordingmessageboxes.h"
#include "card/songlisttext.h"
#include "platform/fakedrives.h"
#include "platform/fakeshell.h"
#include "transfer/carddump.h"
#include "transfer/sizetext.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window against fake drives, a fake shell and recorded message boxes, with card
// roots written by the fixture builder into a temporary folder:
//   <tmp>/home        the home folder (HOME)
//   <tmp>/backup      a backup folder with songs, on the fixed drive C
//   <tmp>/plain       an ordinary folder
//   <tmp>/card        the root of drive E when a card is put in
class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

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
    void songListSizesAndSwitchToFolderWithoutSongs();
    void copySongListToClipboard();
    void greyedSongListOnGrabbedWindow();
    void firstRunWritesSettingsAtClose();
    void missingDefaultDirFallsBackToHome();
    void maximisedCloseKeepsPlacement();
    void normalPlacementIsRestored();
    void renameThroughNameBoxWritesBytes();
    void shellCommands();
    void virtualDriveLetterChoice();
    void headerDoubleClicksRestoreHeights();
    void unwritableSettingsShowError();
    void preferencesConfirmedSavesAndEnablesWave();
    void preferencesCancelledChangesNothing();
    void exitPassesThroughClosingSteps();
    void renameByLeavingNameBox();
    void firstRunDemoFolder();

private:
    QString path(const QString& relative) const { return m_dir->path() + u'/' + relative; }
    void writeSettings(const QString& text);
    QString settingsText() const;
    void putCardIn(const QString& label = QStringLiteral("BOSS_BR-864"));
    void makeDialogs();
    TFormMain& open(bool show = true);
    QString statusPanel(int panel) const { return m_window->mainStatusBar()->panelText(panel); }
    int loadCount() const { return m_loads; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDrives> m_drives;
    FakeShell m_shell;
    RecordingMessageBoxes m_messages;
    bool m_alt = false;
    int m_loads = 0;
    std::unique_ptr<TFormMain> m_window;
    std::unique_ptr<TFormNewFolder> m_newFolder;
    std::unique_ptr<TFormSelectFolder> m_selectFolder;
    std::unique_ptr<TFormPreferences> m_preferences;
    std::unique_ptr<TFormAbout> m_about;
};

void MainFormTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char* folder : {"home", "plain", "wine/dosdevices"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    qputenv("HOME", path(QStringLiteral("home")).toLocal8Bit());
    qputenv("WINEPREFIX", path(QStringLiteral("wine")).toLocal8Bit());
    QVERIFY(WriteNumberedSongs(CardFixture(path(QStringLiteral("backup"))), 3));
    QVERIFY(WriteNumberedSongs(CardFixture(path(QStringLiteral("card"))), 2));
    m_drives = std::make_unique<FakeDrives>();
    FakeDrive system;
    system.letter = u'C';
    system.root = QStringLiteral("/");
    system.type = DriveType::Fixed;
    system.label = QString();
    system.totalBytes = 100'000'000'000;
    system.freeBytes = 40'000'000'000;
    m_drives->setDrive(system);
    m_shell = FakeShell();
    m_messages.clear();
    m_alt = false;
    m_loads = 0;
}

void MainFormTest::cleanup() {
    m_about.reset();
    m_preferences.reset();
    m_selectFolder.reset();
    m_newFolder.reset();
    m_window.reset();
    m_drives.reset();
    m_dir.reset();
}

void MainFormTest::writeSettings(const QString& text) {
    QFile file(path(QStringLiteral("sorvane.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QString MainFormTest::settingsText() const {
    QFile file(path(QStringLiteral("sorvane.ini")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void MainFormTest::putCardIn(const QString& label) {
    FakeDrive card;
    card.letter = u'E';
    card.root = path(QStringLiteral("card"));
    card.type = DriveType::Removable;
    card.label = label;
    card.totalBytes = 2'000'000'000;
    card.freeBytes = 500'000'000;
    m_drives->setDrive(card);
}

TFormMain& MainFormTest::open(bool show) {
    const MainFormServices services{*m_drives,
                                    m_shell,
                                    m_messages,
                                    path(QStringLiteral("sorvane.ini")),
                                    path(QStringLiteral("help/index.html")),
                                    path(QStringLiteral("help/home.html")),
                                    [this] { return m_alt; }};
    m_window = std::make_unique<TFormMain>(services);
    m_window->info().setMediaListRefresher([this](SOV_Info&) { ++m_loads; });
    if (show) {
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qWarning("window not exposed");
    }
    return *m_window;
}

void MainFormTest::backupFolderOnFixedDisk() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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
    QVERIFY(!window.PanelMediaPlayer()->isEnabled());
    for (int i = 0; i < 6; ++i)
        QVERIFY(!window.PageControl2()->isTabVisible(i));
    QCOMPARE(window.songDetails()->songNameEdit()->text(), QString());
}

void MainFormTest::mediaTabsFollowFolders() {
    for (const char* folder :
         {"plain/MP3", "plain/wav", "backup/Roland/SMF", "backup/Roland/Sketch"})
        QVERIFY(QDir().mkpath(path(QLatin1String(folder))));
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("plain")) +
                  QStringLiteral("\n"));
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
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    window.sgSongList()->selectCell(0, 3);
    window.GoToMainBackupFolderClick();
    QCOMPARE(loadCount(), 0);
    QCOMPARE(window.sgSongList()->row(), 3); // nothing refilled
}

void MainFormTest::homeFromElsewhereReloadsOnce() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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

void MainFormTest::songListSizesAndSwitchToFolderWithoutSongs() {
    for (int count : {1, 20}) {
        QVERIFY(WriteNumberedSongs(CardFixture(path(QStringLiteral("songs%1").arg(count))), count));
    }
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("songs1")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    StringGrid* grid = window.sgSongList();
    QCOMPARE(grid->rowCount(), 2);
    QVERIFY(window.songList()->statusText().startsWith(QStringLiteral(" 1 Song     Total")));

    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    QCOMPARE(grid->rowCount(), 4);
    QVERIFY(window.songList()->statusText().startsWith(QStringLiteral(" 3 Songs     Total")));

    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("songs20"))));
    QCOMPARE(grid->rowCount(), 21);
    QCOMPARE(grid->cell(1, 20), QStringLiteral("Song 20 "));

    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    QCOMPARE(grid->rowCount(), 21);
    for (int row = 1; row < 21; ++row)
        QVERIFY(IsGridRowBlank(*grid, row));
    QCOMPARE(window.songList()->statusText(), QString());
    QVERIFY(!grid->isEnabled());
    QCOMPARE(grid->row(), 1);
}

void MainFormTest::copySongListToClipboard() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    window.songList()->copyAction()->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             SongListClipboardText(window.info().songs(), window.sgSongList()->rowCount()));
}

void MainFormTest::greyedSongListOnGrabbedWindow() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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

void MainFormTest::firstRunWritesSettingsAtClose() {
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("home"))));
    QCOMPARE(window.prefs().DefaultDir, path(QStringLiteral("home")));
    QCOMPARE(window.prefs().WaveConverter, QString());
    QVERIFY(!window.ToolButtonWave()->isEnabled());
    QCOMPARE(window.size(), QSize(TFormMain::DesignWidth, TFormMain::DesignHeight));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("sorvane.ini"))));
    window.close();
    const QString text = settingsText();
    QVERIFY(text.contains(QStringLiteral("[Paths]")));
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("home"))));
    QVERIFY(text.contains(QStringLiteral("[MainForm]")));
    QVERIFY(text.contains(QStringLiteral("WindowState=0")));
    QVERIFY(text.contains(QStringLiteral("Width=%1").arg(window.frameGeometry().width())));
    QVERIFY(text.contains(QStringLiteral("Height=%1").arg(window.frameGeometry().height())));
}

void MainFormTest::missingDefaultDirFallsBackToHome() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("gone")) +
                  QStringLiteral("\nWaveConverter=x.exe\n"));
    TFormMain& window = open();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("home"))));
    window.close();
    QVERIFY(settingsText().contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("home"))));
    QVERIFY(settingsText().contains(QStringLiteral("WaveConverter=x.exe")));
}

void MainFormTest::maximisedCloseKeepsPlacement() {
    writeSettings(QStringLiteral("; kept\n[MainForm]\nWindowState=2\nTop=7\nLeft=9\nWidth=640\n"
                                 "Height=480\n[Other]\nKey=Value\n"));
    TFormMain& window = open();
    QVERIFY(window.isMaximized());
    window.close();
    const QString text = settingsText();
    QVERIFY(text.contains(QStringLiteral("WindowState=2")));
    QVERIFY(text.contains(QStringLiteral("Top=7")));
    QVERIFY(text.contains(QStringLiteral("Left=9")));
    QVERIFY(text.contains(QStringLiteral("Width=640")));
    QVERIFY(text.contains(QStringLiteral("Height=480")));
    QVERIFY(text.contains(QStringLiteral("; kept")));
    QVERIFY(text.contains(QStringLiteral("[Other]\nKey=Value")));
}

void MainFormTest::normalPlacementIsRestored() {
    writeSettings(QStringLiteral("[MainForm]\nWindowState=0\nTop=$20\nLeft=0x1e\nWidth=900\n"
                                 "Height=650\n"));
    TFormMain& window = open();
    QVERIFY(!window.isMaximized());
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(30, 32));
    QCOMPARE(window.frameGeometry().size(), QSize(900, 650));
}

void MainFormTest::renameThroughNameBoxWritesBytes() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    StringGrid* grid = window.sgSongList();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 2).center());
    QLineEdit* name = window.songDetails()->songNameEdit();
    QCOMPARE(name->text(), QStringLiteral("Song 2"));
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Verse"));
    const CardFixture card(path(QStringLiteral("backup")));
    const QString record = card.songFolder(NumberedSongFolder(2)) + QStringLiteral("/songinf2.br0");
    const QByteArray before = card.readFile(record);
    window.close(); // closing commits the pending edit
    const QByteArray after = card.readFile(record);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.mid(48, 8), QByteArray("Verse   "));
    QCOMPARE(after.left(48), before.left(48));
    QCOMPARE(after.mid(56), before.mid(56));
    QCOMPARE(grid->cell(1, 2), QStringLiteral("Verse"));
    QCOMPARE(grid->cell(1, 1), QStringLiteral("Song 1  "));
}

void MainFormTest::shellCommands() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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

void MainFormTest::virtualDriveLetterChoice() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    QVERIFY(QFile::link(QStringLiteral("/"), path(QStringLiteral("wine/dosdevices/z:"))));
    FakeDrive taken;
    taken.letter = u'Y';
    taken.root = path(QStringLiteral("plain"));
    m_drives->setDrive(taken);
    QCOMPARE(open(false).virtualDriveLetter(), QChar(u'X'));
    m_window.reset();
    for (char16_t c = u'D'; c <= u'X'; ++c) {
        taken.letter = QChar(c);
        m_drives->setDrive(taken);
    }
    QCOMPARE(open(false).virtualDriveLetter(), QChar());
}

void MainFormTest::headerDoubleClicksRestoreHeights() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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

void MainFormTest::unwritableSettingsShowError() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    // The settings file's folder disappears: the write fails and is reported.
    const QString folder = path(QStringLiteral("gone-settings"));
    QVERIFY(QDir().mkpath(folder));
    QFile::rename(path(QStringLiteral("sorvane.ini")), folder + QStringLiteral("/x"));
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sorvane.ini"))); // a folder in its place
    window.close();
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Error);
    QCOMPARE(m_messages.messages()[0].text,
             QStringLiteral("Unable to write to ") + path(QStringLiteral("sorvane.ini")));
}

void MainFormTest::makeDialogs() {
    m_newFolder = std::make_unique<TFormNewFolder>();
    m_selectFolder = std::make_unique<TFormSelectFolder>(*m_drives, *m_newFolder, m_messages);
    m_preferences = std::make_unique<TFormPreferences>(*m_selectFolder);
    m_about = std::make_unique<TFormAbout>(m_window->versionLabelText());
    m_window->setDialogs(m_preferences.get(), m_about.get());
}

void MainFormTest::preferencesConfirmedSavesAndEnablesWave() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("plain")) +
                  QStringLiteral("\n[MainForm]\nWindowState=2\n"));
    TFormMain& window = open();
    makeDialogs();
    QVERIFY(!window.ToolButtonWave()->isEnabled());
    QTimer::singleShot(0, m_preferences.get(), [this] {
        QCOMPARE(m_preferences->editStartFolder()->text(), path(QStringLiteral("plain")));
        m_preferences->editStartFolder()->setText(path(QStringLiteral("backup")));
        m_preferences->editWaveConverter()->setText(QStringLiteral("/opt/brwc/conv.exe"));
        m_preferences->buttonOK()->click();
    });
    window.findChild<QAction*>(QStringLiteral("Preferences1"))->trigger();
    QCOMPARE(window.prefs().DefaultDir, path(QStringLiteral("backup")));
    QCOMPARE(window.prefs().WaveConverter, QStringLiteral("/opt/brwc/conv.exe"));
    // Enabled on confirming, although the folder shown has no songs.
    QVERIFY(window.ToolButtonWave()->isEnabled());
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("plain"))));
    const QString text = settingsText();
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("backup"))));
    QVERIFY(text.contains(QStringLiteral("WaveConverter=/opt/brwc/conv.exe")));
    // Written while maximised, too.
    QVERIFY(text.contains(QStringLiteral("Top=%1").arg(window.frameGeometry().top())));
    QVERIFY(text.contains(QStringLiteral("Left=%1").arg(window.frameGeometry().left())));
    // The next folder change applies the song rule again.
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("home"))));
    QVERIFY(!window.ToolButtonWave()->isEnabled());
}

void MainFormTest::preferencesCancelledChangesNothing() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("plain")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    makeDialogs();
    const QString before = settingsText();
    QTimer::singleShot(0, m_preferences.get(), [this] {
        m_preferences->editWaveConverter()->setText(QStringLiteral("/opt/brwc/conv.exe"));
        m_preferences->buttonCancel()->click();
    });
    window.Preferences1Click();
    QCOMPARE(window.prefs().WaveConverter, QString());
    QCOMPARE(settingsText(), before);
}

void MainFormTest::exitPassesThroughClosingSteps() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
    TFormMain& window = open();
    QVERIFY(window.isVisible());
    window.findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(settingsText().contains(QStringLiteral("[MainForm]\nWindowState=0")));
}

void MainFormTest::renameByLeavingNameBox() {
    writeSettings(QStringLiteral("[Paths]\nDefaultDir=") + path(QStringLiteral("backup")) +
                  QStringLiteral("\n"));
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

void MainFormTest::firstRunDemoFolder() {
    const QString settings = path(QStringLiteral("first/sorvane.ini"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("first"))));
    QVERIFY(!WriteFirstRunDefaultDir(settings, path(QStringLiteral("no-demo"))));
    QVERIFY(!QFileInfo::exists(settings));
    QVERIFY(WriteFirstRunDefaultDir(settings, path(QStringLiteral("backup"))));
    QFile file(settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QVERIFY(text.contains(QStringLiteral("[Paths]")));
    QVERIFY(text.contains(QStringLiteral("DefaultDir=") + path(QStringLiteral("backup"))));
    // An existing file is left alone.
    QVERIFY(!WriteFirstRunDefaultDir(settings, path(QStringLiteral("plain"))));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), text);
}

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
