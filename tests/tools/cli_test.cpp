#include "card/songlisttext.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

RunResult Songs(const QStringList& args, const char* lang = "C.UTF-8") {
    return RunProgram(SORVANE_CLI_PATH, QStringList{S("songs")} + args, lang);
}

const char* const HeadingLine = "Song\tName\tSize\tData Type\tProtected\tCreated with\r\n";

class CliSongsTest : public CardRootTest {
protected:
    void writeTwoSongs() {
        SongInfoRecord first = SongInfoRecord::ForModel(RecorderModel::BR864, "Caf\xE9", 2, "1.03");
        first.protect = 1;
        ASSERT_TRUE(m_card.writeSongInfo(S("SONG010.BR0"), first));
        ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG010.BR0"), S("TRACK.BR0"), 1'234'567'532));
        ASSERT_TRUE(m_card.writeSongInfo(
            S("song002.BR0"), SongInfoRecord::ForModel(RecorderModel::BR532, "OLD", 4, "1.00"),
            S("SONGINFO.BR0")));
        ASSERT_TRUE(m_card.writeSongSizedFile(S("song002.BR0"), S("TRACK.BR0"), 2'532));
    }
};

} // namespace

TEST(CliArgumentsTest, BadArgumentsGiveUsage) {
    for (const QStringList& args :
         {QStringList(), QStringList{S("songs")}, QStringList{S("songs"), S("/a"), S("/b")},
          QStringList{S("songs"), S("")}, QStringList{S("nosuch")}}) {
        const RunResult r = RunProgram(SORVANE_CLI_PATH, args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("sorvane-cli songs FOLDER")) << r.err.constData();
    }
}

TEST_F(CliSongsTest, MissingFolderIsNamed) {
    const QString missing = m_temp.path(S("no such folder"));
    const RunResult r = Songs({missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(missing.toUtf8())) << r.err.constData();
    EXPECT_TRUE(r.err.contains("does not exist")) << r.err.constData();
}

TEST_F(CliSongsTest, PlainFileIsNotAFolder) {
    ASSERT_TRUE(m_card.writeFile(S("file.txt"), "x"));
    const RunResult r = Songs({m_card.path(S("file.txt"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("file.txt")) << r.err.constData();
}

TEST_F(CliSongsTest, FolderWithoutSongsPrintsTheHeadingLine) {
    const RunResult r = Songs({m_temp.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray(HeadingLine) + "\r\n\r\n\r\n");
}

TEST_F(CliSongsTest, PrintsTheClipboardTextAsUtf8) {
    writeTwoSongs();
    const RunResult r = Songs({m_temp.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    const QByteArray expected =
        QByteArray(HeadingLine) +
        QByteArray("song002\tOLD     \t0.00 MB\tLONG (LV2)\tNo\tBR-532 v.1.00\r\n"
                   "SONG010\tCaf\xC3\xA9    \t1,235 MB\tHiFi (MT2)\tYes\tBR-864 v.1.03\r\n"
                   "\r\n"
                   " 2 Songs     Total Size: 1,235 MB\r\n\r\n");
    EXPECT_EQ(r.out.toStdString(), expected.toStdString());
}

TEST_F(CliSongsTest, FollowsTheUsersLocale) {
    writeTwoSongs();
    for (const char* lang : {"de_DE.UTF-8", "en_US.UTF-8", "C"}) {
        const RunResult r = Songs({m_temp.path()}, lang);
        EXPECT_EQ(r.exitCode, 0) << lang;
        const QLocale locale(S(lang).section(u'.', 0, 0));
        const ScopedDefaultLocale scoped(std::string(lang) == "C" ? QLocale::system() : locale);
        SOV_Info card;
        card.LoadFolder(m_temp.path());
        ASSERT_EQ(card.songs().size(), 2u);
        EXPECT_EQ(QString::fromUtf8(r.out), SongListClipboardText(card.songs(), 3)) << lang;
    }
    EXPECT_TRUE(Songs({m_temp.path()}, "de_DE.UTF-8").out.contains("\t0,00 MB\t"));
    EXPECT_TRUE(Songs({m_temp.path()}, "en_US.UTF-8").out.contains("Total Size: 1,235 MB"));
}

TEST(DemoCardTest, DemoCardListsEveryModel) {
    TempFolder temp;
    const QString root = temp.path(S("demo"));
    const RunResult made = RunProgram(SORVANE_MKDEMO_PATH, {root});
    ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    const RunResult r = Songs({root});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QStringList lines = QString::fromUtf8(r.out).split(S("\r\n"));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.front() + S("\r\n"), S(HeadingLine));
    for (const char* model : {"BR-532 v.", "BR-864 v.", "BR-900 v.", "BR-600 v.", "Micro BR v.",
                              "BR-800 v.", "BR-80 v."})
        EXPECT_TRUE(r.out.contains(model)) << model;
    EXPECT_TRUE(r.out.contains("\tYes\t"));
    EXPECT_TRUE(r.out.endsWith("\r\n\r\n"));

    // The demo card is in the layout the program reads.
    SOV_Info card;
    card.LoadFolder(root);
    EXPECT_TRUE(card.hasSongs());
    EXPECT_EQ(lines.size(), static_cast<qsizetype>(card.songs().size()) + 5);
    EXPECT_EQ(card.diskInfo()[48], 'S');
}

TEST(DemoCardTest, RefusesBadArgumentsAndFoldersInUse) {
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {}).exitCode, 2);
    EXPECT_EQ(RunProgram(SORVANE_MKDEMO_PATH, {S("a"), S("b")}).exitCode, 2);
    TempFolder temp;
    CardFixture used(temp.path());
    ASSERT_TRUE(used.writeFile(S("keep.txt"), "mine"));
    const RunResult r = RunProgram(SORVANE_MKDEMO_PATH, {temp.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(used.readFile(S("keep.txt")), QByteArray("mine"));
    EXPECT_FALSE(QFileInfo::exists(temp.path(S("Roland"))));
}
