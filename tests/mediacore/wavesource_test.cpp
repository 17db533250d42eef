#include "media/core/wavesource.h"
#include "mediacore/mediatest.h"

#include <cmath>
#include <random>
#include <sys/stat.h>

namespace {

// Multiples of 1/128 from -1 to 127/128: every sample format holds them exactly.
double Ramp(std::int64_t frame, int channel) {
    return static_cast<double>((frame * 7 + channel * 31) % 256 - 128) / 128.0;
}

struct FormatCase {
    WavSampleFormat format;
    int channels;
};

class WaveFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(WaveFormatTest, EverySampleDecodesToItsValue) {
    const FormatCase c = GetParam();
    MediaFolder folder;
    const QString path =
        folder.write(Q("ramp.wav"), WavBytes({c.format, c.channels, 22050, 300, Ramp}));
    QString reason;
    const auto source = WaveSource::open(path, 22050, &reason);
    ASSERT_TRUE(source) << reason.toStdString();
    const std::vector<float> out =
        RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 128);
    ASSERT_EQ(out.size(), 600u);
    for (std::int64_t f = 0; f < 300; ++f) {
        ASSERT_FLOAT_EQ(out[2 * f], static_cast<float>(Ramp(f, 0))) << f;
        ASSERT_FLOAT_EQ(out[2 * f + 1], static_cast<float>(Ramp(f, c.channels > 1 ? 1 : 0))) << f;
    }
    EXPECT_TRUE(source->atEnd());
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 300 * 1000 / 22050);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveFormatTest,
    ::testing::Values(FormatCase{WavSampleFormat::Pcm8, 1}, FormatCase{WavSampleFormat::Pcm8, 2},
                      FormatCase{WavSampleFormat::Pcm16, 1}, FormatCase{WavSampleFormat::Pcm16, 2},
                      FormatCase{WavSampleFormat::Pcm24, 1}, FormatCase{WavSampleFormat::Pcm24, 2},
                      FormatCase{WavSampleFormat::Pcm32, 1}, FormatCase{WavSampleFormat::Pcm32, 2},
                      FormatCase{WavSampleFormat::Float32, 1},
                      FormatCase{WavSampleFormat::Float32, 2},
                      FormatCase{WavSampleFormat::Pcm16, 4},
                      FormatCase{WavSampleFormat::Pcm24, 6}));

// Sign changes of the left channel.
int ZeroCrossings(const std::vector<float>& stereo) {
    int count = 0;
    for (std::size_t i = 2; i < stereo.size(); i += 2)
        count += (stereo[i - 2] < 0.0f) != (stereo[i] < 0.0f) ? 1 : 0;
    return count;
}

struct RateCase {
    int fileRate;
    int outputRate;
};

class WaveRateTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(WaveRateTest, ConvertedLengthAndPitchFollowTheFile) {
    const RateCase c = GetParam();
    MediaFolder folder;
    const std::int64_t frames = c.fileRate * 3 / 2; // 1.5 s of 1 kHz
    const QString path = folder.write(
        Q("tone.wav"),
        WavBytes({WavSampleFormat::Pcm16, 2, c.fileRate, frames, SineTone(1000.0, c.fileRate)}));
    QString reason;
    const auto source = WaveSource::open(path, c.outputRate, &reason);
    ASSERT_TRUE(source) << reason.toStdString();
    EXPECT_EQ(source->length(TimeUnit::Milliseconds), 1500);
    const std::vector<float> out =
        RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 1000);
    const double expected = 1.5 * c.outputRate;
    EXPECT_NEAR(static_cast<double>(out.size() / 2), expected, c.outputRate / 1000.0);
    EXPECT_NEAR(ZeroCrossings(out), 3000, 4);
    EXPECT_NEAR(Peak(out), 0.5, 0.02);
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 1500);
}

INSTANTIATE_TEST_SUITE_P(Rates, WaveRateTest,
                         ::testing::Values(RateCase{44100, 44100}, RateCase{44100, 48000},
                                           RateCase{48000, 44100}, RateCase{8000, 44100},
                                           RateCase{96000, 44100}));

TEST(WaveSourceTest, SeekMovesThePositionAndWhatFollows) {
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
    source->seek(99999, TimeUnit::Milliseconds); // beyond the end: the end
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 2000);
    EXPECT_TRUE(source->atEnd());
    EXPECT_EQ(source->render(frame, 1), 0);
    source->seek(-5, TimeUnit::Milliseconds);
    EXPECT_EQ(source->position(TimeUnit::Milliseconds), 0);
    EXPECT_FALSE(source->atEnd());
}

struct FailureCase {
    const char* name;
    QByteArray bytes;
    const char* reason;
};

class WaveFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WaveFailureTest, SaysWhyTheFileCannotPlay) {
    MediaFolder folder;
    const QString path = folder.write(Q("bad.wav"), GetParam().bytes);
    QString reason;
    EXPECT_FALSE(WaveSource::open(path, 44100, &reason));
    EXPECT_TRUE(reason.contains(Q(GetParam().reason))) << reason.toStdString();
}

QByteArray ToneBytes() {
    return WavBytes({WavSampleFormat::Pcm16, 1, 44100, 441, SineTone(440.0, 44100)});
}

INSTANTIATE_TEST_SUITE_P(
    Files, WaveFailureTest,
    ::testing::Values(FailureCase{"Empty", QByteArray(), "not a WAV file"},
                      FailureCase{"Text", QByteArray("hello, this is not audio at all"),
                                  "not a WAV file"},
                      FailureCase{"Midi", SmfBytes(SmfSpec{}), "not a WAV file"},
                      FailureCase{"HeaderCut", ToneBytes().left(30), "not a WAV file"},
                      FailureCase{"Aiff",
                                  QByteArray("FORM\0\0\0\x2E"
                                             "AIFFCOMM\0\0\0\x12\0\x01",
                                             18),
                                  "not a WAV file"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(WaveSourceTest, OnlyRegularFilesAreOpened) {
    MediaFolder folder;
    QString reason;
    EXPECT_FALSE(WaveSource::open(folder.path(Q("missing.wav")), 44100, &reason));
    EXPECT_EQ(reason, Q("the file does not exist"));
    EXPECT_FALSE(WaveSource::open(folder.folder(), 44100, &reason));
    EXPECT_EQ(reason, Q("it is a folder"));
    const QString fifo = folder.path(Q("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(WaveSource::open(fifo, 44100, &reason)); // returns at once, no writer needed
    EXPECT_EQ(reason, Q("it is not a regular file"));
}

TEST(WaveSourceTest, AnUnreadableFileSaysSo) {
    if (RunningAsRoot())
        GTEST_SKIP() << "root reads every file";
    MediaFolder folder;
    const QString path = folder.write(Q("locked.wav"), ToneBytes());
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    QString reason;
    EXPECT_FALSE(WaveSource::open(path, 44100, &reason));
    EXPECT_EQ(reason, Q("permission to read it is denied"));
}

TEST(WaveSourceTest, DataShorterThanItsHeaderSaysPlaysWhatIsThere) {
    MediaFolder folder;
    const QByteArray whole = ToneBytes();
    const QString path = folder.write(Q("cut.wav"), whole.left(whole.size() - 200));
    const auto source = WaveSource::open(path, 44100, nullptr);
    ASSERT_TRUE(source);
    const std::vector<float> out =
        RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 64);
    EXPECT_EQ(out.size() / 2, 441u - 100u);
}

TEST(WaveSourceTest, RatesTooFarFromTheOutputAreRefused) {
    MediaFolder folder;
    for (int rate : {100, 20'000'000}) {
        const QString path =
            folder.write(Q("odd.wav"), WavBytes({WavSampleFormat::Pcm16, 1, rate, 10, {}}));
        QString reason;
        EXPECT_FALSE(WaveSource::open(path, 44100, &reason));
        EXPECT_EQ(reason, Q("its sample rate of %1 Hz cannot be played").arg(rate));
    }
}

// Headers with random bytes: whatever libsndfile makes of them, the source either refuses
// the file or renders it to an end within the frames the file can hold.
TEST(WaveSourceTest, DamagedHeadersNeverRenderBeyondTheFile) {
    const QByteArray seed = WavBytes({WavSampleFormat::Pcm24, 2, 44100, 2000, Ramp});
    std::mt19937 random(99);
    MediaFolder folder;
    for (int round = 0; round < 150; ++round) {
        QByteArray bytes = seed;
        for (int i = 0; i < 3; ++i)
            bytes[static_cast<qsizetype>(random() % 60)] = static_cast<char>(random() & 0xFF);
        const QString path = folder.write(Q("damaged.wav"), bytes);
        const auto source = WaveSource::open(path, 44100, nullptr);
        if (!source)
            continue;
        const std::vector<float> out =
            RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 4096, 1 << 20);
        const double fileFrames = static_cast<double>(source->fileFrames());
        EXPECT_LE(static_cast<double>(out.size() / 2),
                  fileFrames * 44100.0 / source->fileRate() + 64.0);
        EXPECT_TRUE(source->atEnd());
    }
}

} // namespace
