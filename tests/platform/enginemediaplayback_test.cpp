#include "mediacore/mediatest.h"
#include "platform/enginemediaplayback.h"
#include "platform/memoryaudiooutput.h"
#include "platform/systemmediaplayback.h"

#include <QCoreApplication>

namespace {

class MediaPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Completion notifications are queued events: they need an application object.
        static int argc = 1;
        static char* argv[] = {const_cast<char*>("test_platform"), nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv); // lives until the process ends
        auto output = std::make_unique<MemoryAudioOutput>(8000);
        m_output = output.get();
        m_player =
            std::make_unique<EngineMediaPlayback>(std::move(output), DefaultSoundFontFolder());
        m_player->setCompletionHandler([this] { ++m_completions; });
        m_wave =
            m_folder.write(Q("one second.wav"),
                           WavBytes({WavSampleFormat::Pcm16, 1, 8000, 8000, SineTone(200, 8000)}));
    }

    MediaFolder m_folder;
    QString m_wave;
    MemoryAudioOutput* m_output = nullptr;
    std::unique_ptr<EngineMediaPlayback> m_player;
    int m_completions = 0;
};

// Without a file, and after a failed open, commands are refused with their texts.
TEST_F(MediaPlaybackTest, CommandsWithoutAFileAreRefused) {
    QString error;
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), QString(), &error));
    EXPECT_EQ(m_player->mode(), MediaPlayback::Stopped);
    EXPECT_FALSE(m_player->play(&error));
    EXPECT_EQ(error, Q("The playback device has no file open."));
    EXPECT_FALSE(m_output->isStarted()); // the output opens with the first file

    const QString bad = m_folder.write(Q("noise.mid"), QByteArray("MThd\0\0", 6));
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    EXPECT_FALSE(m_player->open(Q("Sequencer"), bad, &error)); // the text: PlaybackEngine's
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
    for (auto command : {&MediaPlayback::play, &MediaPlayback::stop}) {
        EXPECT_FALSE(((*m_player).*command)(&error));
        EXPECT_EQ(error, Q("No playback device is open."));
    }
    EXPECT_FALSE(m_player->seek(0, &error));
    EXPECT_EQ(m_player->length(), 0);
    EXPECT_FALSE(m_player->open(Q("CDAudio"), m_wave, &error));
    EXPECT_EQ(error, Q("Unknown playback device \"CDAudio\"."));
}

// A seek while stopped starts the next play there; one while playing goes on playing. The
// end, stop, a play over a play, another open and close each notify once on the event loop,
// never inside the command itself; play after the end starts again from the start.
TEST_F(MediaPlaybackTest, EveryEndOfAPlayNotifiesOnce) {
    QString error;
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error)) << error.toStdString();
    ASSERT_TRUE(m_player->seek(500, &error));
    ASSERT_TRUE(m_player->play(&error));
    std::vector<float> out;
    m_output->pullInto(out, 800);
    ASSERT_TRUE(m_player->seek(900, &error)); // goes on playing: see the frame count
    int frames = 0;
    for (int i = 0; i < 100 && m_player->mode() == MediaPlayback::Playing; ++i)
        frames += m_output->pullInto(out, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(frames, 800);
    EXPECT_EQ(m_completions, 1);
    EXPECT_EQ(m_player->position(), 1000);
    ASSERT_TRUE(m_player->play(&error));
    m_output->pullInto(out, 4000);
    ASSERT_TRUE(m_player->stop(&error));
    EXPECT_EQ(m_completions, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 2);
    EXPECT_EQ(m_player->position(), 500);
    ASSERT_TRUE(m_player->stop(&error)); // stopping a stopped file notifies nothing
    ASSERT_TRUE(m_player->play(&error));
    ASSERT_TRUE(m_player->play(&error));
    ASSERT_TRUE(m_player->open(Q("WaveAudio"), m_wave, &error));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 4);
    EXPECT_EQ(m_player->position(), 0);
    ASSERT_TRUE(m_player->play(&error));
    m_player->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_completions, 5);
    EXPECT_EQ(m_player->mode(), MediaPlayback::NotReady);
}

// Through SDL: no driver is one message naming the file; the next open tries again.
TEST(SdlAudioOutputTest, AMissingDriverIsReportedAndTheNextOpenTriesAgain) {
    MediaFolder folder;
    const QString wave = folder.write(Q("short.wav"), WavBytes({}));
    const auto player = CreateSystemMediaPlayback();
    QString error;
    {
        const ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_FALSE(player->open(Q("WaveAudio"), wave, &error));
        EXPECT_TRUE(error.startsWith(
                        Q("Cannot play \"%1\": no audio output device is available (").arg(wave)) &&
                    error.endsWith(Q(").")))
            << error.toStdString();
    }
    const ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    EXPECT_TRUE(player->open(Q("WaveAudio"), wave, &error)) << error.toStdString();
}

} // namespace
