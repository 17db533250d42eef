#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

RunResult Media(const QStringList& args, const char* lang = "C.UTF-8") {
    return RunProgram(SORVANE_CLI_PATH, QStringList{S("media")} + args, lang);
}

// The text of one tab with no entries.
QString EmptyTab(const char* caption, const char* status) {
    return S("[") + S(caption) + S("]\nFilename\tSize\r\n\r\n") + S(status) + u'\n';
}

class CliMediaTest : public CardRootTest {};

} // namespace

TEST_F(CliMediaTest, PrintsTheSixListsInTabOrder) {
    addSong(S("SONG001.BR0"), RecorderModel::BR864);
    ASSERT_TRUE(m_card.writeFile(S("Roland/SMF/b.MID"), QByteArray(1000, 'x')));
    ASSERT_TRUE(m_card.writeFile(S("Roland/SMF/a.mid"), QByteArray(2'600'000, 'x')));
    ASSERT_TRUE(m_card.writeFile(S("Roland/SMF/.hidden"), "x"));
    ASSERT_TRUE(m_card.makeFolder(S("wav/Old takes")));
    const RunResult r = Media({m_card.root()}, "en_US.UTF-8");
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QString expected = S("[SMF]\nFilename\tSize\r\na.mid\t3 MB\r\nb.MID\t1 KB\r\n\r\n"
                               " 2 Files     Total Size: 2,601 KB\n") +
                             EmptyTab("Tone Load", " 0 Files     Total Size: 0.00 KB") +
                             EmptyTab("USB", " 0 Files     Total Size: 0.00 KB") +
                             EmptyTab("MP3", " 0 Files     Total Size: 0.00 KB") +
                             S("[WAV]\nFilename\tSize\r\nOld takes\t0.00 KB\r\n\r\n"
                               " 1 File     Total Size: 0.00 KB\n") +
                             EmptyTab("Sketch", " 0 Files     Total Size: 0.00 KB");
    EXPECT_EQ(r.text, expected);
}

TEST_F(CliMediaTest, FolderWithoutSongsPrintsBlankLists) {
    ASSERT_TRUE(m_card.writeFile(S("MP3/song.mp3"), QByteArray(4000, 'x')));
    const RunResult r = Media({m_card.root()});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QString expected;
    for (const char* caption : {"SMF", "Tone Load", "USB", "MP3", "WAV", "Sketch"})
        expected += EmptyTab(caption, "");
    EXPECT_EQ(r.text, expected);
}

TEST_F(CliMediaTest, BadArgumentsAndMissingFolders) {
    for (const QStringList& args :
         {QStringList(), QStringList{S("/a"), S("/b")}, QStringList{S("")}}) {
        const RunResult r = Media(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("sorvane-cli media FOLDER")) << r.err.constData();
    }
    ASSERT_TRUE(m_card.writeFile(S("file.txt"), "x"));
    for (const QString& bad : {m_temp.path(S("no such folder")), m_card.path(S("file.txt"))}) {
        const RunResult r = Media({bad});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(bad.toUtf8())) << r.err.constData();
    }
}
