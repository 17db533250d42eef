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

    SOV_Info m_info;
};

SongInfoRecord Record(const QByteArray& tag) {
    SongInfoRecord record;
    record.tag = tag;
    record.recordMode = 2;
    record.recordModeBR532 = 4;
    return record;
}

} // namespace

// Texts end at a zero byte and are Latin-1; the 7-byte tag is matched exactly; a BR-900 song
// with a SONGPRM.BR1 entry (even a folder) is a MICRO BR song; the BR-532 keeps its record
// mode at its own offset; songinf2.br0 is preferred to SONGINFO.BR0; short records read
// zeros; a song without a record keeps the defaults. Names are matched ignoring case.
TEST_F(CatalogueTest, RecordFieldsAreRead) {
    m_card.setBr0Folder(S("roland/br0"));
    SongInfoRecord full = SongInfoRecord::ForModel(RecorderModel::BR864, "MY SONG", 3, "1.03");
    full.protect = 0x40;
    addSong("SONG01.BR0", full, "SONGINF2.BR0");
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG01.BR0"), S("TRACK01.BR0"), 1'000'000));
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG01.BR0"), S("sub/.hidden"), 32));
    full.name = QByteArray("\xC4\xD6\0CDEFG", 8);
    full.version = QByteArray("1.0\0", 4);
    addSong("SONG02.BR0", full);
    const std::pair<const char*, const char*> tags[] = {{"SONG04.BR0", "BR-532 "},
                                                        {"SONG05.BR0", "BR-864 "},
                                                        {"song09.br0", "BR-900 "},
                                                        {"SONG12.BR0", "BR-900 "},
                                                        {"SONG13.BR0", "BR-864 "}};
    for (const auto& [folder, tag] : tags)
        addSong(folder, Record(tag));
    // A byte after the 7-byte tag is not part of it.
    ASSERT_TRUE(m_card.patchFile(m_card.songFolder(S("SONG05.BR0")) + S("/songinf2.br0"), 39, "Z"));
    ASSERT_TRUE(m_card.makeFolder(m_card.songFolder(S("SONG12.BR0")) + S("/SongPrm.Br1")));
    ASSERT_TRUE(m_card.writeSongFile(S("SONG13.BR0"), S("SONGPRM.BR1"), "p"));
    addSong("SONG14.BR0", SongInfoRecord::ForModel(RecorderModel::BR600, "NEW", 3));
    addSong("SONG14.BR0", SongInfoRecord::ForModel(RecorderModel::BR532, "OLD", 4), "SONGINFO.BR0");
    addSong("SONG16.BR0", SongInfoRecord::ForModel(RecorderModel::BR864, "OLD", 3), "songinfo.br0");
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG17.BR0"), S("TAKE.BR0"), 77));
    SongInfoRecord cut = SongInfoRecord::ForModel(RecorderModel::BR532, "LONGNAME", 4);
    cut.protect = 1;
    cut.length = 52; // ends inside the name
    addSong("SONG19.BR0", cut);
    QByteArray disk;
    for (int i = 0; i < 70; ++i)
        disk.append(static_cast<char>(i + 1));
    ASSERT_TRUE(m_card.writeDiskInfo(disk));
    load();
    EXPECT_EQ(m_info.songPath(), m_card.path(S("roland/br0/SONG01.BR0/")));
    // The disk record is its first 56 bytes.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(m_info.diskInfo().data()), 56),
              disk.left(56));
    const struct {
        const char* id;
        const char* name; // UTF-8
        RecorderModel model;
        int recordMode;
        bool isProtected;
        const char* version;
    } expected[] = {
        {"SONG01", "MY SONG ", RecorderModel::BR864, 3, true, "1.03"},
        {"SONG02", "\xC3\x84\xC3\x96", RecorderModel::BR864, 3, true, "1.0"},
        {"SONG04", "", RecorderModel::BR532, 4, false, "1.00"},
        {"SONG05", "", RecorderModel::BR864, 2, false, "1.00"},
        {"song09", "", RecorderModel::BR900, 2, false, "1.00"},
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
        EXPECT_EQ(item.name, QString::fromUtf8(e.name)) << e.id;
        EXPECT_EQ(item.model, e.model) << e.id;
        EXPECT_EQ(item.recordMode, e.recordMode) << e.id;
        EXPECT_EQ(item.isProtected, e.isProtected) << e.id;
        EXPECT_EQ(item.version, S(e.version)) << e.id;
    }
    EXPECT_EQ(song("SONG01").size, 1'000'000u + 468u + 32u);
    EXPECT_EQ(song("SONG17").size, 77u);
}

// Only visible entries named like songs are listed, ids trimmed, in the same order whatever
// the locale (lower case first only between ids otherwise equal); an ordinary file named
// like a song is a song without content. A song is selected by its exact id, a failed
// selection keeps the current song; a new folder or clearing replaces everything.
TEST_F(CatalogueTest, SongsAreListedInOneOrderAndSelectedByExactId) {
    int refreshes = 0;
    m_info.setMediaListRefresher([&refreshes](SOV_Info&) { ++refreshes; });
    for (const char* folder :
         {"SONG001.BR0", ".SONG002.BR0", "SONG003.BR1", "XSONG004.BR0", "SONG005.BR0.bak",
          "SONG.BR0", "SONG 7 .BR0", "song001.BR0", "SONG010.BR0", "Song003.BR0"})
        addSong(folder, SongInfoRecord());
    ASSERT_TRUE(m_card.addSongNamedFile(S(".hidden")));
    ASSERT_TRUE(m_card.addSongNamedFile(S("SONG008.BR0"), QByteArray(600, 'x')));
    const QStringList expected = {S("SONG"),    S("SONG 7"),  S("song001"), S("SONG001"),
                                  S("Song003"), S("SONG008"), S("SONG010")};
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        const ScopedDefaultLocale scoped(locale);
        m_info.LoadFolder(m_temp.path() + u'/'); // a trailing separator given is not doubled
        QStringList ids;
        for (const SongListItem& item : m_info.songs())
            ids.append(item.songId);
        EXPECT_EQ(ids, expected) << locale.name().toStdString();
    }
    EXPECT_EQ(m_info.songPath(), m_temp.path() + S("/Roland/BR0/SONG.BR0/"));
    EXPECT_FALSE(SongIdLess(S("SONG001"), S("SONG001")));
    EXPECT_EQ(song("SONG 7").folderName, S("SONG 7 .BR0"));
    EXPECT_EQ(song("SONG008").size, 0u);
    EXPECT_EQ(song("SONG008").model, RecorderModel::None);
    EXPECT_TRUE(m_info.SelectSong(S("Song003")));
    for (const char* id : {"SONG003", "", "Song003.BR0"})
        EXPECT_FALSE(m_info.SelectSong(S(id))) << id;
    EXPECT_EQ(m_info.currentIndex(), 4);
    EXPECT_EQ(m_info.songPath(), m_info.br0Path() + S("Song003.BR0/"));
    // A folder without a song area: no songs, but the media lists are still loaded.
    TempFolder empty;
    m_info.LoadFolder(empty.path());
    EXPECT_TRUE(m_info.songPath().isEmpty());
    EXPECT_EQ(m_info.rootPath(), empty.path() + u'/');
    EXPECT_EQ(refreshes, 4);
    load();
    m_info.ClearCatalogue();
    EXPECT_TRUE(m_info.songs().empty());
    EXPECT_TRUE(m_info.songPath().isEmpty());
}

// The current song's arrangements, patterns and effects are read when it is selected, under
// either name; a MICRO BR song shows none of them, a BR-532 song no effects; a song without
// files keeps nothing of the last one.
TEST_F(CatalogueTest, SelectedSongFilesAreShown) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    addSong(u"SONG002.BR0"_s, RecorderModel::MicroBR);
    addSong(u"SONG003.BR0"_s, RecorderModel::BR532);
    addSong(u"SONG004.BR0"_s, RecorderModel::BR80);
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
    load();
    const ArrangementView view = ShowArrangement(m_info, 1);
    EXPECT_EQ(view.captions[1], u"S02 - SECOND"_s);
    EXPECT_EQ(view.drumKitItem, 3);
    EXPECT_EQ(view.rows[0][3], u"S001: MYBEAT"_s);
    EXPECT_EQ(ShowEffects(m_info).banks[1].rows[0][1], u"VOX"_s);
    ASSERT_TRUE(m_info.SelectSong(u"SONG002"_s)); // MICRO BR: all blank
    EXPECT_TRUE(ArrangementViewBlank(m_info));
    EXPECT_FALSE(ShowArrangement(m_info, 0).shown);
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], QString());
    EXPECT_FALSE(ShowEffects(m_info).shown);
    ASSERT_TRUE(m_info.SelectSong(u"SONG003"_s)); // BR-532: no effects
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], u"MYBEAT"_s);
    EXPECT_EQ(ShowEffects(m_info).banks[1].rows[0][1], QString());
    ASSERT_TRUE(m_info.SelectSong(u"SONG004"_s));
    EXPECT_FALSE(m_info.effectsLoaded());
    EXPECT_EQ(ShowArrangement(m_info, 0).captions[0], u"S01 - "_s);
    EXPECT_TRUE(ShowArrangement(m_info, 0).rows[0].join(QString()).isEmpty());
    EXPECT_EQ(ShowPatterns(m_info).rows[0][1], QString());
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

} // namespace

// Trimmed, padded, cut and Latin-1; every other byte is kept; 56 bytes are enough. The
// preferred record (any case) is written, the fallback left alone, nothing else created.
TEST_F(WriteSongNameTest, NameIsTrimmedPaddedCutAndLatin1AndTheRestIsKept) {
    const std::pair<const char*, QByteArray> cases[] = {
        {"  ABCDEFGHIJ \t", "ABCDEFGH"},
        {"", "        "},
        {"A  B", "A  B    "},
        {"Caf\xC3\xA9 \xE2\x82\xAC!", "Caf\xE9 ?! "}};
    const QByteArray other = PatternedRecord(500);
    ASSERT_TRUE(m_card.writeSongFile(u"SONG001.BR0"_s, u"SONGINFO.BR0"_s, other));
    for (const int length : {600, 56}) {
        const QByteArray before = PatternedRecord(length);
        setUpSong(before, u"SONGINF2.BR0"_s);
        for (const auto& [typed, written] : cases) {
            EXPECT_TRUE(m_info.WriteSongName(QString::fromUtf8(typed))) << typed;
            EXPECT_EQ(record(u"SONGINF2.BR0"_s), QByteArray(before).replace(48, 8, written))
                << typed << length;
        }
    }
    EXPECT_EQ(record(u"SONGINFO.BR0"_s), other);
    EXPECT_EQ(songFolderEntries(), QStringList({u"SONGINF2.BR0"_s, u"SONGINFO.BR0"_s}));
    load();
    EXPECT_EQ(m_info.songs()[0].name, QString::fromUtf8("Caf\xC3\xA9 ?! "));
}

// Too short a record, one removed after loading, none, or a folder in its place; no current
// song (nothing relative to the card root or the working folder may be touched): failure,
// and nothing is written or created.
TEST_F(WriteSongNameTest, NoUsableRecordReportsFailureAndWritesNothing) {
    const QByteArray before = PatternedRecord(55);
    setUpSong(before);
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    EXPECT_EQ(record(), before);
    ASSERT_TRUE(QFile::remove(m_card.path(songFile())));
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    ASSERT_TRUE(m_card.writeSongSizedFile(u"SONG001.BR0"_s, u"TAKE.BR0"_s, 10));
    ASSERT_TRUE(m_card.makeFolder(songFile()));
    load();
    EXPECT_FALSE(m_info.WriteSongName(u"AB"_s));
    EXPECT_EQ(songFolderEntries(), QStringList({u"TAKE.BR0"_s, u"songinf2.br0"_s}));

    const QByteArray bytes = PatternedRecord(468);
    ASSERT_TRUE(m_card.writeFile(m_card.br0Folder() + u"/songinf2.br0"_s, bytes));
    ASSERT_TRUE(m_card.writeFile(u"songinf2.br0"_s, bytes));
    const QString savedCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_temp.path()));
    m_info.ClearCatalogue();
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
