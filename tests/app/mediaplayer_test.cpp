#include "app/support/mainwindowfixture.h"

#include "app/foldertree.h"
#include "app/stringgrid.h"
#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The player strip over a scripted device: Play, Stop, the time text, the bar and its
// seek, the MIDI path limit, the MP3 hand-over, failures, and the diagnostic log.
class MediaPlayerTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        setUpWindowFixture();
        addMedia(MediaTabWAV, QStringLiteral("long.wav"), 90'000);
        addMedia(MediaTabWAV, QStringLiteral("minute.wav"), 60'000);
        addMedia(MediaTabWAV, QStringLiteral("bad.wav"), 1'000, 0,
                 QStringLiteral("not a WAV file"));
        addMedia(MediaTabSMF, QStringLiteral("tune.mid"), 10'000, 3840);
        addMedia(MediaTabMP3, QStringLiteral("Song.MP3"), 0);
    }
    void cleanup() { tearDownWindowFixture(); }

    void playStopContinueRestartAndSeek();
    void midiPathLimitMp3HandOverAndFailedOpen();
    void logTracesPlayStopAndNotifications();

private:
    QString mediaPath(int tab, const QString& name) const {
        return MediaFilePath(path(QStringLiteral("backup")), tab, name);
    }
    QString longWav() const { return mediaPath(MediaTabWAV, QStringLiteral("long.wav")); }
    // A file in a media folder of the backup, known to the device with these lengths.
    void addMedia(int tab, const QString& name, std::int64_t ms, std::int64_t ticks = 0,
                  const QString& openError = QString()) {
        QVERIFY(files().writeFile(QStringLiteral("backup/") + MediaTabFolder(tab) + u'/' + name,
                                  "data"));
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
        QString text = QString::fromUtf8(files().readFile(QStringLiteral("Debug.log")));
        text.chop(1);
        return text.split(u'\n');
    }
};

// The timer drives the time text and the bar. Play after Stop continues the open file, Play
// after the end starts again, a click on the bar seeks there and plays, also after a folder
// change. A MIDI file counts ticks; when stopped the timer leaves the text alone.
void MediaPlayerTest::playStopContinueRestartAndSeek() {
    TFormMain& window = openBackup();
    QVERIFY(window.Timer1()->interval() == 100 && !timerOn());
    play(MediaTabWAV, "minute.wav");
    QVERIFY(playing() && timerOn());
    QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
    m_playback->advance(20'500);
    QTRY_COMPARE(timeText(), QStringLiteral(" 00:00:20 "));
    QCOMPARE(window.ProgressBar1()->position(), 20'500);
    press(PlayerButton::Stop);
    QVERIFY(!timerOn() && timeText() == u" 00:00:00 ");
    // Play again continues the open file, after a folder change as well.
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    m_playback->clearCalls();
    play(MediaTabWAV, "minute.wav");
    QVERIFY(!m_playback->calls().join(u'|').contains(QStringLiteral("open")));
    QVERIFY(playing() && timerOn());
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral(" 00:00:21 "));
    m_playback->finish();
    press(PlayerButton::Play);
    QVERIFY(playing());
    QCOMPARE(m_playback->position(), 0);
    // A click at the middle of the bar seeks to the middle and plays.
    press(PlayerButton::Stop);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("card"))));
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    QTest::mouseClick(window.ProgressBar1(), Qt::LeftButton, {}, QPoint(59, 8)); // of 118
    QVERIFY(m_playback->calls().contains(QStringLiteral("seek 30000")) && playing());
    QCOMPARE(window.ProgressBar1()->position(), 30'000);
    window.ProgressBar1MouseDown(118);
    QCOMPARE(m_playback->position(), 60'000);
    play(MediaTabSMF, "tune.mid");
    QCOMPARE(window.ProgressBar1()->maximum(), 3840);
    m_playback->advance(1'000);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000384  "));
    press(PlayerButton::Stop);
    window.Timer1Timer();
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QVERIFY(m_messages.messages().isEmpty());
}

// SMF paths of up to 127 characters play; a longer one leaves the WAV file open, stopped,
// and says why. An MP3 file is handed to the desktop; a later Play on the WAV opens it again.
// A file that fails to open is reported each time.
void MediaPlayerTest::midiPathLimitMp3HandOverAndFailedOpen() {
    const qsizetype room = 127 - mediaPath(MediaTabSMF, QString()).size() - 4;
    const QString longest = QString(room, u'm') + QStringLiteral(".mid");
    addMedia(MediaTabSMF, longest, 5'000, 1920);
    addMedia(MediaTabSMF, u'n' + longest, 5'000, 1920);
    TFormMain& window = openBackup();
    play(MediaTabSMF, longest);
    QCOMPARE(m_playback->path(), mediaPath(MediaTabSMF, longest));
    QVERIFY(playing() && m_messages.messages().isEmpty());
    play(MediaTabWAV, "long.wav");
    play(MediaTabSMF, u'n' + longest);
    QCOMPARE(m_playback->path(), longWav());
    QVERIFY(!playing() && !timerOn());
    QCOMPARE(timeText(), QStringLiteral("  000000  "));
    QVERIFY(m_messages.only(MessageKind::Plain, QStringLiteral("SMF pathname too long")));
    play(MediaTabWAV, "long.wav");
    play(MediaTabMP3, "Song.MP3");
    QCOMPARE(m_shell.openedDocuments(),
             QStringList{mediaPath(MediaTabMP3, QStringLiteral("Song.MP3"))});
    QVERIFY(!timerOn() && !playing());
    QCOMPARE(window.MediaPlayer1()->deviceType(), 6);
    play(MediaTabWAV, "long.wav");
    QVERIFY(playing() && timerOn());
    // Each failed Play is reported (naming the file and why) and leaves nothing open; Stop
    // then has nothing to report, and the next file plays.
    m_messages.clear();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        play(MediaTabWAV, "bad.wav");
        QCOMPARE(m_messages.messages().size(), attempt);
        const RecordingMessageBoxes::Message& message = m_messages.messages().last();
        QCOMPARE(message.kind, MessageKind::Error);
        QVERIFY(message.text.contains(mediaPath(MediaTabWAV, QStringLiteral("bad.wav"))));
        QVERIFY(message.text.contains(QStringLiteral("not a WAV file")));
        QVERIFY(!timerOn() && !m_playback->isOpen());
    }
    press(PlayerButton::Stop);
    play(MediaTabWAV, "minute.wav");
    QVERIFY(m_messages.messages().size() == 2 && playing());
    QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
}

void MediaPlayerTest::logTracesPlayStopAndNotifications() {
    m_log = std::make_unique<LogFile>(true, m_dir->path());
    openBackup();
    select(MediaTabWAV, QStringLiteral("long.wav"));
    qsizetype before = logLines().size();
    press(PlayerButton::Play);
    const QString file = QStringLiteral("   Filename = \"") + longWav() + u'"';
    QCOMPARE(logLines().mid(before),
             (QStringList{
                 QString(),
                 QStringLiteral(
                     "MediaPlayer1Click() :  [PLAY] button pressed  (Filename = \"long.wav\""),
                 QStringLiteral("ReOpenMediaPlayer() (before Close)  Mode:  [1] Stopped") + file,
                 QStringLiteral("ReOpenMediaPlayer() (after Open)  Mode:  [1] Stopped") + file,
                 QStringLiteral("ReOpenMediaPlayer()  (end)  Mode:  [1] Stopped"),
                 QStringLiteral("MediaPlayer1Click()  (end)  Mode:  [1] Stopped"),
                 QStringLiteral("MediaPlayer1__Post__Click()  (end)  Mode:  [2] Playing")}));
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
