#include "card/arrangementview.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

RunResult RunCli(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, args);
}

// The text between the section line `[name]` and the next section line.
QString Section(const QString& out, const QString& name) {
    const QString heading = u'[' + name + u"]\n";
    const qsizetype start = out.indexOf(heading);
    if (start < 0)
        return QString();
    const qsizetype body = start + heading.size();
    qsizetype end = out.indexOf(u"\n["_s, body);
    end = end < 0 ? out.size() : end + 1;
    return out.mid(body, end - body);
}

} // namespace

TEST(CliSongArgumentsTest, WrongArgumentCountGivesUsage) {
    for (const QStringList& args : {QStringList{u"song"_s}, QStringList{u"song"_s, u"/tmp"_s},
                                    QStringList{u"song"_s, u"/tmp"_s, u"A"_s, u"B"_s}}) {
        const RunResult run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.text.isEmpty());
        EXPECT_TRUE(run.err.contains("sorvane-cli song FOLDER SONGID"));
    }
}

class CliSongTest : public CardRootTest {};

TEST_F(CliSongTest, MissingFolderOrSongFails) {
    EXPECT_EQ(RunCli({u"song"_s, m_temp.path(u"nothing"_s), u"SONG001"_s}).exitCode, 1);
    EXPECT_EQ(RunCli({u"song"_s, m_temp.path(), u"SONG001"_s}).exitCode, 1);
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s,
                                     SongInfoRecord::ForModel(RecorderModel::BR864, "A", 2)));
    const RunResult run = RunCli({u"song"_s, m_temp.path(), u"SONG002"_s});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.text.isEmpty());
    EXPECT_TRUE(run.err.contains("SONG002"));
}

TEST_F(CliSongTest, PrintsTheTextsOfThePages) {
    const QString song = u"SONG001.BR0"_s;
    ASSERT_TRUE(
        m_card.writeSongInfo(song, SongInfoRecord::ForModel(RecorderModel::BR864, "TUNE", 2)));
    ArrangeFileBuilder arrange;
    arrange.name(0, "INTRO").drumKit(0, 1, 0);
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep::Preset(4, 326)});
    ASSERT_TRUE(arrange.write(m_card, song));
    ASSERT_TRUE(PatternFileBuilder().record(0, "BEAT", 19, 2).write(m_card, song));
    ASSERT_TRUE(EffectsFileBuilder().patch(FixtureBank::MTK, 1, "MASTER", 20).write(m_card, song));
    ASSERT_TRUE(TakeEvtBuilder().taken(2, 0).write(m_card, song));
    ASSERT_TRUE(WriteSongInfoDat(m_card, song, "Caf\xe9 title"));
    ASSERT_TRUE(WriteNotes(m_card, song, {"first", "", "third"}));

    const RunResult run = RunCli({u"song"_s, m_temp.path(), u"SONG001"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Section(run.text, u"Song"_s), u"Id: SONG001\nName: TUNE\nTitle: Caf\u00e9 title\n"
                                            u"Notes lines: 3\nfirst\n\nthird\n"_s);
    const QString usage = Section(run.text, u"Track Usage"_s);
    EXPECT_TRUE(usage.startsWith(u"V-Tracks\tTrack 1\t"_s));
    EXPECT_TRUE(usage.contains(u"\r\nv-1\t\t\tX\t\t\t\t\t\r\n"_s)) << usage.toStdString();

    SOV_Info info;
    info.LoadFolder(m_temp.path());
    const ArrangementView first = ShowArrangement(info, 0);
    EXPECT_EQ(Section(run.text, u"Arrangement 1"_s),
              u"Caption: S01 - INTRO\nDrum Kit: S1 - Song Kit 1\nTime:   0:08\n"_s +
                  ArrangementClipboardText(first));
    EXPECT_TRUE(
        Section(run.text, u"Arrangement 5"_s).startsWith(u"Caption: S05 - \nDrum Kit: P1"_s));
    EXPECT_EQ(Section(run.text, u"Patterns"_s), GridToText(PatternsGrid(ShowPatterns(info)), 0));
    const QString mtk = Section(run.text, u"Effects MTK"_s);
    EXPECT_EQ(mtk, GridToText(EffectsGrid(ShowEffects(info).banks[4]), 0));
    EXPECT_TRUE(mtk.contains(u"MTK S002\tMASTER\tMSTR TOOL KIT\r\n"_s));
}

TEST(CliSongDemoTest, DemoSongsShowEveryPage) {
    TempFolder temp;
    const QString root = temp.path(u"demo"_s);
    QProcess mkdemo;
    mkdemo.start(QString::fromUtf8(SORVANE_MKDEMO_PATH), {root});
    ASSERT_TRUE(mkdemo.waitForFinished(60000));
    ASSERT_EQ(mkdemo.exitCode(), 0);

    const RunResult run = RunCli({u"song"_s, root, u"SONG001"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(Section(run.text, u"Song"_s).contains(u"Title: Demo song 1"_s));
    EXPECT_TRUE(Section(run.text, u"Track Usage"_s).contains(u"X"_s));
    EXPECT_TRUE(Section(run.text, u"Arrangement 1"_s).contains(u"P327: BREAK"_s));
    EXPECT_TRUE(Section(run.text, u"Arrangement 3"_s).contains(u"Time:   1:06:40\n"_s));
    EXPECT_TRUE(Section(run.text, u"Effects GTR"_s).contains(u"GTR S001\tCLEAN\tCOSM GTR AMP"_s));

    // The MICRO BR song leaves the arrangement, pattern and effect pages blank.
    const RunResult micro = RunCli({u"song"_s, root, u"SONG004"_s});
    ASSERT_EQ(micro.exitCode, 0) << micro.err.constData();
    EXPECT_TRUE(Section(micro.text, u"Arrangement 1"_s)
                    .startsWith(u"Caption: S01\nDrum Kit:  \nTime: \n"_s));
    EXPECT_FALSE(Section(micro.text, u"Patterns"_s).contains(u"S001"_s));
    EXPECT_FALSE(Section(micro.text, u"Effects GTR"_s).contains(u"GTR S001"_s));
    // The BR-532 song shows its arrangements but no effects.
    const RunResult br532 = RunCli({u"song"_s, root, u"SONG005"_s});
    EXPECT_TRUE(Section(br532.text, u"Arrangement 1"_s).contains(u"P327: BREAK"_s));
    EXPECT_TRUE(Section(br532.text, u"Arrangement 1"_s).contains(u"Drum Kit:  \n"_s));
    EXPECT_FALSE(Section(br532.text, u"Effects GTR"_s).contains(u"GTR S001"_s));
}
