#include "card/arrangementview.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The text between the section line `[name]` and the next section line.
QString Section(const QString& out, const QString& name) {
    const QString heading = u'[' + name + u"]\n";
    const qsizetype start = out.indexOf(heading);
    const qsizetype body = start + heading.size();
    const qsizetype end = out.indexOf(u"\n["_s, body);
    return start < 0 ? QString() : out.mid(body, end < 0 ? -1 : end + 1 - body);
}

// A demo card made by the demo card maker, shared by the cases.
class CliSongTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_temp = new TempFolder;
        ASSERT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {root()}).exitCode, 0);
    }
    static void TearDownTestSuite() { delete s_temp; }
    static QString root() { return s_temp->path(u"demo"_s); }
    static RunResult song(const QString& id) {
        return RunProgram(SORVANE_CLI_PATH, {u"song"_s, root(), id});
    }
    static inline TempFolder* s_temp = nullptr;
};

} // namespace

// The demo maker refuses bad arguments and a folder already in use, which it leaves alone.
TEST_F(CliSongTest, DemoMakerRefusesFoldersInUse) {
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {}).exitCode, 2);
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {u"a"_s, u"b"_s}).exitCode, 2);
    CardFixture used(s_temp->path(u"used"_s));
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
    const QString usage = Section(run.text, u"Track Usage"_s);
    EXPECT_TRUE(usage.contains(u"\r\nv-2\t\tX\t\t\t\t\t\t\r\n"_s)) << usage.toStdString();
    EXPECT_TRUE(usage.contains(u"\r\nv-8\t\t\t\t\t\t\t\tX\r\n"_s)) << usage.toStdString();

    SOV_Info info;
    info.LoadFolder(root());
    ASSERT_TRUE(info.SelectSong(u"SONG001"_s));
    EXPECT_EQ(Section(run.text, u"Arrangement 1"_s),
              u"Caption: S01 - INTRO\nDrum Kit: P1 - STD 1\nTime:   0:38\n"_s +
                  ArrangementClipboardText(ShowArrangement(info, 0)));
    EXPECT_EQ(Section(run.text, u"Patterns"_s), GridToText(PatternsGrid(ShowPatterns(info)), 0));
    EXPECT_EQ(Section(run.text, u"Effects MTK"_s),
              GridToText(EffectsGrid(ShowEffects(info).banks[4]), 0));
    EXPECT_TRUE(Section(run.text, u"Effects GTR"_s).contains(u"GTR S001\tCLEAN\tCOSM GTR AMP"_s));
}

// Songs without drum kits (MICRO BR, BR-532) show the blank kit; the MICRO BR song leaves
// the arrangement, pattern and effect pages blank.
TEST_F(CliSongTest, SongsWithoutDrumKitsShowTheBlankKit) {
    const RunResult micro = song(u"SONG004"_s);
    ASSERT_EQ(micro.exitCode, 0) << micro.err.constData();
    EXPECT_TRUE(Section(micro.text, u"Arrangement 1"_s)
                    .startsWith(u"Caption: S01\nDrum Kit:  \nTime: \n"_s));
    EXPECT_FALSE(Section(micro.text, u"Patterns"_s).contains(u"S001"_s));
    EXPECT_FALSE(Section(micro.text, u"Effects GTR"_s).contains(u"GTR S001"_s));
    const QString br532 = song(u"SONG005"_s).text;
    EXPECT_TRUE(Section(br532, u"Arrangement 1"_s)
                    .startsWith(u"Caption: S01 - INTRO\nDrum Kit:  \nTime:   0:38\n"_s));
    EXPECT_FALSE(Section(br532, u"Effects GTR"_s).contains(u"GTR S001"_s));
}
