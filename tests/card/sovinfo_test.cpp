#include "card/sovinfo.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

class CatalogueTest : public CardRootTest {
protected:
    void load() { m_info.LoadFolder(m_temp.path()); }

    const SongListItem* song(const char* songId) const {
        for (const SongListItem& item : m_info.songs()) {
            if (item.songId == S(songId))
                return &item;
        }
        return nullptr;
    }

    void addSong(const char* folder, const SongInfoRecord& record) {
        ASSERT_TRUE(m_card.writeSongInfo(S(folder), record));
    }

    QStringList songIds() const {
        QStringList ids;
        for (const SongListItem& item : m_info.songs())
            ids.append(item.songId);
        return ids;
    }

    SOV_Info m_info;
};

SongInfoRecord TaggedRecord(const QByteArray& tag) {
    SongInfoRecord record;
    record.tag = tag;
    return record;
}

} // namespace

TEST_F(CatalogueTest, CardRootWithoutSongArea) {
    int refreshes = 0;
    m_info.setMediaListRefresher([&refreshes](SOV_Info&) { ++refreshes; });
    load();
    EXPECT_FALSE(m_info.hasSongs());
    EXPECT_TRUE(m_info.songs().empty());
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_EQ(m_info.rootPath(), m_temp.path() + u'/');
    EXPECT_TRUE(m_info.rolandPath().startsWith(m_info.rootPath()));
    EXPECT_TRUE(m_info.br0Path().endsWith(u'/'));
    EXPECT_EQ(refreshes, 1); // the media lists are still loaded
}

TEST_F(CatalogueTest, RootPathKeepsOneTrailingSeparator) {
    addSong("SONG001.BR0", SongInfoRecord());
    m_info.LoadFolder(m_temp.path() + u'/');
    EXPECT_EQ(m_info.rootPath(), m_temp.path() + u'/');
    EXPECT_EQ(m_info.rolandPath(), m_temp.path() + S("/Roland/"));
    EXPECT_EQ(m_info.br0Path(), m_temp.path() + S("/Roland/BR0/"));
    EXPECT_EQ(m_info.songPath(), m_temp.path() + S("/Roland/BR0/SONG001.BR0/"));
}

TEST_F(CatalogueTest, RecordFieldsAreRead) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "MY SONG", 3, "1.03");
    record.protect = 0x40;
    addSong("SONG001.BR0", record);
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG001.BR0"), S("TRACK01.BR0"), 1'000'000));
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG001.BR0"), S("sub/.hidden"), 32));
    load();
    ASSERT_TRUE(m_info.hasSongs());
    ASSERT_EQ(m_info.songs().size(), 1u);
    const SongListItem& item = m_info.songs()[0];
    EXPECT_EQ(item.folderName, S("SONG001.BR0"));
    EXPECT_EQ(item.songId, S("SONG001"));
    EXPECT_EQ(item.name, S("MY SONG "));
    EXPECT_EQ(item.size, 1'000'000u + 468u + 32u);
    EXPECT_EQ(item.recordMode, 3);
    EXPECT_TRUE(item.isProtected);
    EXPECT_EQ(item.model, RecorderModel::BR864);
    EXPECT_EQ(item.version, S("1.03"));
    EXPECT_FALSE(item.isMicroBR);
    EXPECT_FALSE(item.isBR532);
}

TEST_F(CatalogueTest, TextFieldsEndAtZeroAndAreLatin1) {
    SongInfoRecord record;
    record.name = QByteArray("AB\0CDEFG", 8);
    record.version = QByteArray("1.0\0", 4);
    record.patch(52, "\xE9\xFF");
    addSong("SONG001.BR0", record);
    record.patches.clear();
    record.name = "\xC4\xD6\xDC"
                  "ABCDE"; // 8 bytes, no zero: all of them
    addSong("SONG002.BR0", record);
    load();
    ASSERT_NE(song("SONG001"), nullptr);
    EXPECT_EQ(song("SONG001")->name, S("AB"));
    EXPECT_EQ(song("SONG001")->version, S("1.0"));
    ASSERT_NE(song("SONG002"), nullptr);
    EXPECT_EQ(song("SONG002")->name, QString::fromUtf8("\xC3\x84\xC3\x96\xC3\x9C"
                                                       "ABCDE"));
}

TEST_F(CatalogueTest, TagsMatchExactly) {
    struct Case {
        const char* folder;
        QByteArray tag;
        RecorderModel model;
    };
    const Case cases[] = {
        {"SONG001.BR0", "BR-532 ", RecorderModel::BR532},
        {"SONG002.BR0", "BR-864 ", RecorderModel::BR864},
        {"SONG003.BR0", "BR-900 ", RecorderModel::BR900},
        {"SONG004.BR0", "BR-600 ", RecorderModel::BR600},
        {"SONG005.BR0", "MicroBR", RecorderModel::MicroBR},
        {"SONG006.BR0", "BR-800 ", RecorderModel::BR800},
        {"SONG007.BR0", "BR-80  ", RecorderModel::BR80},
        {"SONG008.BR0", "BR-80 X", RecorderModel::None},
        {"SONG009.BR0", QByteArray("BR-80 \0", 7), RecorderModel::None},
        {"SONG010.BR0", "Micro B", RecorderModel::None},
        {"SONG011.BR0", "br-864 ", RecorderModel::None},
        {"SONG012.BR0", QByteArray("BR-864\0", 7), RecorderModel::None},
        {"SONG013.BR0", QByteArray(7, '\0'), RecorderModel::None},
        {"SONG014.BR0", "\xFF\xFF\xFF\xFF\xFF\xFF\xFF", RecorderModel::None},
    };
    for (const Case& c : cases)
        addSong(c.folder, TaggedRecord(c.tag));
    // A non-zero byte right after the tag is not part of it.
    ASSERT_TRUE(
        m_card.patchFile(m_card.songFolder(S("SONG002.BR0")) + S("/songinf2.br0"), 39, "Z"));
    load();
    ASSERT_EQ(m_info.songs().size(), std::size(cases));
    for (const Case& c : cases) {
        const QString id = S(c.folder).left(7);
        ASSERT_NE(song(id.toLatin1().constData()), nullptr) << c.folder;
        const SongListItem& item = *song(id.toLatin1().constData());
        EXPECT_EQ(item.model, c.model) << c.folder;
        EXPECT_EQ(item.isBR532, c.model == RecorderModel::BR532) << c.folder;
        EXPECT_EQ(item.isMicroBR, c.model == RecorderModel::MicroBR) << c.folder;
    }
}

TEST_F(CatalogueTest, MicroBRIsABR900SongWithSongParams) {
    addSong("SONG001.BR0", TaggedRecord("BR-900 "));
    ASSERT_TRUE(m_card.writeSongParams(S("SONG001.BR0")));
    addSong("SONG002.BR0", TaggedRecord("BR-900 "));
    addSong("SONG003.BR0", TaggedRecord("BR-864 "));
    ASSERT_TRUE(m_card.writeSongParams(S("SONG003.BR0")));
    addSong("SONG004.BR0", TaggedRecord("BR-900 "));
    ASSERT_TRUE(m_card.writeSongFile(S("SONG004.BR0"), S("songprm.br1"), "x"));
    addSong("SONG005.BR0", TaggedRecord("BR-900 "));
    ASSERT_TRUE(m_card.makeFolder(m_card.songFolder(S("SONG005.BR0")) + S("/SONGPRM.BR1")));
    load();
    ASSERT_EQ(m_info.songs().size(), 5u);
    EXPECT_EQ(song("SONG001")->model, RecorderModel::MicroBR);
    EXPECT_TRUE(song("SONG001")->isMicroBR);
    EXPECT_EQ(song("SONG002")->model, RecorderModel::BR900);
    EXPECT_FALSE(song("SONG002")->isMicroBR);
    EXPECT_EQ(song("SONG003")->model, RecorderModel::BR864);
    EXPECT_EQ(song("SONG004")->model, RecorderModel::MicroBR); // name matched ignoring case
    EXPECT_EQ(song("SONG005")->model, RecorderModel::MicroBR); // existence is all that counts
}

TEST_F(CatalogueTest, RecordModeOffsetDependsOnTheModel) {
    for (const char* folder : {"SONG001.BR0", "SONG002.BR0", "SONG003.BR0", "SONG004.BR0"}) {
        SongInfoRecord record;
        record.recordMode = 2;
        record.recordModeBR532 = 4;
        record.tag = S(folder) == S("SONG001.BR0")   ? "BR-532 "
                     : S(folder) == S("SONG002.BR0") ? "BR-864 "
                     : S(folder) == S("SONG003.BR0") ? "NOMODEL"
                                                     : "BR-900 ";
        addSong(folder, record);
    }
    ASSERT_TRUE(m_card.writeSongParams(S("SONG004.BR0")));
    load();
    EXPECT_EQ(song("SONG001")->recordMode, 4);
    EXPECT_EQ(song("SONG002")->recordMode, 2);
    EXPECT_EQ(song("SONG003")->recordMode, 2); // no model: offset 97 as well
    EXPECT_EQ(song("SONG004")->recordMode, 2); // MICRO BR
}

TEST_F(CatalogueTest, PreferredRecordAndItsFallback) {
    SongInfoRecord preferred = SongInfoRecord::ForModel(RecorderModel::BR600, "NEW", 2);
    SongInfoRecord other = SongInfoRecord::ForModel(RecorderModel::BR864, "OLD", 3);
    other.protect = 1;
    addSong("SONG001.BR0", preferred);
    ASSERT_TRUE(m_card.writeSongInfo(S("SONG001.BR0"), other, S("SONGINFO.BR0")));
    ASSERT_TRUE(m_card.writeSongInfo(S("SONG002.BR0"), other, S("SONGINFO.BR0")));
    ASSERT_TRUE(m_card.writeSongInfo(S("SONG003.BR0"), other, S("songinfo.br0")));
    load();
    EXPECT_EQ(song("SONG001")->name, S("NEW     "));
    EXPECT_EQ(song("SONG001")->model, RecorderModel::BR600);
    EXPECT_FALSE(song("SONG001")->isProtected);
    EXPECT_EQ(song("SONG002")->name, S("OLD     "));
    EXPECT_EQ(song("SONG002")->recordMode, 3);
    EXPECT_TRUE(song("SONG002")->isProtected);
    EXPECT_EQ(song("SONG003")->name, S("OLD     "));
}

TEST_F(CatalogueTest, SongWithoutRecordKeepsDefaults) {
    // Read a full record first, so that nothing of it may leak into the next song.
    addSong("SONG001.BR0", SongInfoRecord::ForModel(RecorderModel::BR864, "FULL", 3));
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG002.BR0"), S("TAKE.BR0"), 77));
    ASSERT_TRUE(m_card.makeFolder(m_card.songFolder(S("SONG003.BR0")) + S("/songinf2.br0")));
    load();
    ASSERT_EQ(m_info.songs().size(), 3u);
    for (const char* id : {"SONG002", "SONG003"}) {
        const SongListItem& item = *song(id);
        EXPECT_TRUE(item.name.isEmpty()) << id;
        EXPECT_TRUE(item.version.isEmpty()) << id;
        EXPECT_EQ(item.recordMode, 0) << id;
        EXPECT_FALSE(item.isProtected) << id;
        EXPECT_EQ(item.model, RecorderModel::None) << id;
    }
    EXPECT_EQ(song("SONG002")->size, 77u);
}

TEST_F(CatalogueTest, ShortRecordsReadZerosBeyondTheirEnd) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR532, "LONGNAME", 4);
    record.protect = 1;
    record.length = 52; // ends inside the name
    addSong("SONG001.BR0", record);
    record.length = 0;
    addSong("SONG002.BR0", record);
    record.length = 98; // holds offset 97 but not 120
    record.tag = "BR-864 ";
    record.recordMode = 3;
    addSong("SONG003.BR0", record);
    load();
    EXPECT_EQ(song("SONG001")->name, S("LONG"));
    EXPECT_EQ(song("SONG001")->model, RecorderModel::BR532);
    EXPECT_EQ(song("SONG001")->recordMode, 0);
    EXPECT_FALSE(song("SONG001")->isProtected);
    EXPECT_EQ(song("SONG002")->model, RecorderModel::None);
    EXPECT_TRUE(song("SONG002")->name.isEmpty());
    EXPECT_EQ(song("SONG003")->recordMode, 3);
    EXPECT_TRUE(song("SONG003")->isProtected);
}

TEST_F(CatalogueTest, LinkLoopInsideASongFolderIsNotFollowed) {
    addSong("SONG001.BR0", SongInfoRecord());
    const QString folder = m_card.songFolder(S("SONG001.BR0"));
    ASSERT_TRUE(m_card.makeSymlink(folder + S("/sub/back"), m_card.path(folder)));
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG001.BR0"), S("sub/data.bin"), 1000));
    load();
    ASSERT_EQ(m_info.songs().size(), 1u);
    const std::uint64_t linkSize = static_cast<std::uint64_t>(m_card.path(folder).toUtf8().size());
    EXPECT_EQ(m_info.songs()[0].size, 468u + 1000u + linkSize);
}

TEST_F(CatalogueTest, OrdinaryFileNamedLikeASong) {
    addSong("SONG001.BR0", SongInfoRecord::ForModel(RecorderModel::BR864, "REAL", 2));
    ASSERT_TRUE(m_card.addSongNamedFile(S("SONG002.BR0"), QByteArray(600, 'x')));
    load();
    ASSERT_EQ(m_info.songs().size(), 2u);
    const SongListItem& item = *song("SONG002");
    EXPECT_EQ(item.folderName, S("SONG002.BR0"));
    EXPECT_EQ(item.size, 0u);
    EXPECT_TRUE(item.name.isEmpty());
    EXPECT_EQ(item.model, RecorderModel::None);
}

TEST_F(CatalogueTest, OnlySongNamedVisibleEntriesAreListed) {
    addSong("SONG001.BR0", SongInfoRecord());
    addSong(".SONG002.BR0", SongInfoRecord());
    addSong("SONG003.BR1", SongInfoRecord());
    addSong("XSONG004.BR0", SongInfoRecord());
    addSong("SONG005.BR0.bak", SongInfoRecord());
    addSong("SONG.BR0", SongInfoRecord());
    ASSERT_TRUE(m_card.addSongNamedFile(S(".hidden")));
    load();
    EXPECT_EQ(songIds(), QStringList({S("SONG"), S("SONG001")}));
}

TEST_F(CatalogueTest, SongIdIsTrimmed) {
    addSong("SONG 7 .BR0", SongInfoRecord());
    load();
    ASSERT_EQ(m_info.songs().size(), 1u);
    EXPECT_EQ(m_info.songs()[0].songId, S("SONG 7"));
    EXPECT_EQ(m_info.songs()[0].folderName, S("SONG 7 .BR0"));
}

TEST_F(CatalogueTest, NamesAreMatchedIgnoringCase) {
    m_card.setBr0Folder(S("roland/br0"));
    ASSERT_TRUE(m_card.writeSongInfo(S("song001.br0"),
                                     SongInfoRecord::ForModel(RecorderModel::BR900, "LOWER", 3),
                                     S("SONGINF2.BR0")));
    ASSERT_TRUE(m_card.writeSongFile(S("song001.br0"), S("SongPrm.Br1"), "p"));
    ASSERT_TRUE(m_card.writeDiskInfo(QByteArray(56, 'q')));
    load();
    ASSERT_TRUE(m_info.hasSongs());
    ASSERT_EQ(m_info.songs().size(), 1u);
    const SongListItem& item = m_info.songs()[0];
    EXPECT_EQ(item.songId, S("song001"));
    EXPECT_EQ(item.name, S("LOWER   "));
    EXPECT_EQ(item.model, RecorderModel::MicroBR);
    EXPECT_EQ(m_info.songPath(), m_card.path(S("roland/br0/song001.br0/")));
    EXPECT_EQ(m_info.diskInfo()[0], 'q');
}

TEST_F(CatalogueTest, SelectSongByExactId) {
    addSong("SONG001.BR0", SongInfoRecord());
    addSong("SONG002.BR0", SongInfoRecord());
    load();
    EXPECT_TRUE(m_info.SelectSong(S("SONG002")));
    EXPECT_EQ(m_info.currentIndex(), 1);
    EXPECT_EQ(m_info.songPath(), m_info.br0Path() + S("SONG002.BR0/"));
    for (const char* id : {"song002", "SONG003", "", "SONG002.BR0"}) {
        EXPECT_FALSE(m_info.SelectSong(S(id))) << id;
        EXPECT_EQ(m_info.currentIndex(), 1) << id;
        EXPECT_EQ(m_info.songPath(), m_info.br0Path() + S("SONG002.BR0/")) << id;
    }
}

TEST_F(CatalogueTest, ANewFolderOrClearingReplacesEverything) {
    addSong("SONG001.BR0", SongInfoRecord());
    load();
    ASSERT_NE(m_info.currentSong(), nullptr);
    TempFolder empty;
    m_info.LoadFolder(empty.path());
    EXPECT_FALSE(m_info.hasSongs());
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_EQ(m_info.rootPath(), empty.path() + u'/');
    load();
    m_info.ClearCatalogue();
    EXPECT_TRUE(m_info.songs().empty());
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_FALSE(m_info.WriteSongName(S("X")));
}

TEST_F(CatalogueTest, DiskInfoIsTheFirst56Bytes) {
    QByteArray bytes;
    for (int i = 0; i < 70; ++i)
        bytes.append(static_cast<char>(i + 1));
    ASSERT_TRUE(m_card.writeDiskInfo(bytes));
    load();
    for (int i = 0; i < 56; ++i)
        EXPECT_EQ(m_info.diskInfo()[static_cast<std::size_t>(i)], i + 1) << i;

    ASSERT_TRUE(m_card.writeDiskInfo("ab"));
    load();
    EXPECT_EQ(m_info.diskInfo()[0], 'a');
    EXPECT_EQ(m_info.diskInfo()[1], 'b');
    EXPECT_EQ(m_info.diskInfo()[2], 0);
    EXPECT_EQ(m_info.diskInfo()[55], 0);
}

TEST(SongIdOrderTest, LowerCaseFirstOnlyBetweenOtherwiseEqualIds) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const ScopedDefaultLocale scoped(locale);
        const std::string name = locale.name().toStdString();
        EXPECT_TRUE(SongIdLess(S("song001"), S("SONG002"))) << name;
        EXPECT_FALSE(SongIdLess(S("SONG002"), S("song001"))) << name;
        EXPECT_TRUE(SongIdLess(S("SONG002"), S("SONG010"))) << name;
        EXPECT_TRUE(SongIdLess(S("song001"), S("SONG001"))) << name;
        EXPECT_FALSE(SongIdLess(S("SONG001"), S("song001"))) << name;
        EXPECT_FALSE(SongIdLess(S("SONG001"), S("SONG001"))) << name;
        EXPECT_TRUE(SongIdLess(S("SONG"), S("SONG001"))) << name;
    }
}

TEST_F(CatalogueTest, OrderIsTheSameInEveryLocale) {
    for (const char* folder :
         {"SONG010.BR0", "song001.BR0", "SONG002.BR0", "SONG001.BR0", "Song003.BR0"})
        addSong(folder, SongInfoRecord());
    const QStringList expected = {S("song001"), S("SONG001"), S("SONG002"), S("Song003"),
                                  S("SONG010")};
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const ScopedDefaultLocale scoped(locale);
        load();
        EXPECT_EQ(songIds(), expected) << locale.name().toStdString();
        EXPECT_EQ(m_info.currentSong()->songId, S("song001"));
    }
}
