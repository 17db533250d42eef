#include "support/cardtest.h"
#include "transfer/brwcini.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

const BrwcSettings kSong1{u'Z', QStringLiteral("Song 1"),
                          QStringLiteral("Z:\\home\\ana\\Backups\\Song 1")};

} // namespace

TEST(BrwcIni, NewFileHoldsTheThreeEntriesInOrder) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("BRWC.ini"));
    EXPECT_FALSE(WriteBrwcIni(path, kSong1));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[Preference]\n"
                                              "BRWCDriveLetter=Z\n"
                                              "\n"
                                              "[Preferece]\n"
                                              "File=Song 1\n"
                                              "Directory=Z:\\home\\ana\\Backups\\Song 1\n"));
    // An empty song list: "File" is written empty.
    EXPECT_FALSE(WriteBrwcIni(path, {u'Y', QString(), QStringLiteral("Y:\\")}));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[Preference]\n"
                                              "BRWCDriveLetter=Y\n"
                                              "\n"
                                              "[Preferece]\n"
                                              "File=\n"
                                              "Directory=Y:\\\n"));
}

TEST(BrwcIni, ForeignEntriesCommentsAndLineEndingsAreKept) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("BRWC.ini"));
    WriteFile(path, "; written by the converter\r\n"
                    "[Preference]\r\n"
                    "Language=1\r\n"
                    "BRWCDriveLetter=Q\r\n"
                    "[Window]\r\n"
                    "Left=20\r\n"
                    "[Preferece]\r\n"
                    "directory=C:\\old\r\n"
                    "Format=24\r\n");
    EXPECT_FALSE(WriteBrwcIni(path, kSong1));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("; written by the converter\r\n"
                                              "[Preference]\r\n"
                                              "Language=1\r\n"
                                              "BRWCDriveLetter=Z\r\n"
                                              "[Window]\r\n"
                                              "Left=20\r\n"
                                              "[Preferece]\r\n"
                                              "directory=Z:\\home\\ana\\Backups\\Song 1\r\n"
                                              "Format=24\r\n"
                                              "File=Song 1\r\n"));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("BRWC.ini")});
}

TEST(BrwcIni, FailedWritesNameTheFileAndChangeNothing) {
    TempFolder temp;
    // A folder in the file's place cannot be replaced.
    const QString blocked = temp.path(QStringLiteral("blocked/BRWC.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    const auto error = WriteBrwcIni(blocked, kSong1);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), QStringLiteral("Unable to write to ") + blocked);
    EXPECT_TRUE(QDir(blocked).isEmpty());

    // A folder name holding a line break cannot be stored in the file.
    const QString path = temp.path(QStringLiteral("BRWC.ini"));
    WriteFile(path, "[Preferece]\nFile=old\n");
    const auto broken =
        WriteBrwcIni(path, {u'Z', QStringLiteral("Song 1"), QStringLiteral("Z:\\a\nb")});
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->path(), path);
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[Preferece]\nFile=old\n"));
}

TEST(BrwcIni, FileBesideTheConverterInAnyCase) {
    TempFolder temp;
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("conv"))));
    const QString converter = temp.path(QStringLiteral("conv/BRWaveConverter.exe"));
    EXPECT_EQ(BrwcIniPath(converter), temp.path(QStringLiteral("conv/BRWC.ini")));
    WriteFile(temp.path(QStringLiteral("conv/brwc.INI")), "");
    EXPECT_EQ(BrwcIniPath(converter), temp.path(QStringLiteral("conv/brwc.INI")));
}
