#include "media/core/playbackengine.h"
#include "mediacore/mediatest.h"

#include <cmath>

namespace {

constexpr int Rate = 44100;

int RenderAll(PlaybackEngine& engine, int block = 512) {
    return static_cast<int>(
        RenderToEnd([&](float* o, int n) { return engine.render(o, n); }, block).size() / 2);
}

// Renders `frames` frames in one go and returns those that came from the file.
int RenderFrames(PlaybackEngine& engine, int frames) {
    std::vector<float> buffer(2 * static_cast<std::size_t>(frames));
    return engine.render(buffer.data(), frames);
}

QList<MidiNote> Notes(std::uint8_t channel, int count, std::uint32_t step) {
    QList<MidiNote> notes;
    for (int i = 0; i < count; ++i)
        notes.append({static_cast<std::uint32_t>(i) * step, channel,
                      static_cast<std::uint8_t>(48 + 3 * i), 110, step});
    return notes;
}

struct MidiLengthCase {
    const char* name;
    int format;
    std::uint16_t division;
    QList<MidiTempo> tempos;
    int notes;
    std::uint32_t step;
    double expectedMillis; // from the tempo map, worked out by hand
};

class MidiLengthTest : public ::testing::TestWithParam<MidiLengthCase> {};

TEST_P(MidiLengthTest, RenderedLengthMatchesTheTempoMap) {
    REQUIRE_SOUNDFONT();
    const MidiLengthCase& c = GetParam();
    SmfSpec spec;
    spec.format = c.format;
    spec.division = c.division;
    spec.tempos = c.tempos;
    spec.programs = {{0, 0, 0}, {0, 1, 40}};
    spec.noteTracks = {Notes(0, c.notes, c.step), Notes(1, c.notes / 2, c.step * 2)};
    MediaFolder folder;
    const QString path = folder.write(Q("song.mid"), SmfBytes(spec));
    PlaybackEngine engine(DefaultSoundFontFolder());
    QString error;
    ASSERT_TRUE(engine.open(PlaybackDevice::Sequencer, path, Rate, &error)) << error.toStdString();
    ASSERT_TRUE(engine.play());
    const int frames = RenderAll(engine);
    EXPECT_NEAR(frames * 1000.0 / Rate, c.expectedMillis, 20.0);
    engine.setTimeUnit(TimeUnit::Milliseconds);
    EXPECT_NEAR(static_cast<double>(engine.length()), c.expectedMillis, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiLengthTest,
    ::testing::Values(
        // 8 quarters at 120 bpm.
        MidiLengthCase{"Format0Steady", 0, 480, {}, 8, 480, 4000.0},
        // 4 quarters at 0.5 s, then 4 at 0.25 s.
        MidiLengthCase{"Format1Faster", 1, 480, {{0, 500000}, {1920, 250000}}, 8, 480, 3000.0},
        // 96 ticks per quarter: 2 quarters at 1 s, 2 at 0.3 s, 2 at 0.6 s.
        MidiLengthCase{"Format1ThreeTempos",
                       1,
                       96,
                       {{0, 1000000}, {192, 300000}, {384, 600000}},
                       6,
                       96,
                       2000.0 + 600.0 + 1200.0},
        // A tempo change in the middle of a note.
        MidiLengthCase{
            "Format0MidNote", 0, 120, {{0, 500000}, {60, 750000}}, 3, 120, 250.0 + 1875.0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WaveEngineTest, RenderedLengthMatchesTheFramesAtTheOutputRate) {
    MediaFolder folder;
    const QString path = folder.write(
        Q("tone.wav"), WavBytes({WavSampleFormat::Pcm24, 1, 32000, 40000, SineTone(300, 32000)}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, path, 48000, nullptr));
    EXPECT_EQ(engine.length(), 1250);
    EXPECT_TRUE(engine.play());
    EXPECT_NEAR(RenderAll(engine, 700), 60000, 48);
}

class SequencerPositionTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_SOUNDFONT();
        SmfSpec spec;
        spec.division = 480;
        spec.tempos = {{0, 500000}, {960, 1000000}}; // 1 s per 960 ticks, then 2 s per 960
        spec.noteTracks = {Notes(0, 4, 480)};
        spec.endTick = 1920;
        m_path = m_folder.write(Q("pos.mid"), SmfBytes(spec));
        ASSERT_TRUE(m_engine.open(PlaybackDevice::Sequencer, m_path, Rate, nullptr));
    }

    MediaFolder m_folder;
    QString m_path;
    PlaybackEngine m_engine{DefaultSoundFontFolder()};
};

TEST_F(SequencerPositionTest, TicksUntilSwitchedToMilliseconds) {
    EXPECT_EQ(m_engine.length(), 1920);
    EXPECT_EQ(m_engine.position(), 0);
    ASSERT_TRUE(m_engine.play());
    EXPECT_EQ(RenderFrames(m_engine, Rate), Rate); // 1 s
    EXPECT_NEAR(static_cast<double>(m_engine.position()), 960.0, 1.0);
    EXPECT_EQ(RenderFrames(m_engine, Rate), Rate); // 2 s: half way through the slow part
    EXPECT_NEAR(static_cast<double>(m_engine.position()), 1440.0, 1.0);
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    EXPECT_EQ(m_engine.length(), 3000);
    EXPECT_EQ(m_engine.position(), 2000);
}

TEST_F(SequencerPositionTest, SeekInEitherUnitReadsBack) {
    for (std::int64_t tick : {0, 1, 479, 480, 960, 1500, 1920}) {
        m_engine.seek(tick);
        EXPECT_EQ(m_engine.position(), tick);
    }
    m_engine.seek(5000);
    EXPECT_EQ(m_engine.position(), 1920);
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    for (std::int64_t ms : {0, 1, 999, 1000, 2345, 3000}) {
        m_engine.seek(ms);
        EXPECT_EQ(m_engine.position(), ms);
    }
    // 1.5 s in: the slow part began at 1 s, so 0.5 s of it = 240 ticks past 960.
    m_engine.seek(1500);
    m_engine.setTimeUnit(TimeUnit::Ticks);
    EXPECT_EQ(m_engine.position(), 1200);
}

TEST_F(SequencerPositionTest, StopKeepsThePositionAndPlayContinues) {
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    ASSERT_TRUE(m_engine.play());
    RenderFrames(m_engine, Rate / 2);
    EXPECT_TRUE(m_engine.stop());
    EXPECT_FALSE(m_engine.stop()); // nothing was playing any more
    EXPECT_EQ(m_engine.position(), 500);
    std::vector<float> block(2048, 1.0f);
    EXPECT_EQ(m_engine.render(block.data(), 1024), 0); // silence while stopped
    EXPECT_EQ(Peak(block), 0.0f);
    EXPECT_EQ(m_engine.position(), 500);
    bool wasPlaying = true;
    ASSERT_TRUE(m_engine.play(&wasPlaying));
    EXPECT_FALSE(wasPlaying);
    RenderFrames(m_engine, Rate / 4);
    EXPECT_EQ(m_engine.position(), 750);
}

TEST_F(SequencerPositionTest, TheEndStopsOnceAndPlayThenRestarts) {
    int ends = 0;
    m_engine.setEndHandler([&] { ++ends; });
    m_engine.setTimeUnit(TimeUnit::Milliseconds);
    ASSERT_TRUE(m_engine.play());
    EXPECT_NEAR(RenderAll(m_engine), 3 * Rate, Rate * 0.02);
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
    EXPECT_EQ(m_engine.position(), 0);
}

TEST_F(SequencerPositionTest, NotesSoundAndASeekBackPlaysThemAgain) {
    ASSERT_TRUE(m_engine.play());
    std::vector<float> first(2 * 4410);
    ASSERT_EQ(m_engine.render(first.data(), 4410), 4410);
    EXPECT_GT(Peak(first), 0.01f);
    m_engine.seek(0);
    std::vector<float> again(2 * 4410);
    ASSERT_EQ(m_engine.render(again.data(), 4410), 4410);
    EXPECT_NEAR(Peak(again), Peak(first), Peak(first) * 0.25f);
}

// Channel volume 0 from the start, and a note at 2 s: after a seek past the volume change
// the note must stay silent, so the change is sent again by the seek.
TEST(SequencerSeekTest, ControllersBeforeTheTargetAreSentAgain) {
    REQUIRE_SOUNDFONT();
    MediaFolder folder;
    for (const bool muted : {false, true}) {
        SmfSpec spec;
        spec.programs = {{0, 0, 80}};
        if (muted)
            spec.controllers = {{0, 0, 7, 0}};
        spec.noteTracks = {{{1920, 0, 69, 127, 480}}};
        const QString path = folder.write(Q("seek.mid"), SmfBytes(spec));
        PlaybackEngine engine(DefaultSoundFontFolder());
        ASSERT_TRUE(engine.open(PlaybackDevice::Sequencer, path, Rate, nullptr));
        ASSERT_TRUE(engine.play());
        RenderFrames(engine, Rate / 10);
        engine.seek(1440); // 1.5 s
        std::vector<float> out(2 * Rate);
        ASSERT_EQ(engine.render(out.data(), Rate), Rate);
        if (muted)
            EXPECT_LT(Peak(out), 1e-4f);
        else
            EXPECT_GT(Peak(out), 0.01f);
    }
}

TEST(PlaybackEngineTest, WaveStopContinueAndRestartAfterTheEnd) {
    MediaFolder folder;
    const QString path = folder.write(
        Q("ramp.wav"), WavBytes({WavSampleFormat::Pcm16, 2, Rate, Rate, SineTone(440, Rate)}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, path, Rate, nullptr));
    engine.setTimeUnit(TimeUnit::Ticks); // wave audio counts milliseconds whatever is asked
    ASSERT_TRUE(engine.play());
    RenderFrames(engine, Rate * 3 / 10);
    EXPECT_EQ(engine.position(), 300);
    engine.stop();
    RenderFrames(engine, Rate);
    EXPECT_EQ(engine.position(), 300);
    engine.play();
    EXPECT_EQ(RenderAll(engine), Rate * 7 / 10);
    EXPECT_EQ(engine.position(), 1000);
    engine.play();
    EXPECT_EQ(engine.position(), 0);
    EXPECT_EQ(RenderAll(engine), Rate);
}

struct OpenFailureCase {
    const char* name;
    PlaybackDevice device;
    QByteArray bytes;
    const char* reason;
};

class OpenFailureTest : public ::testing::TestWithParam<OpenFailureCase> {};

QByteArray GoodMidi() {
    SmfSpec spec;
    spec.noteTracks = {Notes(0, 2, 240)};
    return SmfBytes(spec);
}

TEST_P(OpenFailureTest, OneMessageNamesTheFileAndTheNextOpenWorks) {
    REQUIRE_SOUNDFONT();
    const OpenFailureCase& c = GetParam();
    MediaFolder folder;
    const QString bad = folder.write(Q("bad file"), c.bytes);
    const QString good = folder.write(Q("good.wav"), WavBytes({}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, nullptr));
    QString error;
    EXPECT_FALSE(engine.open(c.device, bad, Rate, &error));
    EXPECT_EQ(error, Q("Cannot play \"%1\": %2.").arg(bad, Q(c.reason)));
    EXPECT_FALSE(engine.hasFile());
    EXPECT_FALSE(engine.play());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, &error));
    EXPECT_TRUE(engine.play());
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenFailureTest,
    ::testing::Values(OpenFailureCase{"WaveAsMidi", PlaybackDevice::Sequencer, WavBytes({}),
                                      "it is not a standard MIDI file"},
                      OpenFailureCase{"MidiCut", PlaybackDevice::Sequencer, GoodMidi().chopped(2),
                                      "the file is cut short"},
                      OpenFailureCase{"EmptyMidi", PlaybackDevice::Sequencer, QByteArray(),
                                      "it is not a standard MIDI file"},
                      OpenFailureCase{
                          "MidiAsWave", PlaybackDevice::WaveAudio, GoodMidi(),
                          "it is not a WAV file that can be read (Format not recognised.)"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PlaybackEngineTest, AMissingSoundfontFailsOnlyTheMidiFile) {
    MediaFolder folder;
    const QString midi = folder.write(Q("song.mid"), GoodMidi());
    const QString wave = folder.write(Q("tone.wav"), WavBytes({}));
    const QString fonts = folder.path(Q("no-fonts"));
    PlaybackEngine engine(fonts);
    QString error;
    EXPECT_FALSE(engine.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_EQ(error, Q("Cannot play \"%1\": no General MIDI soundfont (.sf2) was found in %2.")
                         .arg(midi, fonts));
    EXPECT_FALSE(engine.soundFontLoaded());
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, wave, Rate, &error));
    EXPECT_TRUE(engine.play());
    EXPECT_EQ(RenderAll(engine), Rate);
}

TEST(PlaybackEngineTest, ABrokenSoundfontIsReportedAndAnotherFolderIsLookedAt) {
    MediaFolder folder;
    folder.write(Q("aaa.sf2"), QByteArray("RIFF\x04\0\0\0sfbk", 12));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), folder.path(Q("aaa.sf2")));
    folder.write(Q("default-GM.sf2"), QByteArray("not a soundfont"));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), folder.path(Q("default-GM.sf2")));
    const QString midi = folder.write(Q("song.mid"), GoodMidi());
    PlaybackEngine engine(folder.folder());
    QString error;
    EXPECT_FALSE(engine.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_TRUE(error.contains(
        Q("the soundfont %1 cannot be loaded").arg(folder.path(Q("default-GM.sf2")))))
        << error.toStdString();
}

} // namespace
