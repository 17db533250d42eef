#include "app/support/mainwindowfixture.h"

#include "app/drivecombo.h"
#include "app/mainstatusbar.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "app/support/cardsongs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

// The main window following cards and disks that come and go while it runs.
class DriveWatchTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { setUpWindowFixture(); }
    void cleanup() { tearDownWindowFixture(); }

    void volumeAppears_data();
    void volumeAppears();
    void otherDriveRemovedLeavesFolderAlone();
    void currentCardRemovedWithPendingEdits();
    void cardPutBackCanBeChosenAgain_data();
    void cardPutBackCanBeChosenAgain();

private:
    QString statusPanel(int panel) const { return m_window->mainStatusBar()->panelText(panel); }
    bool listed(QChar letter) const {
        return m_window->DriveComboBox1()->findData(QVariant::fromValue(letter)) >= 0;
    }
    void takeCardOut() {
        m_drives->removeDrive(u'E');
        m_driveWatcher.announceChange();
    }
    // Every file below a folder with a digest of its bytes.
    QMap<QString, QByteArray> filesBelow(const QString& folder) const;
    // Opens the window on the card (inserted as E) at start-up.
    TFormMain& openCard() {
        putCardIn();
        writeSettings(defaultDirSettings(QStringLiteral("backup")));
        return open();
    }
};

QMap<QString, QByteArray> DriveWatchTest::filesBelow(const QString& folder) const {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
        files.insert(file, QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
    }
    return files;
}

void DriveWatchTest::volumeAppears_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<QString>("notice"); // empty: the status bar keeps the folder's path
    QTest::newRow("BR-80 card") << QStringLiteral("BOSS_BR-80") << true
                                << QStringLiteral("BR memory card found in drive E: (BR-80)");
    QTest::newRow("recorder label on a fixed disk")
        << QStringLiteral("BOSS_BR-864") << false << QString();
    QTest::newRow("USB stick") << QStringLiteral("STICK") << true << QString();
}

// A new volume is listed by the drive selector; a recorder card is announced in the status
// bar for a moment; nothing else changes.
void DriveWatchTest::volumeAppears() {
    QFETCH(QString, label);
    QFETCH(bool, removable);
    QFETCH(QString, notice);
    m_noticeMilliseconds = 30;
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    const QString folder = window.currentFolder();
    const QString path = statusPanel(1);
    const int loads = loadCount();
    QVERIFY(!listed(u'E'));

    putCardIn(label);
    m_drives->drive(u'E')->type = removable ? DriveType::Removable : DriveType::Fixed;
    m_driveWatcher.announceChange();

    QVERIFY(listed(u'E'));
    QCOMPARE(statusPanel(1), notice.isEmpty() ? path : notice);
    QCOMPARE(window.currentFolder(), folder);
    QCOMPARE(loadCount(), loads);
    QCOMPARE(window.DriveComboBox1()->drive(), QChar(u'C'));
    QVERIFY(m_messages.messages().isEmpty());
    QTRY_COMPARE(statusPanel(1), path); // the notice gives way
}

void DriveWatchTest::otherDriveRemovedLeavesFolderAlone() {
    TFormMain& window = openCard();
    window.GoToMainBackupFolderClick();
    QCOMPARE(window.currentFolder(), QDir::toNativeSeparators(path(QStringLiteral("backup"))));
    const QString panel = statusPanel(1);
    takeCardOut();
    QVERIFY(!listed(u'E'));
    QCOMPARE(statusPanel(1), panel);
    QCOMPARE(statusPanel(0), QStringLiteral("BR"));
    QCOMPARE(window.sgSongList()->rowCount(), 4);
    QVERIFY(m_messages.messages().isEmpty());
}

// Taking out the card that holds the current folder empties the window as for a folder
// without songs; the title and notes typed but not yet saved are shown to the user and
// written nowhere, neither now nor when the window closes.
void DriveWatchTest::currentCardRemovedWithPendingEdits() {
    TFormMain& window = openCard();
    QCOMPARE(statusPanel(0), QStringLiteral("BR"));
    window.songDetails()->songTitleEdit()->setText(QStringLiteral("Live at the barn"));
    window.songDetails()->songTitleEdit()->setModified(true);
    window.songDetails()->notesEdit()->setPlainText(QStringLiteral("Bass on V-track 3\nRedo it"));
    window.songDetails()->notesEdit()->document()->setModified(true);
    const QMap<QString, QByteArray> before = filesBelow(path(QStringLiteral("card")));

    takeCardOut();

    QCOMPARE(statusPanel(1), QStringLiteral("BR memory card removed from drive E:"));
    QCOMPARE(statusPanel(0), QString());
    QVERIFY(!window.info().hasSongs());
    QVERIFY(!window.sgSongList()->isEnabled());
    QCOMPARE(window.songDetails()->songNameEdit()->text(), QString());
    QCOMPARE(window.songDetails()->notesEdit()->toPlainText(), QString());
    QVERIFY(!window.ToolButtonBackupRestore()->isEnabled());
    QCOMPARE(window.lblBRType()->text(), QString());
    QVERIFY(window.DriveComboBox1()->drive().isNull());
    QVERIFY(!listed(u'E'));

    QCOMPARE(m_messages.messages().size(), 1);
    const RecordingMessageBoxes::Message& message = m_messages.messages().first();
    QCOMPARE(message.kind, MessageKind::Warning);
    QVERIFY(message.text.contains(NumberedSongFolder(1).left(7)));
    QVERIFY(message.text.contains(QStringLiteral("Song Title: Live at the barn")));
    QVERIFY(message.text.contains(QStringLiteral("Notes:\rBass on V-track 3\rRedo it")));
    QVERIFY(!message.text.contains(QStringLiteral("Song Name:")));
    window.resize(window.width() - 40, window.height());
    QCOMPARE(statusPanel(1), QStringLiteral("BR memory card removed from drive E:"));

    window.close();
    m_window.reset();
    QCOMPARE(filesBelow(path(QStringLiteral("card"))), before);
}

void DriveWatchTest::cardPutBackCanBeChosenAgain_data() {
    QTest::addColumn<bool>("bySelector");
    QTest::newRow("drive selector") << true;
    QTest::newRow("Go to BR Memory Card") << false;
}

// After the card went, putting it back (at the same folder) is announced, and going to it
// opens it again, although the window last showed that very folder and letter.
void DriveWatchTest::cardPutBackCanBeChosenAgain() {
    QFETCH(bool, bySelector);
    openCard();
    takeCardOut();
    QCOMPARE(statusPanel(1), QStringLiteral("BR memory card removed from drive E:"));
    QVERIFY(m_messages.messages().isEmpty()); // nothing was pending
    putCardIn(QStringLiteral("BOSS_BR-80"));
    m_driveWatcher.announceChange();
    QCOMPARE(statusPanel(1), QStringLiteral("BR memory card found in drive E: (BR-80)"));
    if (bySelector)
        QVERIFY(m_window->DriveComboBox1()->setDrive(u'E'));
    else
        m_window->GotoZOZuzezo1Click();
    QVERIFY(m_messages.messages().isEmpty());
    QCOMPARE(m_window->DriveComboBox1()->drive(), QChar(u'E'));
    QCOMPARE(m_window->lblBRType()->text(), QStringLiteral("BR-80 card"));
    QCOMPARE(m_window->songDetails()->songNameEdit()->text(), QStringLiteral("Song 1"));
}

QTEST_MAIN(DriveWatchTest)
#include "drivewatch_test.moc"
