#include "card/arrangementview.h"
#include "card/effectsview.h"
#include "card/patternsview.h"
#include "card/sovinfo.h"
#include "fixture/songfilesfixture.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

class CatalogueTest : public CardRootTest {
protected:
    void load() { m_info.LoadFolder(m_temp.path()); }

    const SongListItem& song(const char* songId) const {
        for (const SongListItem& item : m_info.songs()) {
            if (item.songId == S(songId))
                return item;
        }
        static const SongListItem missing;
        return missing; // fails the checks of any field read from a record
    }

    using CardRootTest::addSong;
    void addSong(const char* folder, const SongInfoRecord& record,
                 const char* file = "songinf2.br0") {
        ASSERT_TRUE(m_card.writeSongInfo(S(folder), record, S(file)));
    }

    QStringList songIds() const {
        QStringList ids;
        for (const SongListItem& item : m_info.songs())
            ids.append(item.songId);
        return ids;
    }

    SOV_Info m_info;
};

SongInfoRecord Record(const QByteArray& tag, std::uint8_t protect = 0) {
    SongInfoRecord record;
    record.tag = tag;
    record.recordMode = 2;
    record.recordModeBR532 = 4;
    record.protect = protect;
    return record;
}

} // namespace

// Texts end at a zero byte and are Latin-1; the 7-byte tag is matched exactly; a BR-900 song
// with a SONGPRM.BR1 entry of any kind and case is a MICRO BR song; the BR-532 keeps its record
// mode at its own offset; songinf2.br0 is preferred to SONGINFO.BR0; short records read
// zeros; a song without a record (none, or a folder in its place) keeps the defaults.
TEST_F(CatalogueTest, RecordFieldsAreRead) {
    SongInfoRecord full = SongInfoRecord::ForModel(RecorderModel::BR864, "MY SONG", 3, "1.03");
    full.protect = 0x40;
    addSong("SONG01.BR0", full);
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG01.BR0"), S("TRACK01.BR0"), 1'000'000));
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG01.BR0"), S("sub/.hidden"), 32));
    full.name = QByteArray("AB\0CDEFG", 8);
    full.version = QByteArray("1.0\0", 4);
    addSong("SONG02.BR0", full);
    full.name = "\xC4\xD6\xDCxyzuv";
    addSong("SONG03.BR0", full);
    // A byte after the 7-byte tag is not part of it.
    const std::pair<const char*, const char*> tags[] = {
        {"SONG04.BR0", "BR-532 "}, {"SONG05.BR0", "BR-864 "}, {"SONG09.BR0", "BR-900 "},
        {"SONG10.BR0", "BR-900 "}, {"SONG11.BR0", "BR-900 "}, {"SONG12.BR0", "BR-900 "},
        {"SONG13.BR0", "BR-864 "}};
    for (const auto& [folder, tag] : tags)
        addSong(folder, Record(tag));
    ASSERT_TRUE(m_card.patchFile(m_card.songFolder(S("SONG05.BR0")) + S("/songinf2.br0"), 39, "Z"));
    ASSERT_TRUE(m_card.writeSongFile(S("SONG10.BR0"), S("SONGPRM.BR1"), "p"));
    ASSERT_TRUE(m_card.writeSongFile(S("SONG11.BR0"), S("songprm.br1"), "p"));
    ASSERT_TRUE(m_card.makeFolder(m_card.songFolder(S("SONG12.BR0")) + S("/SONGPRM.BR1")));
    ASSERT_TRUE(m_card.writeSongFile(S("SONG13.BR0"), S("SONGPRM.BR1"), "p"));
    addSong("SONG14.BR0", SongInfoRecord::ForModel(RecorderModel::BR600, "NEW", 3));
    addSong("SONG14.BR0", Record("BR-532 ", 1), "SONGINFO.BR0");
    addSong("SONG16.BR0", SongInfoRecord::ForModel(RecorderModel::BR864, "OLD", 3), "songinfo.br0");
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG17.BR0"), S("TAKE.BR0"), 77));
    SongInfoRecord cut = SongInfoRecord::ForModel(RecorderModel::BR532, "LONGNAME", 4);
    cut.protect = 1;
    cut.length = 52; // ends inside the name
    addSong("SONG19.BR0", cut);
    load();
    const struct {
        const char* id;
        const char* name; // UTF-8
        RecorderModel model;
        int recordMode;
        bool isProtected;
        const char* version;
    } expected[] = {
        {"SONG01", "MY SONG ", RecorderModel::BR864, 3, true, "1.03"},
        {"SONG02", "AB", RecorderModel::BR864, 3, true, "1.0"},
        {"SONG03", "\xC3\x84\xC3\x96\xC3\x9Cxyzuv", RecorderModel::BR864, 3, true, "1.0"},
        {"SONG04", "", RecorderModel::BR532, 4, false, "1.00"},
        {"SONG05", "", RecorderModel::BR864, 2, false, "1.00"},
        {"SONG09", "", RecorderModel::BR900, 2, false, "1.00"},
        {"SONG10", "", RecorderModel::MicroBR, 2, false, "1.00"},
        {"SONG11", "", RecorderModel::MicroBR, 2, false, "1.00"},
        {"SONG12", "", RecorderModel::MicroBR, 2, false, "1.00"},
        {"SONG13", "", RecorderModel::BR864, 2, false, "1.00"},
        {"SONG14", "NEW     ", RecorderModel::BR600, 3, false, "1.00"},
        {"SONG16", "OLD     ", RecorderModel::BR864, 3, false, "1.00"},
        {"SONG17", "", RecorderModel::None, 0, false, ""},
        {"SONG19", "LONG", RecorderModel::BR532, 0, false, "1.00"},
    };
    ASSERT_EQ(m_info.songs().size(), std::size(expected));
    for (const auto& e : expected) {
        const SongListItem& item = song(e.id);
        EXPECT_EQ(item.folderName, S(e.id) + S(".BR0"));
        EXPECT_EQ(item.name, QString::fromUtf8(e.name)) << e.id;
        EXPECT_EQ(item.model, e.model) << e.id;
        EXPECT_EQ(item.isBR532, e.model == RecorderModel::BR532) << e.id;
        EXPECT_EQ(item.isMicroBR, e.model == RecorderModel::MicroBR) << e.id;
        EXPECT_EQ(item.recordMode, e.recordMode) << e.id;
        EXPECT_EQ(item.isProtected, e.isProtected) << e.id;
        EXPECT_EQ(item.version, S(e.version)) << e.id;
    }
    EXPECT_EQ(song("SONG01").size, 1'000'000u + 468u + 32u);
    EXPECT_EQ(song("SONG17").size, 77u);
}

TEST_F(CatalogueTest, OnlySongNamedVisibleEntriesAreListed) {
    for (const char* folder : {"SONG001.BR0", ".SONG002.BR0", "SONG003.BR1", "XSONG004.BR0",
                               "SONG005.BR0.bak", "SONG.BR0", "SONG 7 .BR0"})
        addSong(folder, SongInfoRecord());
    ASSERT_TRUE(m_card.addSongNamedFile(S(".hidden")));
    ASSERT_TRUE(m_card.addSongNamedFile(S("SONG008.BR0"), QByteArray(600, 'x')));
    load();
    EXPECT_EQ(songIds(), QStringList({S("SONG"), S("SONG 7"), S("SONG001"), S("SONG008")}));
    EXPECT_EQ(song("SONG 7").folderName, S("SONG 7 .BR0")); // ids are trimmed
    // An ordinary file named like a song is listed as a song without content.
    EXPECT_EQ(song("SONG008").size, 0u);
    EXPECT_EQ(song("SONG008").model, RecorderModel::None);
}

TEST_F(CatalogueTest, NamesAreMatchedIgnoringCase) {
    m_card.setBr0Folder(S("roland/br0"));
    addSong("song001.br0", SongInfoRecord::ForModel(RecorderModel::BR900, "LOWER", 3),
            "SONGINF2.BR0");
    ASSERT_TRUE(m_card.writeSongFile(S("song001.br0"), S("SongPrm.Br1"), "p"));
    QByteArray disk;
    for (int i = 0; i < 70; ++i)
        disk.append(static_cast<char>(i + 1));
    ASSERT_TRUE(m_card.writeDiskInfo(disk));
    load();
    ASSERT_EQ(m_info.songs().size(), 1u);
    const SongListItem& item = m_info.songs()[0];
    EXPECT_EQ(item.songId, S("song001"));
    EXPECT_EQ(item.name, S("LOWER   "));
    EXPECT_EQ(item.model, RecorderModel::MicroBR);
    EXPECT_EQ(m_info.songPath(), m_card.path(S("roland/br0/song001.br0/")));
    // The disk record is its first 56 bytes.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(m_info.diskInfo().data()), 56),
              disk.left(56));
}

// A song is selected by its exact id, a failed selection keeps the current song; a new folder
// or clearing replaces everything.
TEST_F(CatalogueTest, SelectionAndReplacement) {
    int refreshes = 0;
    m_info.setMediaListRefresher([&refreshes](SOV_Info&) { ++refreshes; });
    addSong("SONG001.BR0", SongInfoRecord());
    addSong("SONG002.BR0", SongInfoRecord());
    m_info.LoadFolder(m_temp.path() + u'/'); // a trailing separator given is not doubled
    EXPECT_EQ(m_info.rootPath(), m_temp.path() + u'/');
    EXPECT_EQ(m_info.br0Path(), m_temp.path() + S("/Roland/BR0/"));
    EXPECT_EQ(m_info.songPath(), m_temp.path() + S("/Roland/BR0/SONG001.BR0/"));
    EXPECT_TRUE(m_info.SelectSong(S("SONG002")));
    for (const char* id : {"song002", "SONG003", "", "SONG002.BR0"})
        EXPECT_FALSE(m_info.SelectSong(S(id))) << id;
    EXPECT_EQ(m_info.currentIndex(), 1);
    EXPECT_EQ(m_info.songPath(), m_info.br0Path() + S("SONG002.BR0/"));
    // A folder without a song area: no songs, but the media lists are still loaded.
    TempFolder empty;
    m_info.LoadFolder(empty.path());
    EXPECT_FALSE(m_info.hasSongs());
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_EQ(m_info.rootPath(), empty.path() + u'/');
    EXPECT_EQ(refreshes, 2);
    load();
    m_info.ClearCatalogue();
    EXPECT_TRUE(m_info.songs().empty());
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_FALSE(m_info.WriteSongName(S("X")));
}

// Lower case first only between ids otherwise equal, whatever the locale.
TEST_F(CatalogueTest, OrderIsTheSameInEveryLocale) {
    for (const char* folder :
         {"SONG010.BR0", "song001.BR0", "SONG002.BR0", "SONG001.BR0", "Song003.BR0", "SONG.BR0"})
        addSong(folder, SongInfoRecord());
    const QStringList expected = {S("SONG"),    S("song001"), S("SONG001"),
                                  S("SONG002"), S("Song003"), S("SONG010")};
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const ScopedDefaultLocale scoped(locale);
        load();
        EXPECT_EQ(songIds(), expected) << locale.name().toStdString();
        EXPECT_EQ(m_info.currentSong()->songId, S("SONG"));
        EXPECT_FALSE(SongIdLess(S("SONG001"), S("SONG001")));
    }
}

// The current song's arrangements, patterns and effects are read when it is selected: short
// files as far as they reach, missing ones as empty; a MICRO BR song shows none of them, a
// BR-532 song no effects.
TEST_F(CatalogueTest, SelectedSongFilesAreShown) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    addSong(u"SONG002.BR0"_s, RecorderModel::MicroBR);
    addSong(u"SONG003.BR0"_s, RecorderModel::BR532);
    addSong(u"SONG004.BR0"_s, RecorderModel::BR80);
    addSong(u"SONG005.BR0"_s, RecorderModel::BR864);
    PatternFileBuilder patterns;
    patterns.record(0, "MYBEAT", 19, 1);
    ArrangeFileBuilder arrange;
    arrange.name(1, "SECOND").drumKit(1, 0, 3);
    arrange.steps(1, {FixtureStep::Song(0, 0, 1), FixtureStep::Preset(1, 326)});
    arrange.steps(0, {FixtureStep::Preset(0, 0), FixtureStep::Preset(4, 326)});
    EffectsFileBuilder effects;
    effects.patch(FixtureBank::MIC, 0, "VOX", 6);
    for (const QString& song : {u"SONG002.BR0"_s, u"SONG003.BR0"_s}) {
        ASSERT_TRUE(patterns.write(m_card, song) && arrange.write(m_card, song));
        ASSERT_TRUE(effects.write(m_card, song));
    }
    ASSERT_TRUE(patterns.write(m_card, u"SONG001.BR0"_s, u"PATTERN.BR0"_s));
    ASSERT_TRUE(effects.write(m_card, u"SONG001.BR0"_s, u"EFFECTS2.BR0"_s));
    ASSERT_TRUE(arrange.write(m_card, u"SONG001.BR0"_s, u"ARRANGE2.BR0"_s));
    arrange.length = 144 + 12; // step 0 only
    ASSERT_TRUE(arrange.write(m_card, u"SONG005.BR0"_s));
    load();
    ASSERT_TRUE(m_info.effectsLoaded());
    const ArrangementView view = ShowArrangement(m_info, 1);
    ASSERT_TRUE(view.shown);
    EXPECT_EQ(view.captions[1], u"S02 - SECOND"_s);
    EXPECT_EQ(view.drumKitItem, 3);
    EXPECT_EQ(view.rows[0][3], u"S001: MYBEAT"_s);
    EXPECT_EQ(view.timeText, u"  0:02"_s);
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], u"MYBEAT"_s);
    EXPECT_EQ(ShowEffects(m_info).banks[1].rows[0][1], u"VOX"_s);
    ASSERT_TRUE(m_info.SelectSong(u"SONG002"_s)); // MICRO BR: all blank
    EXPECT_TRUE(ArrangementViewBlank(m_info));
    const ArrangementView micro = ShowArrangement(m_info, 0);
    EXPECT_FALSE(micro.shown);
    EXPECT_TRUE(micro.captions.isEmpty());
    EXPECT_EQ(micro.drumKitItem, -1);
    EXPECT_TRUE(micro.timeText.isEmpty());
    ASSERT_EQ(micro.rows.size(), 50);
    EXPECT_TRUE(micro.rows[0].join(QString()).isEmpty());
    EXPECT_FALSE(ShowPatterns(m_info).shown);
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], QString());
    EXPECT_FALSE(ShowEffects(m_info).shown);
    EXPECT_EQ(ShowEffects(m_info).banks[1].rows[0][1], QString());
    ASSERT_TRUE(m_info.SelectSong(u"SONG003"_s)); // BR-532: no effects
    EXPECT_EQ(ShowArrangement(m_info, 0).timeText, u"  0:08"_s);
    EXPECT_FALSE(ShowEffects(m_info).shown);
    EXPECT_EQ(ShowEffects(m_info).banks[1].rows[0][1], QString());
    ASSERT_TRUE(m_info.SelectSong(u"SONG004"_s)); // no files: nothing of the last song stays
    EXPECT_FALSE(m_info.effectsLoaded());
    EXPECT_EQ(ShowArrangement(m_info, 0).captions[0], u"S01 - "_s);
    EXPECT_TRUE(ShowArrangement(m_info, 0).rows[0].join(QString()).isEmpty());
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], QString());
    ASSERT_TRUE(m_info.SelectSong(u"SONG005"_s)); // arrangement file cut after step 0
    EXPECT_EQ(ShowArrangement(m_info, 0).rows[0][2], QString(3, QChar(0xB7)));
    EXPECT_EQ(ShowArrangement(m_info, 0).timeText, u"  n/a"_s);
}

namespace {

// Writing the song name: eight bytes at 48 of the record that was read, in place.
class WriteSongNameTest : public CatalogueTest {
protected:
    QString songFile(const QString& name = u"songinf2.br0"_s) const {
        return m_card.songFolder(u"SONG001.BR0"_s) + u'/' + name;
    }
    QByteArray record(const QString& name = u"songinf2.br0"_s) const {
        return m_card.readFile(songFile(name));
    }
    // Writes the record and loads the card.
    void setUpSong(const QByteArray& bytes, const QString& fileName = u"songinf2.br0"_s) {
        ASSERT_TRUE(m_card.writeSongFile(u"SONG001.BR0"_s, fileName, bytes));
        load();
        ASSERT_NE(m_info.currentSong(), nullptr);
    }
    QStringList songFolderEntries() const {
        return QDir(m_card.path(m_card.songFolder(u"SONG001.BR0"_s)))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

// A record whose every byte is known, running past the 468 bytes the program reads.
QByteArray PatternedRecord(int length) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "OLDNAME", 3, "1.03");
    record.length = length;
    return record.patch(56, QByteArray(std::max(length - 56, 0), 'z')).bytes();
}

QByteArray WithName(QByteArray record, const QByteArray& name) {
    return record.replace(48, 8, name);
}

} // namespace

// Trimmed, padded, cut and Latin-1; every other byte is kept; 56 bytes are enough. The
// preferred record (any case) is written, the fallback left alone, nothing else created.
TEST_F(WriteSongNameTest, NameIsTrimmedPaddedCutAndLatin1AndTheRestIsKept) {
    const struct {
        const char* typed; // UTF-8
        QByteArray written;
    } cases[] = {{"AB", "AB      "},
                 {"  ABCDEFGHIJ \t", "ABCDEFGH"},
                 {"", "        "},
                 {"A  B", "A  B    "},
                 {"Caf\xC3\xA9 \xE2\x82\xAC!", "Caf\xE9 ?! "}};
    const QByteArray other = PatternedRecord(500);
    ASSERT_TRUE(m_card.writeSongFile(u"SONG001.BR0"_s, u"SONGINFO.BR0"_s, other));
    for (const int length : {600, 56}) {
        const QByteArray before = PatternedRecord(length);
        setUpSong(before, u"SONGINF2.BR0"_s);
        for (const auto& c : cases) {
            EXPECT_TRUE(m_info.WriteSongName(QString::fromUtf8(c.typed))) << c.typed;
            EXPECT_EQ(record(u"SONGINF2.BR0"_s), WithName(before, c.written)) << c.typed << length;
        }
    }
    EXPECT_EQ(record(u"SONGINFO.BR0"_s), other);
    EXPECT_EQ(songFolderEntries(), QStringList({u"SONGINF2.BR0"_s, u"SONGINFO.BR0"_s}));
    load();
    EXPECT_EQ(m_info.songs()[0].name, QString::fromUtf8("Caf\xC3\xA9 ?! "));
}

// Too short a record, one removed after loading, none, or a folder in its place: failure, and
// nothing is written or created.
TEST_F(WriteSongNameTest, NoUsableRecordReportsFailureAndWritesNothing) {
    for (int length : {55, 0}) {
        const QByteArray before = PatternedRecord(length);
        setUpSong(before);
        EXPECT_FALSE(m_info.WriteSongName(u"AB"_s)) << length;
        EXPECT_EQ(record(), before) << length;
    }
    ASSERT_TRUE(QFile::remove(m_card.path(songFile())));
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    ASSERT_TRUE(m_card.writeSongSizedFile(u"SONG001.BR0"_s, u"TAKE.BR0"_s, 10));
    load();
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    ASSERT_TRUE(m_card.makeFolder(songFile()));
    load();
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    EXPECT_EQ(songFolderEntries(), QStringList({u"TAKE.BR0"_s, u"songinf2.br0"_s}));
}

// With no current song there is no song path: nothing relative to the card root or to the
// working folder may be touched.
TEST_F(WriteSongNameTest, NoCurrentSongWritesNothing) {
    const QByteArray bytes = PatternedRecord(468);
    ASSERT_TRUE(m_card.writeFile(m_card.br0Folder() + u"/songinf2.br0"_s, bytes));
    ASSERT_TRUE(m_card.writeFile(u"songinf2.br0"_s, bytes));
    const QString savedCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_temp.path()));
    load();
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    EXPECT_FALSE(SOV_Info().WriteSongName(u"AB"_s));
    QDir::setCurrent(savedCurrent);
    EXPECT_EQ(m_card.readFile(u"songinf2.br0"_s), bytes);
    EXPECT_EQ(m_card.readFile(m_card.br0Folder() + u"/songinf2.br0"_s), bytes);
}

// Root may write any file, so a read-only record is checked in a child process that gives
// up root first; without root the current process checks it directly.
TEST_F(WriteSongNameTest, ReadOnlyRecordReportsFailureAndIsUnchanged) {
    const QByteArray before = PatternedRecord(468);
    setUpSong(before);
    ASSERT_EQ(::chmod(QFile::encodeName(m_card.path(songFile())).constData(), 0444), 0);
    if (!RunningAsRoot()) {
        EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    } else {
        ASSERT_EQ(::chmod(QFile::encodeName(m_temp.path()).constData(), 0755), 0);
        EXPECT_EXIT(
            {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    std::_Exit(3);
                std::_Exit(m_info.WriteSongName(u"AB"_s) ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "");
    }
    EXPECT_EQ(record(), before);
}
