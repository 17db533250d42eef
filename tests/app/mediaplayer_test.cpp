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

using namespace Qt::StringLiterals;

// The player strip over a scripted device: Play, Stop, the time text, the bar and its
// seek, the MIDI path limit, the MP3 hand-over, failures, and the diagnostic log.
class MediaPlayerTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        setUpWindowFixture();
        addMedia(MediaTabWAV, u"long.wav"_s, 90'000);
        addMedia(MediaTabWAV, u"minute.wav"_s, 60'000);
        addMedia(MediaTabWAV, u"bad.wav"_s, 1'000, 0, u"not a WAV file"_s);
        addMedia(MediaTabSMF, u"tune.mid"_s, 10'000, 3840);
        addMedia(MediaTabMP3, u"Song.MP3"_s, 0);
    }
    void cleanup() { tearDownWindowFixture(); }

    // The timer drives the time text and the bar. Play after Stop continues the open file, Play
    // after the end starts again, a click on the bar seeks there and plays, also after a folder
    // change. A MIDI file counts ticks; when stopped the timer leaves the text alone.
    void playStopContinueRestartAndSeek() {
        const qsizetype room = 127 - mediaPath(MediaTabSMF, QString()).size() - 4;
        const QString longest = QString(room, u'm') + u".mid"_s;
        addMedia(MediaTabSMF, longest, 5'000, 1920);
        addMedia(MediaTabSMF, u'n' + longest, 5'000, 1920);
        TFormMain& window = openIn();
        QVERIFY(window.Timer1()->interval() == 100 && !timerOn());
        play(MediaTabWAV, "minute.wav");
        QVERIFY(playing() && timerOn());
        QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
        m_playback->advance(20'500);
        QTRY_COMPARE(timeText(), u" 00:00:20 "_s);
        QCOMPARE(window.ProgressBar1()->position(), 20'500);
        press(PlayerButton::Stop);
        QVERIFY(!timerOn() && timeText() == u" 00:00:00 ");
        // Play again continues the open file, after a folder change as well.
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"card"_s)));
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"backup"_s)));
        m_playback->clearCalls();
        play(MediaTabWAV, "minute.wav");
        QVERIFY(!m_playback->calls().join(u'|').contains(u"open"_s));
        QVERIFY(playing() && timerOn());
        m_playback->advance(1'000);
        window.Timer1Timer();
        QCOMPARE(timeText(), u" 00:00:21 "_s);
        m_playback->finish();
        press(PlayerButton::Play);
        QVERIFY(playing());
        QCOMPARE(m_playback->position(), 0);
        // A click at the middle of the bar seeks to the middle and plays.
        press(PlayerButton::Stop);
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"card"_s)));
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"backup"_s)));
        QTest::mouseClick(window.ProgressBar1(), Qt::LeftButton, {}, QPoint(59, 8)); // of 118
        QVERIFY(m_playback->calls().contains(u"seek 30000"_s) && playing());
        QCOMPARE(window.ProgressBar1()->position(), 30'000);
        window.ProgressBar1MouseDown(118);
        QCOMPARE(m_playback->position(), 60'000);
        play(MediaTabSMF, "tune.mid");
        QCOMPARE(window.ProgressBar1()->maximum(), 3840);
        m_playback->advance(1'000);
        window.Timer1Timer();
        QCOMPARE(timeText(), u"  000384  "_s);
        press(PlayerButton::Stop);
        window.Timer1Timer();
        QCOMPARE(timeText(), u"  000000  "_s);
        QVERIFY(m_messages.messages().isEmpty());

        // SMF paths of up to 127 characters play; a longer one leaves the WAV file open, stopped,
        // and says why. An MP3 file is handed to the desktop; a later Play on the WAV opens it
        // again. A file that fails to open is reported each time.
        play(MediaTabSMF, longest);
        QCOMPARE(m_playback->path(), mediaPath(MediaTabSMF, longest));
        QVERIFY(playing() && m_messages.messages().isEmpty());
        play(MediaTabWAV, "long.wav");
        play(MediaTabSMF, u'n' + longest);
        QCOMPARE(m_playback->path(), longWav());
        QVERIFY(!playing() && !timerOn());
        QCOMPARE(timeText(), u"  000000  "_s);
        QVERIFY(m_messages.only(MessageKind::Plain, u"SMF pathname too long"_s));
        play(MediaTabWAV, "long.wav");
        play(MediaTabMP3, "Song.MP3");
        QCOMPARE(m_shell.openedDocuments(), QStringList{mediaPath(MediaTabMP3, u"Song.MP3"_s)});
        QVERIFY(!timerOn() && !playing());
        QCOMPARE(window.MediaPlayer1()->deviceType(), 6);
        play(MediaTabWAV, "long.wav");
        QVERIFY(playing() && timerOn());
        // Each failed Play is reported (naming the file and why) and leaves nothing open; Stop
        // then has nothing to report, and the next file plays.
        m_messages.clear();
        for (int attempt = 1; attempt <= 2; ++attempt) {
            play(MediaTabWAV, "bad.wav");
            const QString text = m_messages.texts(MessageKind::Error).value(attempt - 1);
            QCOMPARE(m_messages.messages().size(), attempt);
            QVERIFY(text.contains(mediaPath(MediaTabWAV, u"bad.wav"_s)) &&
                    text.contains(u"not a WAV file"_s));
            QVERIFY(!timerOn() && !m_playback->isOpen());
        }
        press(PlayerButton::Stop);
        play(MediaTabWAV, "minute.wav");
        QVERIFY(m_messages.messages().size() == 2 && playing());
        QCOMPARE(window.ProgressBar1()->maximum(), 60'000);
    }

    void logTracesPlayStopAndNotifications() {
        m_log = std::make_unique<LogFile>(true, m_dir->path());
        openIn();
        select(MediaTabWAV, u"long.wav"_s);
        qsizetype before = logLines().size();
        press(PlayerButton::Play);
        const QString file = u"   Filename = \""_s + longWav() + u'"';
        QCOMPARE(logLines().mid(before),
                 (QStringList{
                     QString(),
                     u"MediaPlayer1Click() :  [PLAY] button pressed  (Filename = \"long.wav\""_s,
                     u"ReOpenMediaPlayer() (before Close)  Mode:  [1] Stopped"_s + file,
                     u"ReOpenMediaPlayer() (after Open)  Mode:  [1] Stopped"_s + file,
                     u"ReOpenMediaPlayer()  (end)  Mode:  [1] Stopped"_s,
                     u"MediaPlayer1Click()  (end)  Mode:  [1] Stopped"_s,
                     u"MediaPlayer1__Post__Click()  (end)  Mode:  [2] Playing"_s}));
        QTest::qWait(10); // the time format's notification arrives
        QCOMPARE(logLines().last(), u"MediaPlayer1Notify()  Mode:  [2] Playing"_s);
        before = logLines().size();
        m_playback->finish();
        press(PlayerButton::Stop);
        QCOMPARE(logLines().mid(before),
                 (QStringList{u"MediaPlayer1Notify()  Mode:  [1] Stopped"_s,
                              u"MediaPlayer1Click() :  [STOP] button pressed  (Filename = "
                              "\"long.wav\""_s,
                              u"MediaPlayer1Click()  (end)  Mode:  [1] Stopped"_s,
                              u"MediaPlayer1__Post__Click()  (end)  Mode:  [1] Stopped"_s}));
        m_window->PageControl2()->setCurrentIndex(MediaTabSMF);
        StringGrid* smf = m_window->mediaGrids()[MediaTabSMF];
        QTRY_VERIFY(smf->isVisible());
        QTest::mouseClick(smf->viewport(), Qt::LeftButton, {}, smf->cellRect(0, 1).center());
        QCOMPARE(logLines().last(), u"sgMediaCentreClick()  (end)  Mode:  [1] Stopped"_s);
    }

private:
    QString mediaPath(int tab, const QString& name) const {
        return MediaFilePath(path(u"backup"_s), tab, name);
    }
    QString longWav() const { return mediaPath(MediaTabWAV, u"long.wav"_s); }
    // A file in a media folder of the backup, known to the device with these lengths.
    void addMedia(int tab, const QString& name, std::int64_t ms, std::int64_t ticks = 0,
                  const QString& openError = QString()) {
        QVERIFY(files().writeFile(u"backup/"_s + MediaTabFolder(tab) + u'/' + name, "data"));
        m_playback->addFile(mediaPath(tab, name), {ms, ticks, openError});
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
        QString text = QString::fromUtf8(files().readFile(u"Debug.log"_s));
        text.chop(1);
        return text.split(u'\n');
    }
};

QTEST_MAIN(MediaPlayerTest)
#include "mediaplayer_test.moc"
