#include "media/core/medialist.h"
#include "media/core/mediaplayertext.h"
#include "mediacore/mediatest.h"
#include "transfer/sizetext.h"

#include <QFile>
#include <sys/stat.h>

using MediaListTest = CardRootTest;

// Files and folders in locale order, without hidden ones, pipes and dangling links; links to
// files are followed. A missing folder or a file lists nothing.
TEST_F(MediaListTest, ListsFilesAndFoldersInLocaleOrder) {
    const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    for (const char* name :
         {"b.WAV", "A.wav", "c.mid", ".hidden.wav", "Zed.mp3", "\xC3\x84rger.wav", "Birne.wav"})
        ASSERT_TRUE(m_card.writeFile(Q("WAV/") + Q(name), QByteArray(10, 'x')));
    ASSERT_TRUE(m_card.makeFolder(Q("WAV/sub")));
    ASSERT_TRUE(m_card.makeFolder(Q("WAV/.cache")));
    const QString folder = m_card.path(Q("WAV"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + Q("/pipe.wav")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(folder + Q("/A.wav"), folder + Q("/link.wav")));
    ASSERT_TRUE(QFile::link(folder + Q("/gone.wav"), folder + Q("/dangling.wav")));
    QStringList names;
    for (const MediaEntry& entry : ListMediaFolder(folder)) {
        names.append(entry.name);
        EXPECT_EQ(entry.size, entry.name == u"sub" ? 0 : 10) << entry.name.toStdString();
    }
    EXPECT_EQ(names, (QStringList{Q("A.wav"), Q("\xC3\x84rger.wav"), Q("b.WAV"), Q("Birne.wav"),
                                  Q("c.mid"), Q("link.wav"), Q("sub"), Q("Zed.mp3")}));
    EXPECT_TRUE(ListMediaFolder(m_card.path(Q("nothing here"))).empty());
    EXPECT_TRUE(ListMediaFolder(folder + Q("/A.wav")).empty());
}

// Singular, no files and the exact texts of whole kilobytes: see the companion's media lists.
TEST_F(MediaListTest, StatusTextCountsFilesAndTotalsInKilobytes) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(MediaStatusText(2, 500), Q(" 2 Files     Total Size: 0.50 KB"));
    EXPECT_EQ(MediaStatusText(3, 5'000'000'000ULL), Q(" 3 Files     Total Size: 5,000,000 KB"));
}

// Folders are found whatever their letter case; sizes and totals go beyond 32 bits. Folder
// rows, empty tabs and a card without songs: see the companion's media lists.
TEST_F(MediaListTest, EveryTabFromItsFolder) {
    constexpr qint64 Big = 3LL * 1024 * 1024 * 1024; // 3 GiB each, 6 GiB together
    ASSERT_TRUE(m_card.writeFile(Q("roland/smf/One.MID"), QByteArray(1000, 'x')));
    ASSERT_TRUE(m_card.writeSizedFile(Q("Wav/big1.wav"), Big));
    ASSERT_TRUE(m_card.writeSizedFile(Q("Wav/big2.wav"), Big));
    ASSERT_TRUE(m_card.writeFile(Q("roland/Sketch/s.wav"), QByteArray(1, 'x')));
    ASSERT_TRUE(m_card.writeFile(Q("roland/USB/u.wav"), QByteArray(1, 'x')));
    const auto lists = RefreshMediaListContents(m_card.root(), true);
    EXPECT_EQ(lists[MediaTabSMF].rows.value(0).value(0), Q("One.MID"));
    const MediaListContent& wav = lists[MediaTabWAV];
    ASSERT_EQ(wav.count, 2);
    EXPECT_EQ(wav.rows[0][1], FormatSizeText(Big, SizeUnitAuto));
    EXPECT_EQ(wav.statusText, Q(" 2 Files     Total Size: ") + FormatSizeText(2 * Big, SizeUnitKB));
    EXPECT_EQ(lists[MediaTabSketch].rows.value(0).value(0), Q("s.wav"));
    EXPECT_EQ(lists[MediaTabUSB].rows.value(0).value(0), Q("u.wav"));
    EXPECT_EQ(MediaFilePath(m_card.root(), MediaTabSMF, Q("One.MID")),
              m_card.path(Q("roland/smf/One.MID")));
}

TEST(MediaNameTest, ExtensionsAndDeviceTypes) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"Song.MID", ".mid", 9},  {"take.WaV", ".wav", 12}, {"tune.mP3", ".mp3", 6},
        {"notes.txt", ".txt", 0}, {"noext", "", 0},         {"a.b.wav", ".wav", 12},
        {"odd.w\\av", "", 0},     {"drive.c:mid", "", 0},   {"song.midi", ".midi", 0},
    };
    for (const auto& [name, extension, device] : cases) {
        EXPECT_EQ(MediaExtension(Q(name)), Q(extension)) << name;
        EXPECT_EQ(PlayerDeviceTypeFor(Q(name)), device) << name;
        EXPECT_EQ(IsPlayableMediaName(Q(name)), device != 0) << name;
    }
}

TEST(PlayerTimeTextTest, WaveAudioAsClockOtherDevicesAsSixDigits) {
    const std::tuple<int, std::int64_t, const char*> cases[] = {
        {12, 999, " 00:00:00 "},          {12, 90'000, " 00:01:30 "}, {12, 3'661'999, " 01:01:01 "},
        {12, 360'000'000, " 100:00:00 "}, {9, 384, "  000384  "},     {0, 1'234'567, "  1234567  "},
    };
    for (const auto& [device, position, text] : cases)
        EXPECT_EQ(PlayerTimeText(device, position), Q(text));
}
