#include "card/arrangementview.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "mediacore/mediatest.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The text between the section line `[name]` and the next section line.
QString Section(const QString& out, const QString& name) {
    const QString rest = out.section(u'[' + name + u"]\n", 1);
    const qsizetype end = rest.indexOf(u"\n["_s);
    return end < 0 ? rest : rest.left(end + 1);
}

RunResult Play(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, QStringList{Q("play")} + args);
}

// A demo card made by the demo card maker.
class CliSongTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {root()}).exitCode, 0); }
    QString root() const { return m_temp.path(u"demo"_s); }
    RunResult song(const QString& id) const {
        return RunProgram(SORVANE_CLI_PATH, {u"song"_s, root(), id});
    }
    TempFolder m_temp;
};

} // namespace

// The demo maker refuses bad arguments and a folder already in use, which it leaves alone.
TEST_F(CliSongTest, DemoMakerRefusesFoldersInUse) {
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {}).exitCode, 2);
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {u"a"_s, u"b"_s}).exitCode, 2);
    CardFixture used(m_temp.path(u"used"_s));
    ASSERT_TRUE(used.writeFile(u"keep.txt"_s, "mine"));
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {used.root()}).exitCode, 1);
    EXPECT_EQ(used.readFile(u"keep.txt"_s), QByteArray("mine"));
    EXPECT_FALSE(QFileInfo::exists(used.path(u"Roland"_s)));
}

// Each page prints what the window's view of it computes, under its heading lines.
TEST_F(CliSongTest, PrintsTheTextsOfThePages) {
    const RunResult run = song(u"SONG001"_s);
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Section(run.text, u"Song"_s),
              u"Id: SONG001\nName: DEMO ONE\nTitle: Demo song 1 \u00b7 a longer title\n"
              u"Notes lines: 4\nNotes of demo song 1.\n\nGuitar on track 1, bass on 2.\n"
              u"Caf\u00e9 session.\n"_s);
    EXPECT_TRUE(Section(run.text, u"Track Usage"_s).contains(u"\r\nv-2\t\tX\t\t\t\t\t\t\r\n"_s));

    SOV_Info info;
    info.LoadFolder(root());
    ASSERT_TRUE(info.SelectSong(u"SONG001"_s));
    EXPECT_EQ(Section(run.text, u"Arrangement 1"_s),
              u"Caption: S01 - INTRO\nDrum Kit: P1 - STD 1\nTime:   0:38\n"_s +
                  ArrangementClipboardText(ShowArrangement(info, 0)));
    EXPECT_EQ(Section(run.text, u"Patterns"_s), GridToText(PatternsGrid(ShowPatterns(info)), 0));
    EXPECT_EQ(Section(run.text, u"Effects MTK"_s),
              GridToText(EffectsGrid(ShowEffects(info).banks[4]), 0));
}

// Songs without drum kits (MICRO BR, BR-532) show the blank kit, whatever their arrangement
// holds.
TEST_F(CliSongTest, SongsWithoutDrumKitsShowTheBlankKit) {
    const RunResult micro = song(u"SONG004"_s);
    ASSERT_EQ(micro.exitCode, 0) << micro.err.constData();
    EXPECT_TRUE(Section(micro.text, u"Arrangement 1"_s)
                    .startsWith(u"Caption: S01\nDrum Kit:  \nTime: \n"_s));
    EXPECT_TRUE(Section(song(u"SONG005"_s).text, u"Arrangement 1"_s)
                    .startsWith(u"Caption: S01 - INTRO\nDrum Kit:  \nTime:   0:38\n"_s));
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
    // PCM, 2 channels, 44100 Hz, 176400 bytes a second, 4 bytes a frame, 16 bits.
    EXPECT_EQ(bytes.mid(16, 20),
              QByteArray("\x10\0\0\0\x01\0\x02\0\x44\xac\0\0\x10\xb1\x02\0\x04\0\x10\0", 20));
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

// Only play needs the player module: without it the other commands work and play says why.
TEST(CliPlayTest, WithoutThePlayerModuleOnlyPlayFails) {
    MediaFolder folder;
    const QString cli = folder.path(Q("sorvane-cli"));
    ASSERT_TRUE(QFile::copy(Q(SORVANE_CLI_PATH), cli));
    const QString tone = folder.write(Q("tone.wav"), WavBytes({}));
    const RunResult play = RunProgram(cli.toUtf8().constData(), {Q("play"), tone});
    EXPECT_EQ(play.exitCode, 1);
    EXPECT_TRUE(play.err.startsWith("sorvane-cli: the player module cannot be loaded: "))
        << play.err.toStdString();
    EXPECT_EQ(RunProgram(cli.toUtf8().constData(), {Q("songs"), folder.folder()}).exitCode, 0);
}
