#include "card/sovinfo.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// A record whose every byte is known: a recorder record followed by a pattern, longer than
// the 468 bytes the program reads.
QByteArray PatternedRecord(int length) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "OLDNAME", 3, "1.03");
    QByteArray tail;
    for (int i = 56; i < length; ++i)
        tail.append(static_cast<char>((i * 7 + 1) & 0xFF));
    record.patch(56, tail);
    record.length = length;
    return record.bytes();
}

class WriteSongNameTest : public CardRootTest {
protected:
    QString songFile(const char* name) const {
        return m_card.songFolder(S("SONG001.BR0")) + u'/' + S(name);
    }

    // Writes the record and loads the card.
    void setUpSong(const QByteArray& record, const char* fileName = "songinf2.br0") {
        ASSERT_TRUE(m_card.writeSongFile(S("SONG001.BR0"), S(fileName), record));
        m_info.LoadFolder(m_temp.path());
        ASSERT_NE(m_info.currentSong(), nullptr);
    }

    QStringList songFolderEntries() const {
        return QDir(m_card.path(m_card.songFolder(S("SONG001.BR0"))))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    SOV_Info m_info;
};

QByteArray WithName(QByteArray record, const QByteArray& name) {
    record.replace(48, 8, name);
    return record;
}

} // namespace

TEST_F(WriteSongNameTest, NameIsTrimmedPaddedCutAndLatin1AndTheRestIsKept) {
    const struct {
        const char* typed; // UTF-8
        QByteArray written;
    } cases[] = {{"AB", "AB      "},
                 {"  ABCDEFGHIJ \t", "ABCDEFGH"},
                 {"", "        "},
                 {"A  B", "A  B    "},
                 {"Caf\xC3\xA9 \xE2\x82\xAC!", "Caf\xE9 ?! "}};
    const QByteArray before = PatternedRecord(600);
    setUpSong(before);
    for (const auto& c : cases) {
        EXPECT_TRUE(m_info.WriteSongName(QString::fromUtf8(c.typed))) << c.typed;
        EXPECT_EQ(m_card.readFile(songFile("songinf2.br0")), WithName(before, c.written))
            << c.typed;
    }
    m_info.LoadFolder(m_temp.path());
    ASSERT_EQ(m_info.songs().size(), 1u);
    EXPECT_EQ(m_info.songs()[0].name, QString::fromUtf8("Caf\xC3\xA9 ?! "));
    EXPECT_EQ(m_info.songs()[0].model, RecorderModel::BR864);
}

TEST_F(WriteSongNameTest, TheRecordThatWasReadIsWrittenInPlace) {
    // The preferred record wins over the fallback, which is left alone.
    const QByteArray preferred = PatternedRecord(468);
    const QByteArray other = PatternedRecord(500);
    ASSERT_TRUE(m_card.writeSongFile(S("SONG001.BR0"), S("SONGINFO.BR0"), other));
    setUpSong(preferred, "SONGINF2.BR0");
    EXPECT_TRUE(m_info.WriteSongName(S("NEW")));
    EXPECT_EQ(m_card.readFile(songFile("SONGINF2.BR0")), WithName(preferred, "NEW     "));
    EXPECT_EQ(m_card.readFile(songFile("SONGINFO.BR0")), other);
    EXPECT_EQ(songFolderEntries(), QStringList({S("SONGINF2.BR0"), S("SONGINFO.BR0")}));
    // Only the fallback.
    ASSERT_TRUE(QFile::remove(m_card.path(songFile("SONGINF2.BR0"))));
    setUpSong(other, "SONGINFO.BR0");
    EXPECT_TRUE(m_info.WriteSongName(S("NEW")));
    EXPECT_EQ(m_card.readFile(songFile("SONGINFO.BR0")), WithName(other, "NEW     "));
    EXPECT_EQ(songFolderEntries(), QStringList({S("SONGINFO.BR0")}));
}

TEST_F(WriteSongNameTest, RecordShorterThan56BytesIsRefusedAndUnchanged) {
    for (int length : {55, 50, 48, 0}) {
        const QByteArray before = PatternedRecord(length);
        setUpSong(before);
        EXPECT_FALSE(m_info.WriteSongName(S("AB"))) << length;
        EXPECT_EQ(m_card.readFile(songFile("songinf2.br0")), before) << length;
    }
    const QByteArray exact = PatternedRecord(56);
    setUpSong(exact);
    EXPECT_TRUE(m_info.WriteSongName(S("ABCDEFGHIJ")));
    EXPECT_EQ(m_card.readFile(songFile("songinf2.br0")), WithName(exact, "ABCDEFGH"));
}

TEST_F(WriteSongNameTest, MissingRecordReportsFailureAndCreatesNothing) {
    ASSERT_TRUE(m_card.writeSongSizedFile(S("SONG001.BR0"), S("TAKE.BR0"), 10));
    m_info.LoadFolder(m_temp.path());
    ASSERT_NE(m_info.currentSong(), nullptr);
    EXPECT_FALSE(m_info.WriteSongName(S("AB")));
    EXPECT_EQ(songFolderEntries(), QStringList({S("TAKE.BR0")}));
}

TEST_F(WriteSongNameTest, RecordThatIsAFolderReportsFailure) {
    ASSERT_TRUE(m_card.makeFolder(songFile("songinf2.br0")));
    m_info.LoadFolder(m_temp.path());
    ASSERT_NE(m_info.currentSong(), nullptr);
    EXPECT_FALSE(m_info.WriteSongName(S("AB")));
}

TEST_F(WriteSongNameTest, RecordRemovedAfterLoadingReportsFailure) {
    setUpSong(PatternedRecord(468));
    ASSERT_TRUE(QFile::remove(m_card.path(songFile("songinf2.br0"))));
    EXPECT_FALSE(m_info.WriteSongName(S("AB")));
    EXPECT_TRUE(songFolderEntries().isEmpty());
}

TEST_F(WriteSongNameTest, NoCurrentSongWritesNothing) {
    // With no current song there is no song path: nothing relative to the card root or to
    // the working folder may be touched.
    const QByteArray record = PatternedRecord(468);
    ASSERT_TRUE(m_card.makeFolder(m_card.br0Folder()));
    ASSERT_TRUE(m_card.writeFile(S("songinf2.br0"), record));
    const QString savedCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_temp.path()));
    m_info.LoadFolder(m_temp.path());
    EXPECT_FALSE(m_info.WriteSongName(S("AB")));
    SOV_Info fresh;
    EXPECT_FALSE(fresh.WriteSongName(S("AB")));
    QDir::setCurrent(savedCurrent);
    EXPECT_EQ(m_info.currentSong(), nullptr);
    EXPECT_EQ(m_card.readFile(S("songinf2.br0")), record);
}

// Root may write any file, so a read-only record is checked in a child process that gives
// up root first; without root the current process checks it directly.
TEST_F(WriteSongNameTest, ReadOnlyRecordReportsFailureAndIsUnchanged) {
    const QByteArray before = PatternedRecord(468);
    setUpSong(before);
    const QByteArray path = QFile::encodeName(m_card.path(songFile("songinf2.br0")));
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    if (!RunningAsRoot()) {
        EXPECT_FALSE(m_info.WriteSongName(S("AB")));
    } else {
        ASSERT_EQ(::chmod(QFile::encodeName(m_temp.path()).constData(), 0755), 0);
        EXPECT_EXIT(
            {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    std::_Exit(3);
                std::_Exit(m_info.WriteSongName(S("AB")) ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "");
    }
    EXPECT_EQ(m_card.readFile(songFile("songinf2.br0")), before);
}
