#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"
#include "support/cardtest.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

QStringList Names(const std::vector<MediaEntry>& entries) {
    QStringList names;
    for (const MediaEntry& entry : entries)
        names.append(entry.name);
    return names;
}

class MediaListTest : public CardRootTest {};

} // namespace

TEST_F(MediaListTest, ListsFilesAndFoldersInLocaleOrderWithoutHiddenOnes) {
    const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    for (const char* name : {"b.WAV", "A.wav", "c.mid", ".hidden.wav", "Zed.mp3", "a2.wav",
                             "\xC3\x84rger.wav", "Birne.wav"})
        ASSERT_TRUE(m_card.writeFile(S("WAV/") + S(name), QByteArray(10, 'x')));
    ASSERT_TRUE(m_card.makeFolder(S("WAV/sub")));
    ASSERT_TRUE(m_card.makeFolder(S("WAV/.cache")));
    const std::vector<MediaEntry> entries = ListMediaFolder(m_card.path(S("WAV")));
    EXPECT_EQ(Names(entries),
              (QStringList{S("A.wav"), S("a2.wav"), S("\xC3\x84rger.wav"), S("b.WAV"),
                           S("Birne.wav"), S("c.mid"), S("sub"), S("Zed.mp3")}));
    for (const MediaEntry& entry : entries)
        EXPECT_EQ(entry.size, entry.name == u"sub" ? 0 : 10) << entry.name.toStdString();
}

TEST_F(MediaListTest, LeavesOutPipesAndDanglingLinksButFollowsLinksToFiles) {
    ASSERT_TRUE(m_card.writeFile(S("MP3/real.mp3"), QByteArray(1234, 'x')));
    const QString folder = m_card.path(S("MP3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + S("/pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(folder + S("/real.mp3"), folder + S("/link.mp3")));
    ASSERT_TRUE(QFile::link(folder + S("/gone.mp3"), folder + S("/dangling.mp3")));
    const std::vector<MediaEntry> entries = ListMediaFolder(folder);
    ASSERT_EQ(Names(entries), (QStringList{S("link.mp3"), S("real.mp3")}));
    EXPECT_EQ(entries[0].size, 1234);
}

TEST_F(MediaListTest, MissingOrUnlistableFolderGivesOneBlankRowAndZeroStatus) {
    EXPECT_TRUE(ListMediaFolder(m_card.path(S("nothing here"))).empty());
    ASSERT_TRUE(m_card.writeFile(S("plain.txt"), "x"));
    EXPECT_TRUE(ListMediaFolder(m_card.path(S("plain.txt"))).empty());
    const MediaListContent list = FillMediaListContent(m_card.root(), MediaTabSMF);
    EXPECT_TRUE(list.count == 0 && list.rows.isEmpty());
    EXPECT_EQ(list.statusText, MediaStatusText(0, 0));
}

TEST_F(MediaListTest, StatusTextCountsFilesAndTotalsInKilobytes) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        int count;
        std::uint64_t total;
        const char* text;
    };
    const Case cases[] = {
        {1, 1000, " 1 File     Total Size: 1 KB"},
        {0, 0, " 0 Files     Total Size: 0.00 KB"},
        {2, 500, " 2 Files     Total Size: 0.50 KB"},
        {3, 5'000'000'000ULL, " 3 Files     Total Size: 5,000,000 KB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MediaStatusText(c.count, c.total), S(c.text)) << c.text;
}

TEST_F(MediaListTest, FoldersAreFoundWhateverTheirLetterCase) {
    ASSERT_TRUE(m_card.writeFile(S("roland/smf/One.MID"), QByteArray(1000, 'x')));
    ASSERT_TRUE(m_card.makeFolder(S("roland/smf/Sub")));
    ASSERT_TRUE(m_card.writeFile(S("Wav/two.wav"), QByteArray(2500, 'x')));
    ASSERT_TRUE(m_card.writeFile(S("roland/Sketch/s.wav"), QByteArray(1, 'x')));
    ASSERT_TRUE(m_card.writeFile(S("roland/USB/u.wav"), QByteArray(1, 'x')));
    const auto lists = RefreshMediaListContents(m_card.root(), true);
    const MediaListContent& smf = lists[MediaTabSMF];
    ASSERT_EQ(smf.count, 2);
    EXPECT_EQ(smf.rows[0], (QStringList{S("One.MID"), FormatSizeText(1000, SizeUnitAuto)}));
    EXPECT_EQ(smf.rows[1], (QStringList{S("Sub"), S("0.00 KB")}));
    EXPECT_EQ(smf.statusText, MediaStatusText(2, 1000));
    for (int tab : {MediaTabWAV, MediaTabSketch, MediaTabUSB})
        EXPECT_EQ(lists[tab].count, 1) << tab;
    EXPECT_EQ(lists[MediaTabMP3].count, 0);
    EXPECT_EQ(MediaFilePath(m_card.root(), MediaTabSMF, S("One.MID")),
              m_card.path(S("roland/smf/One.MID")));
}

TEST_F(MediaListTest, NoSongsLeavesEveryListEmptyEvenWithFiles) {
    ASSERT_TRUE(m_card.writeFile(S("MP3/a.mp3"), QByteArray(10, 'x')));
    ASSERT_TRUE(m_card.writeFile(S("WAV/b.wav"), QByteArray(10, 'x')));
    for (const MediaListContent& list : RefreshMediaListContents(m_card.root(), false))
        EXPECT_TRUE(list.count == 0 && list.rows.isEmpty() && list.statusText.isEmpty());
}

TEST_F(MediaListTest, SizesAndTotalsBeyondThirtyTwoBits) {
    constexpr qint64 Big = 3LL * 1024 * 1024 * 1024; // 3 GiB each, 6 GiB together
    ASSERT_TRUE(m_card.writeSizedFile(S("WAV/big1.wav"), Big));
    ASSERT_TRUE(m_card.writeSizedFile(S("WAV/big2.wav"), Big));
    const MediaListContent list = FillMediaListContent(m_card.root(), MediaTabWAV);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.total, 2ULL * Big);
    EXPECT_EQ(list.rows[0][1], FormatSizeText(Big, SizeUnitAuto));
    EXPECT_EQ(list.statusText,
              S(" 2 Files     Total Size: ") + FormatSizeText(2 * Big, SizeUnitKB));
}

TEST(MediaNameTest, ExtensionsAndDeviceTypes) {
    struct Case {
        const char* name;
        const char* extension;
        int device;
    };
    const Case cases[] = {
        {"Song.MID", ".mid", 9},  {"take.WaV", ".wav", 12}, {"tune.mP3", ".mp3", 6},
        {"notes.txt", ".txt", 0}, {"noext", "", 0},         {"a.b.wav", ".wav", 12},
        {"odd.w\\av", "", 0},     {"drive.c:mid", "", 0},   {"song.midi", ".midi", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MediaExtension(S(c.name)), S(c.extension)) << c.name;
        EXPECT_EQ(PlayerDeviceTypeFor(S(c.name)), c.device) << c.name;
        EXPECT_EQ(IsPlayableMediaName(S(c.name)), c.device != 0) << c.name;
    }
}

TEST(PlayerTimeTextTest, WaveAudioAsClockOtherDevicesAsSixDigits) {
    struct Case {
        int device;
        std::int64_t position;
        const char* text;
    };
    const Case cases[] = {
        {12, 999, " 00:00:00 "},          {12, 90'000, " 00:01:30 "}, {12, 3'661'999, " 01:01:01 "},
        {12, 360'000'000, " 100:00:00 "}, {9, 384, "  000384  "},     {0, 1'234'567, "  1234567  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayerTimeText(c.device, c.position), S(c.text)) << c.text;
    EXPECT_EQ(PlayerZeroTimeText(9), S("  000000  "));
}
