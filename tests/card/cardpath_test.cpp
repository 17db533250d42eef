#include "card/cardpath.h"
#include "support/cardtest.h"

#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

using CardPathTest = CardRootTest;

TEST_F(CardPathTest, ExactNamesWin) {
    ASSERT_TRUE(m_card.writeFile(S("Roland/BR0/x.bin"), "1"));
    ASSERT_TRUE(m_card.writeFile(S("ROLAND/BR0/x.bin"), "2"));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S("ROLAND/BR0/x.bin")),
              m_temp.path() + S("/ROLAND/BR0/x.bin"));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S("Roland/BR0/x.bin")),
              m_temp.path() + S("/Roland/BR0/x.bin"));
}

TEST_F(CardPathTest, EachComponentIsMatchedIgnoringCase) {
    ASSERT_TRUE(m_card.writeFile(S("roland/Br0/SONG001.br0/SongInf2.BR0"), "x"));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S("Roland\\BR0\\SONG001.BR0\\songinf2.br0")),
              m_temp.path() + S("/roland/Br0/SONG001.br0/SongInf2.BR0"));
    EXPECT_EQ(ResolveCardPath(m_temp.path() + u'/', S("ROLAND/br0")),
              m_temp.path() + S("/roland/Br0"));
}

TEST_F(CardPathTest, MissingNamesAreKeptAsGiven) {
    ASSERT_TRUE(m_card.makeFolder(S("roland")));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S("Roland/BR0/diskinf2.br0")),
              m_temp.path() + S("/roland/BR0/diskinf2.br0"));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S("")), m_temp.path());
}

TEST_F(CardPathTest, HiddenEntriesAreFoundToo) {
    ASSERT_TRUE(m_card.writeFile(S(".Hidden"), "x"));
    EXPECT_EQ(ResolveCardPath(m_temp.path(), S(".hidden")), m_temp.path() + S("/.Hidden"));
}

TEST(CardPathNamesTest, SongPatternIgnoresCase) {
    for (const char* name : {"SONG001.BR0", "song001.br0", "Song.Br0", "SONGABCDEFG.BR0"})
        EXPECT_TRUE(MatchesSongPattern(S(name))) << name;
    for (const char* name :
         {"SONG001.BR1", "SONG001BR0", "XSONG001.BR0", "SONG.BR", "SON.BR0", "SONG001.BR0 ", ""})
        EXPECT_FALSE(MatchesSongPattern(S(name))) << name;
}

TEST(CardPathNamesTest, AsciiCaseOnly) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase(S("SongInf2.BR0"), S("songinf2.br0")));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(S("SONG"), S("SONGS")));
    EXPECT_FALSE(
        EqualsIgnoringAsciiCase(QString::fromUtf8("\xC3\x89"), QString::fromUtf8("\xC3\xA9")));
    EXPECT_EQ(WithTrailingSeparator(S("/a/b")), S("/a/b/"));
    EXPECT_EQ(WithTrailingSeparator(S("/a/b/")), S("/a/b/"));
}
