#include "app/support/mainwindowfixture.h"

#include "app/foldertree.h"
#include "app/stringgrid.h"
#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The player strip over a scripted device: Play, Stop, the time text, the bar and its
// seek, the MIDI path limit, the MP3 hand-over, failures, and the diagnostic log.
class MediaPlayerTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup() { tearDownWindowFixture(); }

    void playWaveShowsClockAndRange();
    void playMidiShowsTicks();
    void stopThenPlayContinues();
    void playAfterTheEndStartsAgain();
    void clickOnTheBarSeeksAndPlays();
    void midiPathLimit_data();
    void midiPathLimit();
    void mp3IsHandedToTheDesktop();
    void failedOpenIsReportedOnceAndRecovers_data();
    void failedOpenIsReportedOnceAndRecovers();
    void folderChangeKeepsTheOpenFilePlayable();
    void logTracesAPlay();
    void logTracesStopAndNotifications();
    void logSwitchedOffWritesNothing();

private:
    QString mediaPath(int tab, const QString& name) const {
        return MediaFilePath(path(QStringLiteral("backup")), tab, name);
    }
    // A file in a media folder of the backup, known to the device with these lengths.
    void addMedia(int tab, const QString& name, std::int64_t ms, std::int64_t ticks = 0,
                  const QString& openError = QString()) {
        // Inside the backup's own "Roland" folder, whatever case the tab's folder is written in.
        const QString folder = MediaFolderPath(path(QStringLiteral("backup")), tab);
        QVERIFY(QDir().mkpath(folder));
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("data");
        m_playback->addFile(mediaPath(tab, name), {ms, ticks, openError});
    }
    TFormMain& openBackup() {
        writeSettings(defaultDirSettings(QStringLiteral("backup")));
        return open();
    }
    void select(int tab, const QString& name) {
        m_window->PageControl2()->setCurrentIndex(tab);
        StringGrid* g = m_window->mediaGrids()[tab];
        for (int row = 1; row < g->rowCount(); ++row) {
            if (g->cell(0, row) == name) {
                g->selectCell(0, row);
                return;
            }
        }
        QFAIL("name not listed");
    }
    void press(PlayerButton button) { m_window->MediaPlayer1()->button(button)->click(); }
    QString timeText() const { return m_window->LabelTime()->text(); }
    bool timerOn() const { return m_window->Timer1()->isActive(); }
    QStringList logLines() const {
        QFile file(path(QStringLiteral("log/Debug.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(file.readAll());
        text.chop(1);
        return text.split(u'\n');
    }
};

void MediaPlayerTest::init() {
    setUpWindowFixture();
    addMedia(MediaTabWAV, QStringLiteral("long.wav"), 90'000);
    addMedia(MediaTabWAV, QStringLiteral("minute.wav"), 60'000);
    addMedia(MediaTabSMF, QStringLiteral("tune.mid"), 10'000, 3840);
}

void MediaPlayerTest::playWaveShowsClockAndRange() {
    TFormMain& window = openBackup();
    QVERIFY(window.Timer1()->interval() == 100);
    QVERIFY(!timerOn());
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    QCOMPARE(m_playback->path(), mediaPath(MediaTabWAV, QStringLiteral("long.wav")));
    QCOMPARE(m_playback->deviceType(), QStringLiteral("WaveAudio"));
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    QVERIFY(timerOn());
    QCOMPARE(window.playerDeviceType(), 12);
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
    m_playback->advance(60'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:01:00 "));
    QCOMPARE(window.ProgressBar1()->position(), 60'000);
    // The timer itself drives the text.
    m_playback->advance(1'500);
    QTRY_COMPARE(timeText(), QStringLiteral(" 00:01:01 "));
    QVERIFY(m_messages.messages().isEmpty());
}

void MediaPlayerTest::playMidiShowsTicks() {
    TFormMain& window = openBackup();
    select(MediaTabSMF, QStringLiteral("tune.mid"));
    press(PlayerButton::Play);
    QCOMPARE(m_playback->deviceType(), QStringLiteral("Sequencer"));
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QCOMPARE(window.ProgressBar1()->maximum(), 3840); // ticks until the next press
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000384  "));
    QCOMPARE(window.ProgressBar1()->position(), 384);
    // Stopped: the timer leaves the text alone.
    press(PlayerButton::Stop);
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
}

void MediaPlayerTest::stopThenPlayContinues() {
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    m_playback->advance(20'000);
    press(PlayerButton::Stop);
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Stopped));
    QVERIFY(!timerOn());
    QCOMPARE(timeText(), QStringLiteral(" 00:00:00 "));
    m_playback->clearCalls();
    press(PlayerButton::Play);
    QVERIFY(!m_playback->calls().join(u'|').contains(QStringLiteral("open")));
    QCOMPARE(m_playback->position(), 20'000);
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    // The time text and the bar follow the file again.
    QVERIFY(timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:21 "));
}

void MediaPlayerTest::playAfterTheEndStartsAgain() {
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("minute.wav"));
    press(PlayerButton::Play);
    m_playback->finish();
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Stopped));
    QCOMPARE(m_playback->position(), 60'000);
    press(PlayerButton::Play);
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    QCOMPARE(m_playback->position(), 0);
    m_playback->advance(5'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:05 "));
}

void MediaPlayerTest::clickOnTheBarSeeksAndPlays() {
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("minute.wav"));
    press(PlayerButton::Play);
    press(PlayerButton::Stop);
    QCOMPARE(window.ProgressBar1()->width(), 118);
    QTest::mouseClick(window.ProgressBar1(), Qt::LeftButton, {}, QPoint(59, 8));
    QVERIFY(m_playback->calls().contains(QStringLiteral("seek 30000")));
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    QCOMPARE(m_playback->position(), 30'000);
    QCOMPARE(window.ProgressBar1()->position(), 30'000);
    window.ProgressBar1MouseDown(118);
    QCOMPARE(m_playback->position(), 60'000);
}

void MediaPlayerTest::midiPathLimit_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("plays");
    QTest::newRow("127") << 127 << true;
    QTest::newRow("128") << 128 << false;
}

void MediaPlayerTest::midiPathLimit() {
    QFETCH(int, length);
    QFETCH(bool, plays);
    const int prefix = static_cast<int>(mediaPath(MediaTabSMF, QString()).size());
    QVERIFY(length - prefix - 4 > 0);
    const QString name = QString(length - prefix - 4, u'm') + QStringLiteral(".mid");
    addMedia(MediaTabSMF, name, 5'000, 1920);
    QCOMPARE(mediaPath(MediaTabSMF, name).size(), length);
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    select(MediaTabSMF, name);
    press(PlayerButton::Play);
    if (plays) {
        QCOMPARE(m_playback->path(), mediaPath(MediaTabSMF, name));
        QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
        QVERIFY(m_messages.messages().isEmpty());
        return;
    }
    // The WAV file stays open, stopped; the message says why.
    QCOMPARE(m_playback->path(), mediaPath(MediaTabWAV, QStringLiteral("long.wav")));
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Stopped));
    QVERIFY(!timerOn());
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].text, QStringLiteral("SMF pathname too long"));
    QCOMPARE(window.MediaPlayer1()->fileName(), mediaPath(MediaTabWAV, QStringLiteral("long.wav")));
}

void MediaPlayerTest::mp3IsHandedToTheDesktop() {
    addMedia(MediaTabMP3, QStringLiteral("Song.MP3"), 0);
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    QVERIFY(timerOn());
    select(MediaTabMP3, QStringLiteral("Song.MP3"));
    m_playback->clearCalls();
    press(PlayerButton::Play);
    const QString mp3 = mediaPath(MediaTabMP3, QStringLiteral("Song.MP3"));
    QCOMPARE(m_shell.openedDocuments(), QStringList{mp3});
    QVERIFY(!timerOn());
    QCOMPARE(window.MediaPlayer1()->deviceType(), 6);
    QCOMPARE(window.MediaPlayer1()->fileName(), mp3);
    QVERIFY(!m_playback->calls().contains(QStringLiteral("play")));
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Stopped));
    // A later Play on the WAV file opens it again.
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    QVERIFY(m_playback->calls().contains(QStringLiteral("open WaveAudio ") +
                                         mediaPath(MediaTabWAV, QStringLiteral("long.wav"))));
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    QVERIFY(timerOn());
}

void MediaPlayerTest::failedOpenIsReportedOnceAndRecovers_data() {
    QTest::addColumn<bool>("noOutput");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a WAV file") << false << QStringLiteral("not a WAV file");
    QTest::newRow("no audio device") << true << QStringLiteral("no audio device");
}

void MediaPlayerTest::failedOpenIsReportedOnceAndRecovers() {
    QFETCH(bool, noOutput);
    QFETCH(QString, reason);
    addMedia(MediaTabWAV, QStringLiteral("bad.wav"), 1'000, 0, noOutput ? QString() : reason);
    TFormMain& window = openBackup();
    if (noOutput)
        m_playback->setNoOutput(reason);
    select(MediaTabWAV, QStringLiteral("bad.wav"));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        press(PlayerButton::Play);
        QCOMPARE(m_messages.messages().size(), attempt);
        const RecordingMessageBoxes::Message& message = m_messages.messages().last();
        QCOMPARE(message.kind, MessageKind::Error);
        QVERIFY2(message.text.contains(mediaPath(MediaTabWAV, QStringLiteral("bad.wav"))),
                 qPrintable(message.text));
        QVERIFY2(message.text.contains(reason), qPrintable(message.text));
        QVERIFY(!timerOn());
        QVERIFY(!m_playback->isOpen());
        QVERIFY(!m_playback->calls().contains(QStringLiteral("play")));
    }
    press(PlayerButton::Stop); // nothing open: nothing to report
    QCOMPARE(m_messages.messages().size(), 2);
    m_playback->setNoOutput(QString());
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    QCOMPARE(m_messages.messages().size(), 2);
    QCOMPARE(m_playback->mode(), int(MediaPlayback::Playing));
    QVERIFY(timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
}

void MediaPlayerTest::folderChangeKeepsTheOpenFilePlayable() {
    TFormMain& window = openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    m_playback->advance(3'000);
    press(PlayerButton::Stop);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    QCOMPARE(window.playerDeviceType(), 0);
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:04 ")); // still a clock, from where it was
    // A click on the bar after the next folder change follows the file as well.
    press(PlayerButton::Stop);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    window.ProgressBar1MouseDown(59);
    QVERIFY(timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:45 "));
}

void MediaPlayerTest::logTracesAPlay() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("log"))));
    m_log = std::make_unique<LogFile>(true, path(QStringLiteral("log")));
    openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    const qsizetype before = logLines().size();
    press(PlayerButton::Play);
    const QString file = mediaPath(MediaTabWAV, QStringLiteral("long.wav"));
    const QStringList expected = {
        QString(),
        QStringLiteral("MediaPlayer1Click() :  [PLAY] button pressed  (Filename = \"long.wav\""),
        QStringLiteral("ReOpenMediaPlayer() (before Close)  Mode:  [1] Stopped   Filename = \"") +
            file + u'"',
        QStringLiteral("ReOpenMediaPlayer() (after Open)  Mode:  [1] Stopped   Filename = \"") +
            file + u'"',
        QStringLiteral("ReOpenMediaPlayer()  (end)  Mode:  [1] Stopped"),
        QStringLiteral("MediaPlayer1Click()  (end)  Mode:  [1] Stopped"),
        QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode:  [2] Playing"),
    };
    QCOMPARE(logLines().mid(before), expected);
    QVERIFY(logLines()[0].startsWith(QStringLiteral("Log started:  ")));
}

void MediaPlayerTest::logTracesStopAndNotifications() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("log"))));
    m_log = std::make_unique<LogFile>(true, path(QStringLiteral("log")));
    openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    QTest::qWait(10); // the time format's notification arrives
    QCOMPARE(logLines().last(), QStringLiteral("MediaPlayer1Notify()  Mode:  [2] Playing"));
    qsizetype before = logLines().size();
    m_playback->finish();
    QCOMPARE(logLines().mid(before),
             QStringList{QStringLiteral("MediaPlayer1Notify()  Mode:  [1] Stopped")});
    before = logLines().size();
    press(PlayerButton::Stop);
    QCOMPARE(
        logLines().mid(before),
        (QStringList{QStringLiteral("MediaPlayer1Click() :  [STOP] button pressed  (Filename = "
                                    "\"long.wav\""),
                     QStringLiteral("MediaPlayer1Click()  (end)  Mode:  [1] Stopped"),
                     QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode:  [1] Stopped")}));
    before = logLines().size();
    select(MediaTabSMF, QStringLiteral("tune.mid"));
    StringGrid* smf = m_window->mediaGrids()[MediaTabSMF];
    QTRY_VERIFY(smf->isVisible());
    QTest::mouseClick(smf->viewport(), Qt::LeftButton, {}, smf->cellRect(0, 1).center());
    QCOMPARE(logLines().mid(before).last(),
             QStringLiteral("sgMediaCentreClick()  (end)  Mode:  [1] Stopped"));
}

void MediaPlayerTest::logSwitchedOffWritesNothing() {
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(path(QStringLiteral("home"))));
    openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    press(PlayerButton::Play);
    m_playback->finish();
    press(PlayerButton::Stop);
    QTest::qWait(10);
    const bool created = QFile::exists(path(QStringLiteral("home/Debug.log")));
    QDir::setCurrent(saved);
    QVERIFY(!created);
}

QTEST_MAIN(MediaPlayerTest)
#include "mediaplayer_test.moc"
