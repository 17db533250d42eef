#include "mediacore/mediatest.h"
#include "tools/runprogram.h"

#include <QtEndian>
#include <tuple>

namespace {

RunResult Play(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, QStringList{Q("play")} + args);
}

struct WavFacts {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    qint64 frames = 0;
    float peak = 0.0f;
};

// The fields of the 44-byte header the renderer writes, and the loudest sample.
WavFacts ReadRendered(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    WavFacts f;
    if (bytes.size() < 44 ||
        bytes.left(4) + bytes.mid(8, 8) + bytes.mid(36, 4) != "RIFFWAVEfmt data")
        return f;
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    f.channels = qFromLittleEndian<quint16>(b + 22);
    f.rate = static_cast<int>(qFromLittleEndian<quint32>(b + 24));
    f.bits = qFromLittleEndian<quint16>(b + 34);
    const quint32 dataBytes = qFromLittleEndian<quint32>(b + 40);
    EXPECT_EQ(dataBytes, static_cast<quint32>(bytes.size() - 44));
    f.frames = dataBytes / 4;
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        f.peak = std::max(f.peak, std::abs(qFromLittleEndian<qint16>(b + i) / 32768.0f));
    return f;
}

TEST(CliPlayTest, RenderedWaveHasTheFileLengthAtTheOutputRate) {
    MediaFolder folder;
    const QString in = folder.write(
        Q("tone.wav"), WavBytes({WavSampleFormat::Pcm8, 1, 22050, 11025, SineTone(500, 22050)}));
    const QString out = folder.path(Q("out.wav"));
    const RunResult r = Play({in, Q("--render"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const WavFacts f = ReadRendered(out);
    EXPECT_EQ(r.text, Q("Rendered %1 frames (0.500 s) at 44100 Hz to %2\n").arg(f.frames).arg(out));
    EXPECT_EQ(std::make_tuple(f.channels, f.rate, f.bits), std::make_tuple(2, 44100, 16));
    EXPECT_NEAR(static_cast<double>(f.frames), 22050.0, 44.0);
    EXPECT_NEAR(f.peak, 0.5f, 0.03f);
}

TEST(CliPlayTest, RenderedMidiLastsAsItsTempoMapSays) {
    REQUIRE_SOUNDFONT();
    SmfSpec layout;
    layout.division = 240;
    layout.tempos = {{0, 600000}, {480, 300000}}; // 2 quarters of 0.6 s, 2 of 0.3 s
    layout.noteTracks = {{{0, 0, 60, 100, 960}}, {{240, 9, 38, 100, 240}}};
    MediaFolder folder;
    const QString in = folder.write(Q("song.MID"), SmfBytes(layout));
    const QString out = folder.path(Q("out.wav"));
    const RunResult r = Play({in, Q("--render"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const WavFacts f = ReadRendered(out);
    EXPECT_NEAR(f.frames * 1000.0 / 44100, 1800.0, 20.0);
    EXPECT_GT(f.peak, 0.01f);
}

TEST(CliPlayTest, FailuresAndBadArguments) {
    MediaFolder folder;
    const QString bad = folder.write(Q("bad.mid"), QByteArray("RIFF but not MIDI"));
    RunResult r = Play({bad, Q("--render"), folder.path(Q("out.wav"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(r.err),
              Q("Cannot play \"%1\": it is not a standard MIDI file.\n").arg(bad));
    EXPECT_FALSE(QFile::exists(folder.path(Q("out.wav"))));
    EXPECT_EQ(Play({}).exitCode, 2);
    EXPECT_EQ(Play({bad, Q("--render")}).exitCode, 2);
    EXPECT_EQ(Play({bad, Q("other")}).exitCode, 2);
}

} // namespace
