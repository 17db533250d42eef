#include "media/core/playbackengine.h"
#include "mediacore/mediatest.h"

#include <cmath>

namespace {

constexpr int Rate = 44100;

int RenderAll(PlaybackEngine& engine, int block = 512) {
    return static_cast<int>(
        RenderToEnd([&](float* o, int n) { return engine.render(o, n); }, block).size() / 2);
}

// Renders `frames` frames in one go; returns those that came from the file and their peak.
std::pair<int, float> RenderFrames(PlaybackEngine& engine, int frames) {
    std::vector<float> buffer(2 * static_cast<std::size_t>(frames), 1.0f);
    const int got = engine.render(buffer.data(), frames);
    return {got, Peak(buffer)};
}

QList<MidiNote> Notes(std::uint8_t channel, int count, std::uint32_t step) {
    QList<MidiNote> notes;
    for (int i = 0; i < count; ++i)
        notes.append({static_cast<std::uint32_t>(i) * step, channel,
                      static_cast<std::uint8_t>(48 + 3 * i), 110, step});
    return notes;
}

QByteArray GoodMidi() {
    SmfSpec layout;
    layout.noteTracks = {Notes(0, 2, 240)};
    return SmfBytes(layout);
}

class SequencerPositionTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SOUNDFONT();
        SmfSpec layout;
        layout.division = 480;
        // Two note tracks; 1 s per 960 ticks, then 2 s per 960.
        layout.tempos = {{0, 500000}, {960, 1000000}};
        layout.noteTracks = {Notes(0, 4, 480), Notes(1, 2, 960)};
        layout.endTick = 1920;
        const QString path = m_folder.write(Q("pos.mid"), SmfBytes(layout));
        ASSERT_TRUE(m_engine.open(PlaybackDevice::Sequencer, path, Rate, nullptr));
    }

    MediaFolder m_folder;
    PlaybackEngine m_engine{DefaultSoundFontFolder()};
};

TEST_F(SequencerPositionTest, TicksUntilSwitchedToMilliseconds) {
    EXPECT_EQ(m_engine.length(), 1920);
    ASSERT_TRUE(m_engine.play());
    EXPECT_EQ(RenderFrames(m_engine, 2 * Rate).first, 2 * Rate); // half way through the slow part
    EXPECT_NEAR(static_cast<double>(m_engine.position()), 1440.0, 1.0);
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    EXPECT_EQ(m_engine.length(), 3000);
    EXPECT_EQ(m_engine.position(), 2000);
}

// A seek in either unit reads back, and reads in the other unit through the tempo map.
TEST_F(SequencerPositionTest, SeekInEitherUnitReadsBack) {
    const std::pair<std::int64_t, std::int64_t> tickAndMs[] = {
        {0, 0}, {479, 499}, {960, 1000}, {1200, 1500}, {1920, 3000}};
    for (const auto& [tick, ms] : tickAndMs) {
        m_engine.setTimeUnit(TimeUnit::Ticks);
        m_engine.seek(tick);
        EXPECT_EQ(m_engine.position(), tick);
        m_engine.setTimeUnit(TimeUnit::Milliseconds);
        EXPECT_NEAR(static_cast<double>(m_engine.position()), static_cast<double>(ms), 1.0);
        m_engine.seek(ms);
        EXPECT_EQ(m_engine.position(), ms);
        m_engine.setTimeUnit(TimeUnit::Ticks);
        EXPECT_NEAR(static_cast<double>(m_engine.position()), static_cast<double>(tick), 1.0);
    }
    m_engine.seek(5000);
    EXPECT_EQ(m_engine.position(), 1920);
}

TEST_F(SequencerPositionTest, StopKeepsThePositionAndPlayContinues) {
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    ASSERT_TRUE(m_engine.play());
    const float sounding = RenderFrames(m_engine, Rate / 2).second;
    EXPECT_GT(sounding, 0.01f);
    EXPECT_TRUE(m_engine.stop());
    EXPECT_FALSE(m_engine.stop()); // nothing was playing any more
    EXPECT_EQ(m_engine.position(), 500);
    EXPECT_EQ(RenderFrames(m_engine, 1024), std::make_pair(0, 0.0f)); // silence while stopped
    EXPECT_EQ(m_engine.position(), 500);
    bool wasPlaying = true;
    ASSERT_TRUE(m_engine.play(&wasPlaying));
    EXPECT_FALSE(wasPlaying);
    RenderFrames(m_engine, Rate / 4);
    EXPECT_EQ(m_engine.position(), 750);
    // A seek back plays the notes already played again.
    m_engine.seek(0);
    EXPECT_NEAR(RenderFrames(m_engine, Rate / 2).second, sounding, sounding * 0.25f);
}

TEST_F(SequencerPositionTest, TheEndStopsOnceAndPlayThenRestarts) {
    int ends = 0;
    m_engine.setEndHandler([&] { ++ends; });
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    ASSERT_TRUE(m_engine.play());
    EXPECT_NEAR(RenderAll(m_engine), 3 * Rate, Rate * 0.02); // the tempo map's length
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(m_engine.isPlaying());
    EXPECT_EQ(m_engine.position(), 3000);
    RenderAll(m_engine);
    EXPECT_EQ(ends, 1); // no second end without a second play
    ASSERT_TRUE(m_engine.play());
    EXPECT_EQ(m_engine.position(), 0);
    RenderFrames(m_engine, Rate / 10);
    EXPECT_EQ(m_engine.position(), 100);
    EXPECT_TRUE(m_engine.close());
    EXPECT_FALSE(m_engine.hasFile());
    EXPECT_FALSE(m_engine.play());
}

// Channel volume 0 from the start, and a note at 2 s: after a seek past the volume change
// the note must stay silent, so the change is sent again by the seek.
TEST(SequencerSeekTest, ControllersBeforeTheTargetAreSentAgain) {
    REQUIRE_SOUNDFONT();
    MediaFolder folder;
    for (const bool muted : {false, true}) {
        SmfSpec layout;
        layout.programs = {{0, 0, 80}};
        if (muted)
            layout.controllers = {{0, 0, 7, 0}};
        layout.noteTracks = {{{1920, 0, 69, 127, 480}}};
        const QString path = folder.write(Q("seek.mid"), SmfBytes(layout));
        PlaybackEngine engine(DefaultSoundFontFolder());
        ASSERT_TRUE(engine.open(PlaybackDevice::Sequencer, path, Rate, nullptr));
        ASSERT_TRUE(engine.play());
        RenderFrames(engine, Rate / 10);
        engine.seek(1440); // 1.5 s
        const auto [frames, peak] = RenderFrames(engine, Rate);
        ASSERT_EQ(frames, Rate);
        if (muted)
            EXPECT_LT(peak, 1e-4f);
        else
            EXPECT_GT(peak, 0.01f);
    }
}

// Wave audio counts milliseconds whatever unit is asked, renders its frames converted to the
// output rate, and plays again from the start after its end.
TEST(PlaybackEngineTest, WaveLengthAndRestartAfterTheEnd) {
    MediaFolder folder;
    const QString path = folder.write(
        Q("tone.wav"), WavBytes({WavSampleFormat::Pcm24, 1, 32000, 32000, SineTone(300, 32000)}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, path, Rate, nullptr));
    engine.setTimeUnit(TimeUnit::Ticks);
    EXPECT_EQ(engine.length(), 1000);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(engine.play());
        EXPECT_EQ(engine.position(), 0);
        EXPECT_NEAR(RenderAll(engine, 700), Rate, 44);
        EXPECT_EQ(engine.position(), 1000);
    }
}

TEST(PlaybackEngineTest, AFailedOpenNamesTheFileAndTheNextOpenWorks) {
    REQUIRE_SOUNDFONT();
    const struct {
        PlaybackDevice device;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {PlaybackDevice::Sequencer, WavBytes({}), "it is not a standard MIDI file"},
        {PlaybackDevice::Sequencer, GoodMidi().chopped(2), "the file is cut short"},
        {PlaybackDevice::WaveAudio, GoodMidi(),
         "it is not a WAV file that can be read (Format not recognised.)"},
    };
    MediaFolder folder;
    const QString good = folder.write(Q("good.wav"), WavBytes({}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    for (const auto& c : cases) {
        const QString bad = folder.write(Q("bad file"), c.bytes);
        ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, nullptr));
        QString error;
        EXPECT_FALSE(engine.open(c.device, bad, Rate, &error));
        EXPECT_EQ(error, Q("Cannot play \"%1\": %2.").arg(bad, Q(c.reason)));
        EXPECT_FALSE(engine.hasFile());
        EXPECT_FALSE(engine.play());
    }
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, nullptr));
    EXPECT_TRUE(engine.play());
}

// No soundfont fails only MIDI files; a broken one is named, and the default name wins.
TEST(PlaybackEngineTest, AMissingOrBrokenSoundfontIsReported) {
    MediaFolder folder;
    const QString midi = folder.write(Q("song.mid"), GoodMidi());
    const QString wave = folder.write(Q("tone.wav"), WavBytes({}));
    const QString fonts = folder.path(Q("no-fonts"));
    PlaybackEngine missing(fonts);
    QString error;
    EXPECT_FALSE(missing.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_EQ(error, Q("Cannot play \"%1\": no General MIDI soundfont (.sf2) was found in %2.")
                         .arg(midi, fonts));
    EXPECT_FALSE(missing.soundFontLoaded());
    ASSERT_TRUE(missing.open(PlaybackDevice::WaveAudio, wave, Rate, &error));
    EXPECT_TRUE(missing.play());
    folder.write(Q("aaa.sf2"), QByteArray("RIFF\x04\0\0\0sfbk", 12));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), folder.path(Q("aaa.sf2")));
    const QString broken = folder.write(Q("default-GM.sf2"), QByteArray("not a soundfont"));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), broken);
    PlaybackEngine engine(folder.folder());
    EXPECT_FALSE(engine.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_TRUE(error.contains(Q("the soundfont %1 cannot be loaded").arg(broken)))
        << error.toStdString();
}

} // namespace
