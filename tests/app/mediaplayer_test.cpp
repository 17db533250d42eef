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

    void playShowsTimeAndRange();
    void stopContinuesEndRestartsClickSeeks();
    void midiPathLimit_data();
    void midiPathLimit();
    void mp3IsHandedToTheDesktop();
    void failedOpenIsReportedOnceAndRecovers_data();
    void failedOpenIsReportedOnceAndRecovers();
    void folderChangeKeepsTheOpenFilePlayable();
    void logTracesPlayStopAndNotifications();

private:
    QString mediaPath(int tab, const QString& name) const {
        return MediaFilePath(path(QStringLiteral("backup")), tab, name);
    }
    QString longWav() const { return mediaPath(MediaTabWAV, QStringLiteral("long.wav")); }
    // A file in a media folder of the backup, known to the device with these lengths.
    void addMedia(int tab, const QString& name, std::int64_t ms, std::int64_t ticks = 0,
                  const QString& openError = QString()) {
        const QString folder = MediaFolderPath(path(QStringLiteral("backup")), tab);
        QVERIFY(QDir().mkpath(folder));
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("data") == 4);
        m_playback->addFile(mediaPath(tab, name), {ms, ticks, openError});
    }
    TFormMain& openBackup() {
        writeSettings(defaultDirSettings(QStringLiteral("backup")));
        return open();
    }
    void play(int tab, const char* name) { play(tab, QLatin1String(name)); }
    void play(int tab, const QString& name) {
        select(tab, name);
        press(PlayerButton::Play);
    }
    void select(int tab, const QString& name) {
        m_window->PageControl2()->setCurrentIndex(tab);
        StringGrid* g = m_window->mediaGrids()[tab];
        int row = g->rowCount() - 1;
        while (row > 0 && g->cell(0, row) != name)
            --row;
        QVERIFY2(row > 0, "name not listed");
        g->selectCell(0, row);
    }
    void press(PlayerButton button) { m_window->MediaPlayer1()->button(button)->click(); }
    QString timeText() const { return m_window->LabelTime()->text(); }
    bool timerOn() const { return m_window->Timer1()->isActive(); }
    bool playing() const { return m_playback->mode() == int(MediaPlayback::Playing); }
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
    addMedia(MediaTabWAV, QStringLiteral("bad.wav"), 1'000, 0, QStringLiteral("not a WAV file"));
    addMedia(MediaTabSMF, QStringLiteral("tune.mid"), 10'000, 3840);
    addMedia(MediaTabMP3, QStringLiteral("Song.MP3"), 0);
}

void MediaPlayerTest::playShowsTimeAndRange() {
    TFormMain& window = openBackup();
    QVERIFY(window.Timer1()->interval() == 100 && !timerOn());
    play(MediaTabWAV, "long.wav");
    QCOMPARE(m_playback->path(), longWav());
    QCOMPARE(m_playback->deviceType(), QStringLiteral("WaveAudio"));
    QVERIFY(playing() && timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
    m_playback->advance(61'500); // the timer itself drives the text and the bar
    QTRY_COMPARE(timeText(), QStringLiteral(" 00:01:01 "));
    QCOMPARE(window.ProgressBar1()->position(), 61'500);
    // MIDI: ticks, until the time format is set to milliseconds.
    play(MediaTabSMF, "tune.mid");
    QCOMPARE(m_playback->deviceType(), QStringLiteral("Sequencer"));
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QCOMPARE(window.ProgressBar1()->maximum(), 3840);
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000384  "));
    QCOMPARE(window.ProgressBar1()->position(), 384);
    // Stopped: the timer leaves the text alone.
    press(PlayerButton::Stop);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QVERIFY(m_messages.messages().isEmpty());
}

void MediaPlayerTest::stopContinuesEndRestartsClickSeeks() {
    TFormMain& window = openBackup();
    play(MediaTabWAV, "minute.wav");
    m_playback->advance(20'000);
    press(PlayerButton::Stop);
    QVERIFY(!timerOn());
    QCOMPARE(timeText(), QStringLiteral(" 00:00:00 "));
    m_playback->clearCalls();
    // Play again continues the open file, and the time text and the bar follow it again.
    press(PlayerButton::Play);
    QVERIFY(!m_playback->calls().join(u'|').contains(QStringLiteral("open")));
    QCOMPARE(m_playback->position(), 20'000);
    QVERIFY(playing() && timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:21 "));
    // Play after the end starts from the beginning.
    m_playback->finish();
    press(PlayerButton::Play);
    QVERIFY(playing());
    QCOMPARE(m_playback->position(), 0);
    // A click at the middle of the bar seeks to the middle and plays.
    press(PlayerButton::Stop);
    QCOMPARE(window.ProgressBar1()->width(), 118);
    QTest::mouseClick(window.ProgressBar1(), Qt::LeftButton, {}, QPoint(59, 8));
    QVERIFY(m_playback->calls().contains(QStringLiteral("seek 30000")));
    QVERIFY(playing());
    QCOMPARE(window.ProgressBar1()->position(), 30'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:30 "));
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
    openBackup();
    play(MediaTabWAV, "long.wav");
    play(MediaTabSMF, name);
    if (plays) {
        QCOMPARE(m_playback->path(), mediaPath(MediaTabSMF, name));
        QVERIFY(playing() && m_messages.messages().isEmpty());
        return;
    }
    // The WAV file stays open, stopped; the message says why.
    QCOMPARE(m_playback->path(), longWav());
    QVERIFY(!playing() && !timerOn());
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].text, QStringLiteral("SMF pathname too long"));
}

void MediaPlayerTest::mp3IsHandedToTheDesktop() {
    TFormMain& window = openBackup();
    play(MediaTabWAV, "long.wav");
    play(MediaTabMP3, "Song.MP3");
    QCOMPARE(m_shell.openedDocuments(),
             QStringList{mediaPath(MediaTabMP3, QStringLiteral("Song.MP3"))});
    QVERIFY(!timerOn() && !playing());
    QCOMPARE(window.MediaPlayer1()->deviceType(), 6);
    // A later Play on the WAV file opens it again.
    play(MediaTabWAV, "long.wav");
    QVERIFY(playing() && timerOn());
}

void MediaPlayerTest::failedOpenIsReportedOnceAndRecovers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("noOutput");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a WAV file")
        << QStringLiteral("bad.wav") << QString() << QStringLiteral("not a WAV file");
    QTest::newRow("no audio device")
        << QStringLiteral("long.wav") << QStringLiteral("no audio device")
        << QStringLiteral("no audio device");
}

void MediaPlayerTest::failedOpenIsReportedOnceAndRecovers() {
    QFETCH(QString, name);
    QFETCH(QString, noOutput);
    QFETCH(QString, reason);
    TFormMain& window = openBackup();
    m_playback->setNoOutput(noOutput);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        play(MediaTabWAV, name);
        QCOMPARE(m_messages.messages().size(), attempt);
        const RecordingMessageBoxes::Message& message = m_messages.messages().last();
        QCOMPARE(message.kind, MessageKind::Error);
        QVERIFY2(message.text.contains(mediaPath(MediaTabWAV, name)), qPrintable(message.text));
        QVERIFY2(message.text.contains(reason), qPrintable(message.text));
        QVERIFY(!timerOn() && !m_playback->isOpen());
    }
    press(PlayerButton::Stop); // nothing open: nothing to report
    m_playback->setNoOutput(QString());
    play(MediaTabWAV, "minute.wav");
    QCOMPARE(m_messages.messages().size(), 2);
    QVERIFY(playing());
    QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
}

void MediaPlayerTest::folderChangeKeepsTheOpenFilePlayable() {
    TFormMain& window = openBackup();
    auto changeFolderAndBack = [&window, this] {
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    };
    play(MediaTabWAV, "long.wav");
    m_playback->advance(3'000);
    press(PlayerButton::Stop);
    changeFolderAndBack();
    play(MediaTabWAV, "long.wav");
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:04 ")); // still a clock, from where it was
    // A click on the bar after the next folder change follows the file as well.
    press(PlayerButton::Stop);
    changeFolderAndBack();
    window.ProgressBar1MouseDown(59);
    QCOMPARE(window.ProgressBar1()->maximum(), 90'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:45 "));
}

void MediaPlayerTest::logTracesPlayStopAndNotifications() {
    QVERIFY(QDir().mkpath(path(QStringLiteral("log"))));
    m_log = std::make_unique<LogFile>(true, path(QStringLiteral("log")));
    openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    qsizetype before = logLines().size();
    press(PlayerButton::Play);
    const QString file = longWav();
    QCOMPARE(
        logLines().mid(before),
        (QStringList{QString(),
                     QStringLiteral(
                         "MediaPlayer1Click() :  [PLAY] button pressed  (Filename = \"long.wav\""),
                     QStringLiteral("ReOpenMediaPlayer() (before Close)  Mode:  [1] Stopped   "
                                    "Filename = \"") +
                         file + u'"',
                     QStringLiteral("ReOpenMediaPlayer() (after Open)  Mode:  [1] Stopped   "
                                    "Filename = \"") +
                         file + u'"',
                     QStringLiteral("ReOpenMediaPlayer()  (end)  Mode:  [1] Stopped"),
                     QStringLiteral("MediaPlayer1Click()  (end)  Mode:  [1] Stopped"),
                     QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode:  [2] Playing")}));
    QVERIFY(logLines()[0].startsWith(QStringLiteral("Log started:  ")));
    QTest::qWait(10); // the time format's notification arrives
    QCOMPARE(logLines().last(), QStringLiteral("MediaPlayer1Notify()  Mode:  [2] Playing"));
    before = logLines().size();
    m_playback->finish();
    press(PlayerButton::Stop);
    QCOMPARE(
        logLines().mid(before),
        (QStringList{QStringLiteral("MediaPlayer1Notify()  Mode:  [1] Stopped"),
                     QStringLiteral("MediaPlayer1Click() :  [STOP] button pressed  (Filename = "
                                    "\"long.wav\""),
                     QStringLiteral("MediaPlayer1Click()  (end)  Mode:  [1] Stopped"),
                     QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode:  [1] Stopped")}));
    m_window->PageControl2()->setCurrentIndex(MediaTabSMF);
    StringGrid* smf = m_window->mediaGrids()[MediaTabSMF];
    QTRY_VERIFY(smf->isVisible());
    QTest::mouseClick(smf->viewport(), Qt::LeftButton, {}, smf->cellRect(0, 1).center());
    QCOMPARE(logLines().last(), QStringLiteral("sgMediaCentreClick()  (end)  Mode:  [1] Stopped"));
}

QTEST_MAIN(MediaPlayerTest)
#include "mediaplayer_test.moc"
