#include "media/core/playbackengine.h"
#include "mediacore/mediatest.h"

namespace {

constexpr int Rate = 44100;

QByteArray GoodMidi() {
    SmfSpec layout;
    layout.noteTracks = {{{0, 0, 48, 110, 240}, {240, 0, 51, 110, 240}}};
    return SmfBytes(layout);
}

} // namespace

// A failed open names the file and why, leaves nothing open, and the next open works.
TEST(PlaybackEngineTest, AFailedOpenNamesTheFileAndTheNextOpenWorks) {
    if (FindGeneralMidiSoundFont(DefaultSoundFontFolder()).isEmpty())
        GTEST_SKIP() << "no General MIDI soundfont installed";
    const std::tuple<PlaybackDevice, QByteArray, const char*> cases[] = {
        {PlaybackDevice::Sequencer, WavBytes({}), "it is not a standard MIDI file"},
        {PlaybackDevice::Sequencer, GoodMidi().chopped(2), "the file is cut short"},
        {PlaybackDevice::WaveAudio, GoodMidi(),
         "it is not a WAV file that can be read (Format not recognised.)"},
    };
    MediaFolder folder;
    const QString good = folder.write(Q("good.wav"), WavBytes({}));
    PlaybackEngine engine(DefaultSoundFontFolder());
    for (const auto& [device, bytes, reason] : cases) {
        const QString bad = folder.write(Q("bad file"), bytes);
        ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, nullptr));
        QString error;
        EXPECT_FALSE(engine.open(device, bad, Rate, &error));
        EXPECT_EQ(error, Q("Cannot play \"%1\": %2.").arg(bad, Q(reason)));
        EXPECT_FALSE(engine.hasFile());
        EXPECT_FALSE(engine.play());
    }
    ASSERT_TRUE(engine.open(PlaybackDevice::WaveAudio, good, Rate, nullptr));
    EXPECT_TRUE(engine.play());
    // A sequencer counts ticks until switched to milliseconds.
    ASSERT_TRUE(engine.open(PlaybackDevice::Sequencer, folder.write(Q("a.mid"), GoodMidi()), Rate,
                            nullptr));
    EXPECT_EQ(engine.length(), 480);
    engine.seek(240);
    engine.setTimeUnit(TimeUnit::Milliseconds);
    EXPECT_EQ(engine.length(), 500);
    EXPECT_EQ(engine.position(), 250);
}

// No soundfont fails only MIDI files; a broken one is named, and the default name wins.
TEST(PlaybackEngineTest, AMissingOrBrokenSoundfontIsReported) {
    MediaFolder folder;
    const QString midi = folder.write(Q("song.mid"), GoodMidi());
    const QString fonts = folder.path(Q("no-fonts"));
    PlaybackEngine missing(fonts);
    QString error;
    EXPECT_FALSE(missing.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_EQ(error, Q("Cannot play \"%1\": no General MIDI soundfont (.sf2) was found in %2.")
                         .arg(midi, fonts));
    ASSERT_TRUE(missing.open(PlaybackDevice::WaveAudio, folder.write(Q("t.wav"), WavBytes({})),
                             Rate, &error));
    folder.write(Q("aaa.sf2"), QByteArray("RIFF\x04\0\0\0sfbk", 12));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), folder.path(Q("aaa.sf2")));
    const QString broken = folder.write(Q("default-GM.sf2"), QByteArray("not a soundfont"));
    EXPECT_EQ(FindGeneralMidiSoundFont(folder.folder()), broken);
    PlaybackEngine engine(folder.folder());
    EXPECT_FALSE(engine.open(PlaybackDevice::Sequencer, midi, Rate, &error));
    EXPECT_TRUE(error.contains(Q("the soundfont %1 cannot be loaded").arg(broken)))
        << error.toStdString();
}

// The short last block of a file ends the play, and the next play starts from the start.
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
        std::vector<float> block(2 * 700);
        int frames = 0;
        for (int got = 700; got == 700 && frames < 4 * Rate; frames += got)
            got = engine.render(block.data(), 700);
        EXPECT_NEAR(frames, Rate, 44);
        EXPECT_EQ(engine.position(), 1000);
    }
}
