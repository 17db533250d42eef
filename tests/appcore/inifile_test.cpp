#include "app/core/inifile.h"
#include "support/cardtest.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// Writes `before` (unless null) to `path`, loads it, applies `change` and saves.
QByteArray Saved(const QString& path, const QByteArray& before,
                 const std::function<void(IniFile&)>& change) {
    QFile file(path);
    if (!before.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(before) < 0))
        return "cannot prepare";
    file.close();
    IniFile ini(path);
    ini.load();
    change(ini);
    return ini.save() ? ReadWholeFile(path) : QByteArray("save failed");
}

std::function<void(IniFile&)> SetA(int value) {
    return [value](IniFile& ini) { ini.writeInteger(u"P"_s, u"A"_s, value); };
}

} // namespace

TEST(IniInteger, DecimalHexadecimalAndRefusals) {
    const std::pair<const char*, int> accepted[] = {{"823", 823}, {"-12", -12},
                                                    {"0x1F", 31}, {"0X2a", 42},
                                                    {"$10", 16},  {"2147483647", 2147483647}};
    for (const auto& [text, expected] : accepted) {
        int value = 0;
        EXPECT_TRUE(ParseIniInteger(QString::fromLatin1(text), &value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    const char* refused[] = {"",     "abc", "12px",       "0x",          "$",   "0xG1",   "-$10",
                             "$-10", "1 2", "2147483648", "0x100000000", "1e3", "0x0x10", "-"};
    for (const char* text : refused) {
        int value = 77;
        EXPECT_FALSE(ParseIniInteger(QString::fromLatin1(text), &value)) << text;
        EXPECT_EQ(value, 77) << text;
    }
}

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    IniFile ini(u"unused"_s);
    ini.setContents("; settings\r\n[paths]\r\ndefaultdir = /home/me/BR backups \r\n"
                    "Count=$20\r\nBad=twelve\r\n[Other]\r\nDefaultDir=/elsewhere\r\n");
    EXPECT_EQ(ini.readString(u"Paths"_s, u"DefaultDir"_s, {}), u"/home/me/BR backups"_s);
    EXPECT_EQ(ini.readInteger(u"PATHS"_s, u"count"_s, 5), 32);
    EXPECT_EQ(ini.readInteger(u"Paths"_s, u"Bad"_s, 5), 5);
    EXPECT_EQ(ini.readInteger(u"Paths"_s, u"Missing"_s, -3), -3);
    EXPECT_EQ(ini.readString(u"None"_s, u"DefaultDir"_s, u"dflt"_s), u"dflt"_s);
    // A key of another section, or one commented out, is not found.
    ini.setContents("[A]\nKey=1\n;Hidden=2\n[B]\n");
    EXPECT_FALSE(ini.contains(u"B"_s, u"Key"_s));
    EXPECT_FALSE(ini.contains(u"A"_s, u"Hidden"_s));
    EXPECT_FALSE(ini.contains(u"A"_s, u";Hidden"_s));
    // Values are UTF-8, or else Latin-1.
    ini.setContents("\xEF\xBB\xBF[P]\nA=/home/J\xC3\xB6rg\nB=/home/J\xF6rg\n");
    EXPECT_EQ(ini.readString(u"P"_s, u"A"_s, {}), u"/home/J\u00F6rg"_s);
    EXPECT_EQ(ini.readString(u"P"_s, u"B"_s, {}), u"/home/J\u00F6rg"_s);
}

TEST(IniFile, ForeignLinesCommentsAndLineEndingsAreKept) {
    TempFolder temp;
    const QString path = temp.path(u"s.ini"_s);
    const QByteArray before = "; written by hand\r\n[Extra]\r\nColour = blue  \r\n[Paths]\n"
                              "  DefaultDir = /old\r\n# a note\r\nUnknown=keep me\r\n\r\n"
                              "[MainForm]\r\nTop=5";
    const QByteArray after = Saved(path, before, [](IniFile& ini) {
        ini.writeString(u"Paths"_s, u"DefaultDir"_s, u"/new"_s);
        ini.writeString(u"Paths"_s, u"WaveConverter"_s, u"/c/BRWC.exe"_s);
        ini.writeInteger(u"MainForm"_s, u"Top"_s, 7);
        ini.writeInteger(u"MainForm"_s, u"Left"_s, -4);
        // A line break cannot be stored: the value is refused.
        EXPECT_FALSE(ini.writeString(u"Paths"_s, u"DefaultDir"_s, u"/a\n[Evil]\nx=1"_s));
        EXPECT_FALSE(ini.writeString(u"Paths"_s, u"New"_s, u"a\rb"_s));
    });
    EXPECT_EQ(after, QByteArray("; written by hand\r\n[Extra]\r\nColour = blue  \r\n[Paths]\n"
                                "DefaultDir=/new\r\n# a note\r\nUnknown=keep me\r\n"
                                "WaveConverter=/c/BRWC.exe\r\n\r\n"
                                "[MainForm]\r\nTop=7\r\nLeft=-4\r\n"));
    // An unchanged file is written back byte for byte, whatever its line ends and odd lines.
    const QByteArray odd =
        "\xEF\xBB\xBF[A]\r\nx=1\n\n  ; odd = line\r\n[B]\nnoequals\r\ny = \xF6\xFF\n"
        "\r\r\n\n\r=v\n[]\n k = v \r\n[P]A=1\r[P";
    EXPECT_EQ(Saved(path, odd, [](IniFile&) {}), odd);
}

// The file is replaced through a temporary file that never stays behind; the permissions are
// kept, and a read-only file is not replaced.
TEST(IniFile, SaveReplacesAtomicallyKeepingPermissions) {
    TempFolder temp;
    const QString path = temp.path(u"s.ini"_s);
    ASSERT_EQ(Saved(path, "[P]\nA=1\n", [](IniFile&) {}), QByteArray("[P]\nA=1\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(Saved(path, QByteArray(), SetA(2)), QByteArray("[P]\nA=2\n"));
    EXPECT_EQ(QFile::permissions(path),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"s.ini"_s});
    if (RunningAsRoot())
        GTEST_SKIP() << "root may write any file";
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    EXPECT_EQ(Saved(path, QByteArray(), SetA(3)), QByteArray("save failed"));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[P]\nA=2\n"));
}

// A folder where the file should be, and a file where a folder should be.
TEST(IniFile, FailedSaveLeavesNothingBehind) {
    TempFolder temp;
    ASSERT_TRUE(QDir(temp.path()).mkdir(u"taken.ini"_s));
    QFile blocker(temp.path(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString& name : {u"taken.ini"_s, u"file/s.ini"_s}) {
        IniFile ini(temp.path(name));
        SetA(1)(ini);
        EXPECT_FALSE(ini.save()) << name.toStdString();
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"file"_s});
}
