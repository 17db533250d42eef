#include "mediacore/mediatest.h"
#include "platform/enginemediaplayback.h"
#include "platform/memoryaudiooutput.h"
#include "platform/systemmediaplayback.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

// Completion notifications are queued events: they need an application object.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

class MediaPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        auto output = std::make_unique<MemoryAudioOutput>(8000);
        m_output = output.get();
        m_player =
            std::make_unique<EngineMediaPlayback>(std::move(output), DefaultSoundFontFolder());
        m_player->setCompletionHandler([this] { ++m_completions; });
        m_wave =
            m_folder.write(Q("one second.wav"),
                           WavBytes({WavSampleFormat::Pcm16, 1, 8000, 8000, SineTone(200, 8000)}));
    }

    // Renders until the file ends (or a limit), then delivers queued notifications.
    int renderToEnd() {
        std::vector<float> out;
        int frames = 0;
        for (int i = 0; i < 100 && m_player->mode() == MediaPlayback::Playing; ++i)
            frames += m_output->pullInto(out, 800);
        QCoreApplication::processEvents();
        return frames;
    }

    MediaFolder m_folder;
    QString m_wave;
    MemoryAudioOutput* m_output = nullptr;
    std::unique_ptr<EngineMediaPlayback> m_player;
    int m_completions = 0;
};

TEST_F(MediaPlaybackTest, WaveAudioWithoutAFileTakesNoCommands) {
    QString error;
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), QString(), &error));
    EXPECT_TRUE(m_player->isOpen());
    EXPECT_EQ(m_player->mode(), MediaPlayback::Stopped);
    EXPECT_TRUE(m_player->setTimeFormatMilliseconds(&error));
    EXPECT_FALSE(m_player->play(&error));
    EXPECT_EQ(error, Q("The playback device has no file open."));
    EXPECT_FALSE(m_player->seek(10, &error));
    EXPECT_EQ(m_player->length(), 0);
    EXPECT_FALSE(m_output->isStarted()); // the output opens with the first file
}

// A seek while stopped starts the next play there; one while playing goes on playing. The end
// notifies once on the event loop, and play after it plays the file again from its start.
TEST_F(MediaPlaybackTest, SeekThenPlayToTheEndAndAgain) {
    QString error;
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error)) << error.toStdString();
    ASSERT_TRUE(m_player->seek(m_player->length() / 2, &error));
    EXPECT_EQ(m_player->position(), 500);
    ASSERT_TRUE(m_player->play(&error));
    std::vector<float> out;
    m_output->pullInto(out, 800);
    EXPECT_EQ(m_player->position(), 600);
    ASSERT_TRUE(m_player->seek(900, &error));
    EXPECT_EQ(m_player->mode(), MediaPlayback::Playing);
    EXPECT_EQ(m_player->position(), 900);
    EXPECT_EQ(renderToEnd(), 800);
    EXPECT_EQ(m_completions, 1);
    EXPECT_EQ(m_player->mode(), MediaPlayback::Stopped);
    EXPECT_EQ(m_player->position(), 1000);
    ASSERT_TRUE(m_player->play(&error));
    EXPECT_EQ(m_player->position(), 0);
    EXPECT_EQ(renderToEnd(), 8000);
    EXPECT_EQ(m_completions, 2);
}

TEST_F(MediaPlaybackTest, StopCloseAndAnotherOpenEachEndThePlay) {
    QString error;
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    ASSERT_TRUE(m_player->play(&error));
    std::vector<float> out;
    m_output->pullInto(out, 4000);
    ASSERT_TRUE(m_player->stop(&error));
    EXPECT_EQ(m_completions, 0); // never inside the command itself
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 1);
    EXPECT_EQ(m_player->position(), 500);
    ASSERT_TRUE(m_player->stop(&error)); // stopping a stopped file notifies nothing
    ASSERT_TRUE(m_player->play(&error));
    ASSERT_TRUE(m_player->play(&error)); // a play over a play supersedes it
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 3);
    EXPECT_EQ(m_player->position(), 0);
    ASSERT_TRUE(m_player->play(&error));
    m_player->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 4);
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
}

TEST_F(MediaPlaybackTest, AFailedOpenLeavesNothingOpenUntilAGoodFile) {
    const QString bad = m_folder.write(Q("noise.mid"), QByteArray("MThd\0\0", 6));
    QString error;
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    EXPECT_FALSE(m_player->open(Q("Sequencer"), bad, &error));
    EXPECT_EQ(error, Q("Cannot play \"%1\": the file is cut short.").arg(bad));
    EXPECT_FALSE(m_player->isOpen());
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
    for (auto command : {&MediaPlayback::play, &MediaPlayback::stop}) {
        EXPECT_FALSE(((*m_player).*command)(&error));
        EXPECT_EQ(error, Q("No playback device is open."));
    }
    EXPECT_FALSE(m_player->seek(0, &error));
    EXPECT_EQ(m_player->length(), 0);
    EXPECT_FALSE(m_player->open(Q("CDAudio"), m_wave, &error));
    EXPECT_EQ(error, Q("Unknown playback device \"CDAudio\"."));
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    EXPECT_TRUE(m_player->play(&error));
}

// Ticks until the time format is set, and again after the next open.
TEST_F(MediaPlaybackTest, SequencerCountsTicksUntilMilliseconds) {
    REQUIRE_SOUNDFONT();
    SmfSpec layout;
    layout.division = 96;
    layout.tempos = {{0, 250000}}; // a quarter every 0.25 s
    layout.noteTracks = {{{0, 0, 60, 100, 384}}};
    const QString midi = m_folder.write(Q("short.mid"), SmfBytes(layout));
    QString error;
    ASSERT_TRUE(m_player->open(Q("Sequencer"), midi, &error)) << error.toStdString();
    EXPECT_EQ(m_player->length(), 384);
    ASSERT_TRUE(m_player->seek(192, &error));
    ASSERT_TRUE(m_player->setTimeFormatMilliseconds(&error));
    EXPECT_EQ(m_player->position(), 500);
    EXPECT_EQ(m_player->length(), 1000);
    ASSERT_TRUE(m_player->open(Q("Sequencer"), midi, &error));
    EXPECT_EQ(m_player->length(), 384);
}

// Waits for `done` while handling events; false after `ms` without it.
template <typename Done> bool WaitFor(Done done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

// Through SDL: no driver is one message and the next open tries again; the dummy driver
// plays a file to its end.
TEST(SdlAudioOutputTest, AMissingDriverIsReportedThenTheFilePlaysToItsEnd) {
    EnsureApplication();
    MediaFolder folder;
    const QString wave = folder.write(
        Q("short.wav"), WavBytes({WavSampleFormat::Pcm16, 2, 44100, 8820, SineTone(440, 44100)}));
    const auto player = CreateSystemMediaPlayback();
    int completions = 0;
    player->setCompletionHandler([&] { ++completions; });
    QString error;
    {
        const ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_FALSE(player->open(Q("WaveAudio"), wave, &error));
        EXPECT_TRUE(error.startsWith(
                        Q("Cannot play \"%1\": no audio output device is available (").arg(wave)) &&
                    error.endsWith(Q(").")))
            << error.toStdString();
        EXPECT_FALSE(player->isOpen());
    }
    const ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_TRUE(player->open(Q("WaveAudio"), wave, &error)) << error.toStdString();
    ASSERT_TRUE(player->play(&error));
    EXPECT_TRUE(WaitFor([&] { return completions == 1; }));
    EXPECT_EQ(player->mode(), MediaPlayback::Stopped);
    EXPECT_EQ(player->position(), 200);
}

} // namespace
