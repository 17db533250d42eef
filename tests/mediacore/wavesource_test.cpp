#include "media/core/wavesource.h"
#include "mediacore/mediatest.h"

#include <sys/stat.h>

namespace {

// Multiples of 1/128 from -1 to 127/128: every sample format holds them exactly.
double Ramp(std::int64_t frame, int channel) {
    return static_cast<double>((frame * 7 + channel * 31) % 256 - 128) / 128.0;
}

TEST(WaveSourceTest, EverySampleFormatDecodesToItsValue) {
    const std::pair<WavSampleFormat, int> cases[] = {
        {WavSampleFormat::Pcm8, 1},  {WavSampleFormat::Pcm16, 2},   {WavSampleFormat::Pcm24, 1},
        {WavSampleFormat::Pcm32, 2}, {WavSampleFormat::Float32, 1}, {WavSampleFormat::Pcm16, 4},
        {WavSampleFormat::Pcm24, 6}};
    MediaFolder folder;
    for (const auto& [format, channels] : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(format) << " x" << channels);
        const QString path =
            folder.write(Q("ramp.wav"), WavBytes({format, channels, 22050, 300, Ramp}));
        QString reason;
        const auto source = WaveSource::open(path, 22050, &reason);
        ASSERT_TRUE(source) << reason.toStdString();
        const std::vector<float> out =
            RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 128);
        ASSERT_EQ(out.size(), 600u);
        for (std::size_t f = 0; f < 300; ++f) {
            ASSERT_FLOAT_EQ(out[2 * f], static_cast<float>(Ramp(f, 0))) << f;
            ASSERT_FLOAT_EQ(out[2 * f + 1], static_cast<float>(Ramp(f, channels > 1 ? 1 : 0))) << f;
        }
        EXPECT_TRUE(source->atEnd());
        EXPECT_EQ(source->position(TimeUnit::Milliseconds), 300 * 1000 / 22050);
    }
}

// Sign changes of the left channel.
int ZeroCrossings(const std::vector<float>& stereo) {
    int count = 0;
    for (std::size_t i = 2; i < stereo.size(); i += 2)
        count += (stereo[i - 2] < 0.0f) != (stereo[i] < 0.0f) ? 1 : 0;
    return count;
}

// 1.5 s of 1 kHz at the file's rate, converted to the output's.
TEST(WaveSourceTest, ConvertedLengthAndPitchFollowTheFile) {
    const std::pair<int, int> fileAndOutputRates[] = {
        {44100, 44100}, {44100, 48000}, {8000, 44100}, {96000, 44100}};
    MediaFolder folder;
    for (const auto& [fileRate, outputRate] : fileAndOutputRates) {
        SCOPED_TRACE(::testing::Message() << fileRate << " -> " << outputRate);
        const QString path =
            folder.write(Q("tone.wav"), WavBytes({WavSampleFormat::Pcm16, 2, fileRate,
                                                  fileRate * 3 / 2, SineTone(1000.0, fileRate)}));
        QString reason;
        const auto source = WaveSource::open(path, outputRate, &reason);
        ASSERT_TRUE(source) << reason.toStdString();
        EXPECT_EQ(source->length(TimeUnit::Milliseconds), 1500);
        const std::vector<float> out =
            RenderToEnd([&](float* o, int n) { return source->render(o, n); }, 1000);
        EXPECT_NEAR(static_cast<double>(out.size() / 2), 1.5 * outputRate, outputRate / 1000.0);
        EXPECT_NEAR(ZeroCrossings(out), 3000, 4);
        EXPECT_NEAR(Peak(out), 0.5, 0.02);
        EXPECT_EQ(source->position(TimeUnit::Milliseconds), 1500);
    }
}

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

QByteArray ToneBytes() {
    return WavBytes({WavSampleFormat::Pcm16, 1, 44100, 441, SineTone(440.0, 44100)});
}

TEST(WaveSourceTest, SaysWhyAFileCannotPlay) {
    const struct {
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {QByteArray(), Q("not a WAV file")},
        {SmfBytes(SmfSpec{}), Q("not a WAV file")},
        {ToneBytes().left(30), Q("not a WAV file")},
        {QByteArray("FORM\0\0\0\x2E"
                    "AIFFCOMM\0\0\0\x12\0\x01",
                    18),
         Q("not a WAV file")},
        // Rates too far from the output's.
        {WavBytes({WavSampleFormat::Pcm16, 1, 100, 10, {}}),
         Q("its sample rate of 100 Hz cannot be played")},
        {WavBytes({WavSampleFormat::Pcm16, 1, 20'000'000, 10, {}}),
         Q("its sample rate of 20000000 Hz cannot be played")},
    };
    MediaFolder folder;
    for (const auto& c : cases) {
        const QString path = folder.write(Q("bad.wav"), c.bytes);
        QString reason;
        EXPECT_FALSE(WaveSource::open(path, 44100, &reason));
        EXPECT_TRUE(reason.contains(c.reason)) << reason.toStdString();
    }
}

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

} // namespace
