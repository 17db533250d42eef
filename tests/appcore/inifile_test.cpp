#include "app/core/inifile.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>
#include <utility>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QByteArray Saved(const QString& path, const QByteArray& before,
                 const std::function<void(IniFile&)>& change) {
    QFile file(path);
    if (!before.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(before) < 0)) {
        return "cannot prepare";
    }
    file.close();
    IniFile ini(path);
    ini.load();
    change(ini);
    return ini.save() ? ReadWholeFile(path) : QByteArray("save failed");
}

} // namespace

TEST(IniInteger, DecimalAndHexadecimal) {
    const std::pair<const char*, int> cases[] = {{"823", 823}, {"-12", -12},
                                                 {"0x1F", 31}, {"0X2a", 42},
                                                 {"$10", 16},  {"2147483647", 2147483647}};
    for (const auto& [text, expected] : cases) {
        int value = 0;
        EXPECT_TRUE(ParseIniInteger(QString::fromLatin1(text), &value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
}

TEST(IniInteger, AnythingElseIsRefused) {
    const QStringList refused{QString(),
                              QStringLiteral("abc"),
                              QStringLiteral("12px"),
                              QStringLiteral("0x"),
                              QStringLiteral("$"),
                              QStringLiteral("0xG1"),
                              QStringLiteral("-$10"),
                              QStringLiteral("$-10"),
                              QStringLiteral("1 2"),
                              QStringLiteral("2147483648"),
                              QStringLiteral("0x100000000"),
                              QStringLiteral("1e3"),
                              QStringLiteral("0x0x10"),
                              QStringLiteral("-")};
    for (const QString& text : refused) {
        int value = 77;
        EXPECT_FALSE(ParseIniInteger(text, &value)) << text.toStdString();
        EXPECT_EQ(value, 77) << text.toStdString();
    }
}

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    IniFile ini(QStringLiteral("unused"));
    ini.setContents("; settings\r\n[paths]\r\ndefaultdir = /home/me/BR backups \r\n"
                    "Count=$20\r\nBad=twelve\r\n[Other]\r\nDefaultDir=/elsewhere\r\n");
    EXPECT_EQ(ini.readString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"), {}),
              QStringLiteral("/home/me/BR backups"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("PATHS"), QStringLiteral("count"), 5), 32);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Paths"), QStringLiteral("Bad"), 5), 5);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Paths"), QStringLiteral("Missing"), -3), -3);
    EXPECT_EQ(ini.readString(QStringLiteral("Other"), QStringLiteral("DefaultDir"), {}),
              QStringLiteral("/elsewhere"));
    EXPECT_EQ(ini.readString(QStringLiteral("None"), QStringLiteral("DefaultDir"),
                             QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    // A key of another section, or one commented out, is not found.
    ini.setContents("[A]\nKey=1\n;Hidden=2\n[B]\n");
    EXPECT_FALSE(ini.contains(QStringLiteral("B"), QStringLiteral("Key")));
    EXPECT_FALSE(ini.contains(QStringLiteral("A"), QStringLiteral("Hidden")));
    EXPECT_FALSE(ini.contains(QStringLiteral("A"), QStringLiteral(";Hidden")));
}

TEST(IniFile, ValuesAreUtf8OrElseLatin1) {
    IniFile ini(QStringLiteral("unused"));
    ini.setContents("\xEF\xBB\xBF[P]\nA=/home/J\xC3\xB6rg\nB=/home/J\xF6rg\n");
    EXPECT_EQ(ini.readString(QStringLiteral("P"), QStringLiteral("A"), {}),
              QStringLiteral("/home/J\u00F6rg"));
    EXPECT_EQ(ini.readString(QStringLiteral("P"), QStringLiteral("B"), {}),
              QStringLiteral("/home/J\u00F6rg"));
}

TEST(IniFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("sub/dir/sorvane.ini"));
    IniFile ini(path);
    ini.load();
    EXPECT_TRUE(ini.contents().isEmpty());
    ini.writeString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"), QStringLiteral("/x"));
    ini.writeInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 10);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[Paths]\nDefaultDir=/x\n\n[MainForm]\nTop=10\n"));
}

TEST(IniFile, ForeignLinesCommentsAndLineEndingsAreKept) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("s.ini"));
    const QByteArray before = "; written by hand\r\n"
                              "[Extra]\r\n"
                              "Colour = blue  \r\n"
                              "[Paths]\n"
                              "  DefaultDir = /old\r\n"
                              "# a note\r\n"
                              "Unknown=keep me\r\n"
                              "\r\n"
                              "[MainForm]\r\n"
                              "Top=5";
    const QByteArray after = Saved(path, before, [](IniFile& ini) {
        ini.writeString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"),
                        QStringLiteral("/new"));
        ini.writeString(QStringLiteral("Paths"), QStringLiteral("WaveConverter"),
                        QStringLiteral("/c/BRWC.exe"));
        ini.writeInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 7);
        ini.writeInteger(QStringLiteral("MainForm"), QStringLiteral("Left"), -4);
    });
    EXPECT_EQ(after, QByteArray("; written by hand\r\n"
                                "[Extra]\r\n"
                                "Colour = blue  \r\n"
                                "[Paths]\n"
                                "DefaultDir=/new\r\n"
                                "# a note\r\n"
                                "Unknown=keep me\r\n"
                                "WaveConverter=/c/BRWC.exe\r\n"
                                "\r\n"
                                "[MainForm]\r\n"
                                "Top=7\r\n"
                                "Left=-4\r\n"));
}

TEST(IniFile, UnchangedFileIsWrittenBackByteForByte) {
    TempFolder temp;
    const QByteArray before = "[A]\r\nx=1\n\n  ; odd = line\r\n[B]\nnoequals\r\ny = \xF6\xFF\n";
    EXPECT_EQ(Saved(temp.path(QStringLiteral("s.ini")), before, [](IniFile&) {}), before);
}

TEST(IniFile, LineBreakInValueIsRefused) {
    IniFile ini(QStringLiteral("unused"));
    ini.setContents("[Paths]\nDefaultDir=/a\n");
    EXPECT_FALSE(ini.writeString(QStringLiteral("Paths"), QStringLiteral("DefaultDir"),
                                 QStringLiteral("/a\n[Evil]\nx=1")));
    EXPECT_FALSE(
        ini.writeString(QStringLiteral("Paths"), QStringLiteral("New"), QStringLiteral("a\rb")));
    EXPECT_EQ(ini.contents(), QByteArray("[Paths]\nDefaultDir=/a\n"));
}

TEST(IniFile, SaveReplacesAtomicallyAndKeepsPermissions) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("s.ini"));
    ASSERT_EQ(Saved(path, "[P]\nA=1\n", [](IniFile&) {}), QByteArray("[P]\nA=1\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(
        Saved(path, QByteArray(),
              [](IniFile& ini) { ini.writeInteger(QStringLiteral("P"), QStringLiteral("A"), 2); }),
        QByteArray("[P]\nA=2\n"));
    EXPECT_EQ(QFile::permissions(path),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    // Only the file itself is left in the folder: no temporary file stays behind.
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("s.ini")});
}

TEST(IniFile, FailedSaveLeavesNothingBehind) {
    TempFolder temp;
    // A folder where the file should be, and a file where a folder should be.
    ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("taken.ini")));
    IniFile folderInTheWay(temp.path(QStringLiteral("taken.ini")));
    folderInTheWay.writeInteger(QStringLiteral("P"), QStringLiteral("A"), 1);
    EXPECT_FALSE(folderInTheWay.save());

    QFile blocker(temp.path(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniFile underAFile(temp.path(QStringLiteral("file/s.ini")));
    underAFile.writeInteger(QStringLiteral("P"), QStringLiteral("A"), 1);
    EXPECT_FALSE(underAFile.save());
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("file")});
}

TEST(IniFile, ReadOnlyFileIsNotReplaced) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root may write any file";
    }
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("s.ini"));
    ASSERT_EQ(Saved(path, "[P]\nA=1\n", [](IniFile&) {}), QByteArray("[P]\nA=1\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    IniFile ini(path);
    ini.load();
    ini.writeInteger(QStringLiteral("P"), QStringLiteral("A"), 2);
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[P]\nA=1\n"));
}

TEST(IniWriteError, MessageNamesTheFile) {
    EXPECT_EQ(IniWriteError(QStringLiteral("/opt/sorvane/sorvane.ini")).message(),
              QStringLiteral("Unable to write to /opt/sorvane/sorvane.ini"));
}
