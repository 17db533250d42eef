#include "mediacore/mediatest.h"
#include "tools/runprogram.h"

#include <QtEndian>

namespace {

RunResult Play(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, QStringList{Q("play")} + args);
}

// The render writes a 44-byte header (16-bit stereo at 44100 Hz) and the file's length of
// samples, at the file's level.
TEST(CliPlayTest, RenderedWaveHasTheFileLengthAtTheOutputRate) {
    MediaFolder folder;
    const QString in = folder.write(
        Q("tone.wav"), WavBytes({WavSampleFormat::Pcm8, 1, 22050, 11025, SineTone(500, 22050)}));
    const QString out = folder.path(Q("out.wav"));
    const RunResult r = Play({in, Q("--render"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray bytes = ReadWholeFile(out);
    ASSERT_GE(bytes.size(), 44);
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    EXPECT_EQ(bytes.left(4) + bytes.mid(8, 8) + bytes.mid(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(qFromLittleEndian<quint16>(b + 22), 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(b + 24), 44100u);
    EXPECT_EQ(qFromLittleEndian<quint16>(b + 34), 16);
    const qint64 frames = qFromLittleEndian<quint32>(b + 40) / 4;
    EXPECT_EQ(frames * 4, bytes.size() - 44);
    EXPECT_NEAR(static_cast<double>(frames), 22050.0, 44.0);
    float peak = 0.0f;
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        peak = std::max(peak, std::abs(qFromLittleEndian<qint16>(b + i) / 32768.0f));
    EXPECT_NEAR(peak, 0.5f, 0.03f);
    EXPECT_EQ(r.text, Q("Rendered %1 frames (0.500 s) at 44100 Hz to %2\n").arg(frames).arg(out));
}

// A MIDI file goes to the sequencer whatever the case of its extension; a failed render
// names the file and leaves no output.
TEST(CliPlayTest, FailedRenderNamesTheFileAndWritesNothing) {
    MediaFolder folder;
    for (const char* name : {"bad.mid", "BAD.MID"}) {
        const QString bad = folder.write(Q(name), QByteArray("RIFF but not MIDI"));
        const RunResult r = Play({bad, Q("--render"), folder.path(Q("out.wav"))});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(QString::fromUtf8(r.err),
                  Q("Cannot play \"%1\": it is not a standard MIDI file.\n").arg(bad));
        EXPECT_FALSE(QFile::exists(folder.path(Q("out.wav"))));
    }
}

} // namespace
