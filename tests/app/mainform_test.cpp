#include "app/support/mainwindowfixture.h"

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/mainstatusbar.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/support/cardsongs.h"
#include "transfer/carddump.h"
#include "transfer/sizetext.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The main window: folder changes, drive and card commands, cards and disks that come and go
// while it runs, renaming and menus.
class MainFormTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    // A backup folder with songs on the fixed disk and a converter set; then an ordinary folder
    // greys everything and hides every media tab, and Home goes back. Then the shell commands.
    void backupFolderThenOrdinaryFolder() {
        TFormMain& window = openIn(u"backup"_s, u"WaveConverter=/opt/brwc.exe\n"_s);
        QCOMPARE(statusPanel(0), u"BR"_s);
        QCOMPARE(window.ToolButtonBackupRestore()->text(), u"  Restore  "_s);
        QVERIFY(window.ToolButtonBackupRestore()->isEnabled() &&
                window.ToolButtonWave()->isEnabled());
        QCOMPARE(window.sgSongList()->color(),
                 window.palette().color(QPalette::Active, QPalette::Base));
        QCOMPARE(window.songDetails()->songNameEdit()->text(), u"Song 1"_s);
        window.GoToMainBackupFolderClick(); // already there: nothing is read again

        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"plain"_s)));
        QCOMPARE(statusPanel(0), QString());
        QVERIFY(!window.ToolButtonBackupRestore()->isEnabled() &&
                !window.ToolButtonWave()->isEnabled());
        QVERIFY(!window.songDetails()->pageControl()->widget(0)->isEnabled());
        QCOMPARE(window.sgSongList()->color(),
                 window.palette().color(QPalette::Active, QPalette::Button));
        QVERIFY(!window.sgSongList()->isEnabled() && !window.MediaPlayer1()->isEnabled());
        QVERIFY(!window.LabelTime()->isEnabled());
        for (int i = 0; i < 6; ++i)
            QVERIFY(!window.mediaGrids()[i]->isEnabled() &&
                    !window.PageControl2()->isTabVisible(i));
        QCOMPARE(window.songDetails()->songNameEdit()->text(), QString());
        window.ToolButtonHome()->click();
        QCOMPARE(m_loads, 2);
        QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(u"backup"_s)));
        // The shell commands and the song list's menu.
        window.findChild<QAction*>(u"miHelpHelp"_s)->trigger();
        window.findChild<QAction*>(u"miHelpSOVwebsite"_s)->trigger();
        QCOMPARE(m_shell.openedDocuments(),
                 (QStringList{path(u"help/index.html"_s), path(u"help/home.html"_s)}));
        QAction* explore = window.findChild<QAction*>(u"OpenfolderinWindowsExplorer1"_s);
        QCOMPARE(explore->text(), u"Open folder in File Manager"_s);
        explore->trigger();
        QCOMPARE(m_shell.shownFolders(), QStringList{window.currentFolder()});
        const QList<QAction*> actions = window.songList()->popupMenu()->actions();
        QVERIFY(actions.size() == 1 && actions[0]->text() == u"Copy Song List to Clipboard");
    }

    // A drive without a disc and the card command without a card: a warning each, and the window
    // stays where it was. With Alt held, the card command shows the card's two files byte by
    // byte instead of opening it.
    void refusedDriveAndCardThenAltDump() {
        m_drives->setDrive({u'F', path(u"slot"_s), DriveType::Removable, QString()});
        m_drives->drive(u'F')->ready = false;
        TFormMain& window = openIn();
        QVERIFY(window.DriveComboBox1()->setDrive(u'F'));
        window.ToolButtonBR864()->click();
        QCOMPARE(m_messages.texts(MessageKind::Warning),
                 (QStringList{u"\rThere is no disc in the drive."_s,
                              u"\rBR memory card not detected."_s}));
        m_messages.clear();
        QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'C'));
        QCOMPARE(m_loads, 0);
        QVERIFY(!window.ToolButtonWave()->isEnabled()); // songs, but no converter

        CardFixture card(path(u"card"_s));
        QByteArray diskInfo(56, '\0');
        diskInfo.replace(48, 8, QByteArray("SN01\x05\x00\xff\x11", 8));
        QVERIFY(card.writeDiskInfo(diskInfo) && card.writeCardParams(QByteArray(140, 'A')));
        putCardIn();
        m_alt = true;
        window.GotoZOZuzezo1Click();
        QVERIFY(
            m_messages.only(MessageKind::Plain, CardDumpText(ReadCardDumpBytes(path(u"card"_s)))));
    }

    // Leaving the name box writes the name. A record too short to hold one is refused: the list
    // keeps the old name and the box stays due, to be tried again on leaving or closing.
    void renameByLeavingNameBox() {
        CardFixture card(path(u"backup"_s));
        SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "Tiny", 0);
        record.length = 52;
        QVERIFY(card.writeSongInfo(u"SONG004.BR0"_s, record));
        TFormMain& window = openIn();
        typeSongName(u"AB"_s);
        QCOMPARE(songRecord(card, NumberedSongFolder(1)).mid(48, 8), QByteArray("AB      "));
        QCOMPARE(window.sgSongList()->cell(1, 1), u"AB"_s);
        QVERIFY(window.sgSongList()->selectCell(0, 4));
        typeSongName(u"Longer"_s);
        QCOMPARE(songRecord(card, u"SONG004.BR0"_s), record.bytes());
        QCOMPARE(window.sgSongList()->cell(1, 4), u"Tiny"_s);
        QVERIFY(window.songDetails()->songNameEdit()->isModified());
    }

    void cardComesAndGoes_data() {
        QTest::addColumn<bool>("bySelector");
        QTest::newRow("drive selector") << true;
        QTest::newRow("Go to BR Memory Card") << false;
    }
    // A card in a reader at start-up opens at its root. Taken out while another folder is shown,
    // it only leaves the drive selector; put back it is announced for a moment and nothing else
    // changes until the user goes to it. Taken out while its folder is shown, it empties the
    // window as for a folder without songs; the title and notes typed but not yet saved are shown
    // to the user and written nowhere. Put back at the same folder it can be opened again,
    // although the window last showed that very folder and letter.
    void cardComesAndGoes() {
        QFETCH(bool, bySelector);
        m_noticeMilliseconds = 30;
        putCardIn();
        TFormMain& window = openIn();
        QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(u"card"_s)));
        QCOMPARE(window.ToolButtonBackupRestore()->text(), u"  Backup  "_s);
        QCOMPARE(window.lblCF_Size()->text(), FormatSizeText(2'000'000'000, SizeUnitAuto));
        QCOMPARE(window.lblCF_Used()->text(), FormatSizeText(1'500'000'000, SizeUnitAuto));
        QCOMPARE(window.lblCF_Free()->text(), FormatSizeText(500'000'000, SizeUnitAuto));
        window.GoToMainBackupFolderClick();
        const QString backup = statusPanel(1);
        changeCard(QString());
        QVERIFY(!listed(u'E') && m_messages.messages().isEmpty());
        QCOMPARE(statusPanel(1), backup);
        QCOMPARE(window.sgSongList()->rowCount(), 4);
        changeCard(u"BOSS_BR-80"_s);
        QCOMPARE(statusPanel(1), u"BR memory card found in drive E: (BR-80)"_s);
        QTRY_COMPARE(statusPanel(1), backup); // the notice gives way
        QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'C'));
        QCOMPARE(m_loads, 1);

        goToCard(bySelector);
        window.songDetails()->songTitleEdit()->setText(u"Live at the barn"_s);
        window.songDetails()->songTitleEdit()->setModified(true);
        window.songDetails()->notesEdit()->setPlainText(u"Bass on V-track 3\nRedo it"_s);
        window.songDetails()->notesEdit()->document()->setModified(true);
        changeCard(QString());
        const QString removed = u"BR memory card removed from drive E:"_s;
        QCOMPARE(statusPanel(1), removed);
        QCOMPARE(statusPanel(0), QString());
        QVERIFY(!window.sgSongList()->isEnabled() &&
                !window.ToolButtonBackupRestore()->isEnabled());
        QVERIFY(window.DriveComboBox1()->drive().isNull() && !listed(u'E'));
        const QString lost = m_messages.onlyText(MessageKind::Warning);
        QVERIFY(lost.contains(NumberedSongFolder(1).left(7)) && !lost.contains(u"Song Name:"));
        QVERIFY(lost.contains(u"Song Title: Live at the barn"_s));
        QVERIFY(lost.contains(u"Notes:\rBass on V-track 3\rRedo it"_s));
        window.resize(window.width() - 40, window.height());
        QCOMPARE(statusPanel(1), removed);
        changeCard(u"BOSS_BR-80"_s);
        goToCard(!bySelector);
        QCOMPARE(m_messages.messages().size(), 1);
        window.close();
        m_window.reset();
        const CardFixture card(path(u"card"_s));
        for (const char* file : {"/SongInfo.dat", "/Notes.txt"})
            QVERIFY(!QFile::exists(
                card.path(card.songFolder(NumberedSongFolder(1)) + QLatin1String(file))));
    }

private:
    QString statusPanel(int panel) const { return m_window->mainStatusBar()->panelText(panel); }
    bool listed(QChar letter) const {
        return m_window->DriveComboBox1()->findData(QVariant::fromValue(letter)) >= 0;
    }
    // Puts in a card labelled `label` as drive E, or takes it out when `label` is empty.
    void changeCard(const QString& label) {
        if (label.isEmpty())
            m_drives->removeDrive(u'E');
        else
            putCardIn(label);
        m_driveWatcher.announceChange();
    }
    // Opens the BR-80 card in E with the drive selector or the card command.
    void goToCard(bool bySelector) {
        if (bySelector)
            QVERIFY(m_window->DriveComboBox1()->setDrive(u'E'));
        else
            m_window->GotoZOZuzezo1Click();
        QCOMPARE(m_window->DriveComboBox1()->drive(), QChar(u'E'));
        QCOMPARE(m_window->lblBRType()->text(), u"BR-80 card"_s);
        QCOMPARE(m_window->songDetails()->songNameEdit()->text(), u"Song 1"_s);
    }
    QByteArray songRecord(const CardFixture& card, const QString& song) const {
        return card.readFile(card.songFolder(song) + u"/songinf2.br0"_s);
    }
    // Types `text` over the song name and leaves the box for the song list.
    void typeSongName(const QString& text) {
        m_window->activateWindow();
        QLineEdit* name = m_window->songDetails()->songNameEdit();
        name->setFocus();
        QTRY_VERIFY(name->hasFocus());
        name->selectAll();
        QTest::keyClicks(name, text);
        m_window->sgSongList()->setFocus();
        QTRY_VERIFY(m_window->sgSongList()->hasFocus());
    }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
