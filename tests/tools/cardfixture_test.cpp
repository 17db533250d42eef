#include "fixture/cardfixture.h"
#include "support/cardtest.h"

#include <QFileInfo>
#include <gtest/gtest.h>

// The fixture builder is the ground truth of every card test: its bytes are checked here
// against offsets written out by hand.

TEST(SongInfoRecordTest, FieldsLandAtTheirOffsets) {
    SongInfoRecord record;
    record.version = "2.01";
    record.tag = "BR-600 ";
    record.name = "MYSONG  ";
    record.protect = 1;
    record.recordMode = 3;
    record.recordModeBR532 = 4;
    const QByteArray bytes = record.bytes();
    ASSERT_EQ(bytes.size(), 468);
    EXPECT_EQ(bytes.mid(28, 4), QByteArray("2.01"));
    EXPECT_EQ(bytes.mid(32, 7), QByteArray("BR-600 "));
    EXPECT_EQ(bytes.mid(48, 8), QByteArray("MYSONG  "));
    EXPECT_EQ(bytes.at(80), 1);
    EXPECT_EQ(bytes.at(97), 3);
    EXPECT_EQ(bytes.at(120), 4);
    EXPECT_EQ(bytes.count('\0'), 468 - 4 - 7 - 8 - 3);
}

TEST(SongInfoRecordTest, TextFieldsAreCutToTheirWidth) {
    SongInfoRecord record;
    record.version = "1.2345";
    record.tag = "BR-864 EXTRA";
    record.name = "ABCDEFGHIJ";
    const QByteArray bytes = record.bytes();
    EXPECT_EQ(bytes.mid(28, 4), QByteArray("1.23"));
    EXPECT_EQ(bytes.mid(32, 7), QByteArray("BR-864 "));
    EXPECT_EQ(bytes.mid(39, 9), QByteArray(9, '\0'));
    EXPECT_EQ(bytes.mid(48, 8), QByteArray("ABCDEFGH"));
    EXPECT_EQ(bytes.at(56), '\0');
}

TEST(SongInfoRecordTest, LengthCutsAndPads) {
    SongInfoRecord record;
    record.name = "LONGNAME";
    record.length = 52;
    EXPECT_EQ(record.bytes(),
              QByteArray(28, '\0') + "1.00" + "BR-864 " + QByteArray(9, '\0') + "LONG");
    record.length = 500;
    EXPECT_EQ(record.bytes().size(), 500);
    record.length = 0;
    EXPECT_TRUE(record.bytes().isEmpty());
}

TEST(SongInfoRecordTest, PatchesAreWrittenLastAndMayGrowTheRecord) {
    SongInfoRecord record;
    record.recordMode = 2;
    record.patch(97, QByteArray(1, '\x07')).patch(470, "XY");
    record.length = 472;
    const QByteArray bytes = record.bytes();
    EXPECT_EQ(bytes.at(97), 7);
    EXPECT_EQ(bytes.mid(470), QByteArray("XY"));
}

TEST(SongInfoRecordTest, ForModelUsesTheModelsTagAndRecordModeOffset) {
    const QByteArray br532 = SongInfoRecord::ForModel(RecorderModel::BR532, "AB", 4).bytes();
    EXPECT_EQ(br532.mid(32, 7), QByteArray("BR-532 "));
    EXPECT_EQ(br532.mid(48, 8), QByteArray("AB      "));
    EXPECT_EQ(br532.at(120), 4);
    EXPECT_EQ(br532.at(97), 0);

    const QByteArray br80 = SongInfoRecord::ForModel(RecorderModel::BR80, "X", 2, "1.10").bytes();
    EXPECT_EQ(br80.mid(32, 7), QByteArray("BR-80  "));
    EXPECT_EQ(br80.mid(28, 4), QByteArray("1.10"));
    EXPECT_EQ(br80.at(97), 2);
    EXPECT_EQ(br80.at(120), 0);

    EXPECT_EQ(FixtureModelTag(RecorderModel::MicroBR), QByteArray("BR-900 "));
    EXPECT_TRUE(FixtureModelTag(RecorderModel::None).isEmpty());
}

TEST(SpacePaddedTest, PadsAndCuts) {
    EXPECT_EQ(SpacePadded("AB", 8), QByteArray("AB      "));
    EXPECT_EQ(SpacePadded("ABCDEFGHIJ", 8), QByteArray("ABCDEFGH"));
    EXPECT_EQ(SpacePadded("", 3), QByteArray("   "));
}

using CardFixtureTest = CardRootTest;

TEST_F(CardFixtureTest, WritesSongFilesUnderTheSongArea) {
    ASSERT_TRUE(m_card.writeSongInfo(QStringLiteral("SONG001.BR0"), SongInfoRecord()));
    ASSERT_TRUE(m_card.writeSongParams(QStringLiteral("SONG001.BR0")));
    ASSERT_TRUE(m_card.writeSongInfo(QStringLiteral("SONG002.BR0"), SongInfoRecord(),
                                     QStringLiteral("SONGINFO.BR0")));
    ASSERT_TRUE(m_card.writeSongSizedFile(QStringLiteral("SONG002.BR0"),
                                          QStringLiteral("a/b/TRACK.BR0"), 1234));
    ASSERT_TRUE(m_card.addSongNamedFile(QStringLiteral("SONG003.BR0"), "x"));
    ASSERT_TRUE(m_card.writeDiskInfo(QByteArray(56, 'd')));
    ASSERT_TRUE(m_card.writeCardParams(QByteArray(10, 'c')));

    const QString br0 = m_temp.path(QStringLiteral("Roland/BR0/"));
    EXPECT_EQ(QFileInfo(br0 + QStringLiteral("SONG001.BR0/songinf2.br0")).size(), 468);
    EXPECT_TRUE(QFileInfo(br0 + QStringLiteral("SONG001.BR0/SONGPRM.BR1")).isFile());
    EXPECT_TRUE(QFileInfo(br0 + QStringLiteral("SONG002.BR0/SONGINFO.BR0")).isFile());
    EXPECT_EQ(QFileInfo(br0 + QStringLiteral("SONG002.BR0/a/b/TRACK.BR0")).size(), 1234);
    EXPECT_TRUE(QFileInfo(br0 + QStringLiteral("SONG003.BR0")).isFile());
    EXPECT_EQ(ReadWholeFile(br0 + QStringLiteral("diskinf2.br0")), QByteArray(56, 'd'));
    EXPECT_EQ(ReadWholeFile(br0 + QStringLiteral("cardprm.br1")), QByteArray(10, 'c'));
}

TEST_F(CardFixtureTest, SongAreaNameCanBeChanged) {
    m_card.setBr0Folder(QStringLiteral("roland/br0"));
    ASSERT_TRUE(m_card.addSongFolder(QStringLiteral("song001.br0")));
    EXPECT_TRUE(QFileInfo(m_temp.path(QStringLiteral("roland/br0/song001.br0"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(m_temp.path(QStringLiteral("Roland"))));
}

TEST_F(CardFixtureTest, PatchKeepsLengthAndOtherBytes) {
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("f.bin"), QByteArray(16, 'a')));
    ASSERT_TRUE(m_card.patchFile(QStringLiteral("f.bin"), 4, "XY"));
    EXPECT_EQ(m_card.readFile(QStringLiteral("f.bin")), QByteArray("aaaaXYaaaaaaaaaa"));
    ASSERT_TRUE(m_card.patchFile(QStringLiteral("f.bin"), 15, "ZZ"));
    EXPECT_EQ(m_card.readFile(QStringLiteral("f.bin")).size(), 17);
    EXPECT_FALSE(m_card.patchFile(QStringLiteral("missing.bin"), 0, "Z"));
    EXPECT_FALSE(QFileInfo::exists(m_card.path(QStringLiteral("missing.bin"))));
}

TEST_F(CardFixtureTest, SymlinksAndLargeSparseFiles) {
    ASSERT_TRUE(m_card.makeFolder(QStringLiteral("dir")));
    ASSERT_TRUE(m_card.makeSymlink(QStringLiteral("dir/loop"), m_card.path(QStringLiteral("dir"))));
    EXPECT_TRUE(QFileInfo(m_card.path(QStringLiteral("dir/loop"))).isSymLink());
    const qint64 big = 5'000'000'000LL;
    ASSERT_TRUE(m_card.writeSizedFile(QStringLiteral("big.bin"), big));
    EXPECT_EQ(QFileInfo(m_card.path(QStringLiteral("big.bin"))).size(), big);
}
