#include "media/core/wavesource.h"
#include "mediacore/mediatest.h"

#include <sys/stat.h>

namespace {

// Multiples of 1/128 from -1 to 127/128: every sample format holds them exactly.
double Ramp(std::int64_t frame, int channel) {
    return static_cast<double>((frame * 7 + channel * 31) % 256 - 128) / 128.0;
}

// Every frame up to the end, rendered in blocks (interleaved stereo).
std::vector<float> RenderAll(WaveSource& source, int block) {
    std::vector<float> all, buffer(2 * static_cast<std::size_t>(block));
    for (int got = block, blocks = 0; got == block && blocks < 100000; ++blocks) {
        got = source.render(buffer.data(), block);
        all.insert(all.end(), buffer.begin(), buffer.begin() + 2 * got);
    }
    return all;
}

TEST(WaveSourceTest, EverySampleFormatDecodesToItsValue) {
    const std::pair<WavSampleFormat, int> cases[] = {
        {WavSampleFormat::Pcm8, 1},  {WavSampleFormat::Pcm16, 2},   {WavSampleFormat::Pcm24, 1},
        {WavSampleFormat::Pcm32, 2}, {WavSampleFormat::Float32, 1}, {WavSampleFormat::Pcm24, 6}};
    MediaFolder folder;
    for (const auto& [format, channels] : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(format) << " x" << channels);
        const QString path =
            folder.write(Q("ramp.wav"), WavBytes({format, channels, 22050, 300, Ramp}));
        const auto source = WaveSource::open(path, 22050, nullptr);
        ASSERT_TRUE(source);
        const std::vector<float> out = RenderAll(*source, 128);
        ASSERT_EQ(out.size(), 600u);
        for (std::size_t f = 0; f < 300; ++f) {
            ASSERT_FLOAT_EQ(out[2 * f], static_cast<float>(Ramp(f, 0))) << f;
            ASSERT_FLOAT_EQ(out[2 * f + 1], static_cast<float>(Ramp(f, channels > 1 ? 1 : 0))) << f;
        }
    }
}

// A seek moves the position and what follows; beyond the end is the end, before the start
// the start. Data shorter than its header says plays what is there.
TEST(WaveSourceTest, SeekAndShortData) {
    MediaFolder folder;
    const QString path =
        folder.write(Q("ramp.wav"), WavBytes({WavSampleFormat::Float32, 2, 8000, 16000, Ramp}));
    const auto source = WaveSource::open(path, 8000, nullptr);
    ASSERT_TRUE(source);
    source->seek(1250, TimeUnit::Milliseconds);
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 1250);
    float frame[2];
    ASSERT_EQ(source->render(frame, 1), 1);
    EXPECT_FLOAT_EQ(frame[0], static_cast<float>(Ramp(10000, 0)));
    source->seek(99999, TimeUnit::Milliseconds);
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 2000);
    EXPECT_TRUE(source->atEnd());
    EXPECT_EQ(source->render(frame, 1), 0);
    source->seek(-5, TimeUnit::Milliseconds);
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 0);

    const QByteArray whole = WavBytes({WavSampleFormat::Pcm16, 1, 44100, 441, {}});
    const auto cut =
        WaveSource::open(folder.write(Q("cut.wav"), whole.chopped(200)), 44100, nullptr);
    ASSERT_TRUE(cut);
    EXPECT_EQ(RenderAll(*cut, 64).size() / 2, 441u - 100u);
}

// Why a file cannot play; only regular files are opened (a FIFO returns at once).
TEST(WaveSourceTest, SaysWhyAFileCannotPlay) {
    MediaFolder folder;
    const QString fifo = folder.path(Q("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray tone = WavBytes({WavSampleFormat::Pcm16, 1, 44100, 441, {}});
    const std::pair<QString, const char*> cases[] = {
        {folder.write(Q("b.wav"), SmfBytes(SmfSpec{})), "not a WAV file"},
        {folder.write(Q("c.wav"), tone.left(30)), "not a WAV file"},
        // Rates too far from the output's.
        {folder.write(Q("e.wav"), WavBytes({WavSampleFormat::Pcm16, 1, 100, 10, {}})),
         "its sample rate of 100 Hz cannot be played"},
        {folder.write(Q("f.wav"), WavBytes({WavSampleFormat::Pcm16, 1, 20'000'000, 10, {}})),
         "its sample rate of 20000000 Hz cannot be played"},
        {folder.path(Q("missing.wav")), "the file does not exist"},
        {folder.folder(), "it is a folder"},
        {fifo, "it is not a regular file"},
    };
    for (const auto& [path, why] : cases) {
        QString reason;
        EXPECT_FALSE(WaveSource::open(path, 44100, &reason));
        EXPECT_TRUE(reason.contains(Q(why))) << reason.toStdString();
    }
}

} // namespace
