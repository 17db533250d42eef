// The settings file format: reading, writing back what is not changed byte for byte, atomic
// saves, and odd contents: other line ends, nodes instead of files, files far too large to be
// settings.

#include "app/core/inifile.h"
#include "app/core/settings.h"
#include "support/cardtest.h"
#include "support/finishes.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Writes `before` (unless null) to `path`, loads it, applies `change` and saves.
QByteArray Saved(const QString& path, const QByteArray& before,
                 const std::function<void(IniFile&)>& change) {
    const QFileInfo info(path);
    if (!before.isNull() && !CardFixture(info.path()).writeFile(info.fileName(), before))
        return "cannot prepare";
    IniFile ini(path);
    ini.load();
    change(ini);
    return ini.save() ? ReadWholeFile(path) : QByteArray("save failed");
}

std::function<void(IniFile&)> SetA(int value) {
    return [value](IniFile& ini) { ini.writeInteger(u"P"_s, u"A"_s, value); };
}

} // namespace

// Decimal, or hexadecimal after "0x", "0X" or "$", within 32 bits; anything else is refused
// and leaves the value alone.
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
    const QByteArray before =
        "; by hand\r\n[Paths]\n  DefaultDir = /old\r\nUnknown=keep me\r\n\r\n[MainForm]\r\nTop=5";
    const QByteArray after = Saved(path, before, [](IniFile& ini) {
        ini.writeString(u"Paths"_s, u"DefaultDir"_s, u"/new"_s);
        ini.writeString(u"Paths"_s, u"WaveConverter"_s, u"/c/BRWC.exe"_s);
        ini.writeInteger(u"MainForm"_s, u"Top"_s, 7);
        ini.writeInteger(u"MainForm"_s, u"Left"_s, -4);
        // A line break (here a lone CR; settings check LF) cannot be stored: the value is refused.
        EXPECT_FALSE(ini.writeString(u"Paths"_s, u"New"_s, u"a\rb"_s));
    });
    EXPECT_EQ(after,
              QByteArray("; by hand\r\n[Paths]\nDefaultDir=/new\r\nUnknown=keep me\r\n"
                         "WaveConverter=/c/BRWC.exe\r\n\r\n[MainForm]\r\nTop=7\r\nLeft=-4\r\n"));
    // An unchanged file is written back byte for byte, whatever its line ends and odd lines.
    const QByteArray odd =
        "\xEF\xBB\xBF[A]\r\nx=1\n\n  ; odd = line\r\n[B]\nnoequals\r\ny = \xF6\xFF\n"
        "\r\r\n\n\r=v\n[]\n k = v \r\n[P]A=1\r[P";
    EXPECT_EQ(Saved(path, odd, [](IniFile&) {}), odd);
}

// The file is replaced through a temporary file that never stays behind, keeping its
// permissions. A read-only file, a folder where the file should be and a file where a folder
// should be make the save fail and are left as they were.
TEST(IniFile, SaveReplacesAtomicallyOrFailsLeavingNothingBehind) {
    TempFolder temp;
    const QString path = temp.path(u"s.ini"_s);
    ASSERT_EQ(Saved(path, "[P]\nA=1\n", [](IniFile&) {}), QByteArray("[P]\nA=1\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(Saved(path, QByteArray(), SetA(2)), QByteArray("[P]\nA=2\n"));
    EXPECT_EQ(QFile::permissions(path),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    ASSERT_TRUE(QDir(temp.path()).mkdir(u"taken.ini"_s));
    EXPECT_EQ(Saved(temp.path(u"taken.ini"_s), QByteArray(), SetA(1)), QByteArray("save failed"));
    EXPECT_EQ(Saved(temp.path(u"s.ini/s.ini"_s), QByteArray(), SetA(1)), QByteArray("save failed"));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"s.ini"_s});
    if (RunningAsRoot())
        GTEST_SKIP() << "root may write any file";
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    EXPECT_EQ(Saved(path, QByteArray(), SetA(3)), QByteArray("save failed"));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("[P]\nA=2\n"));
}

// Every kind of line end ends a line; each line keeps its own ending when written back, and a
// new line takes the file's first ending. Whatever is read is written back byte for byte.
TEST(IniLineEnds, CrLfLfAndLoneCrAllEndLines) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        // Before, and after A is set to 9 and New=1 added.
        {"[P]\rA=1\rB=2\r", "[P]\rA=9\rB=2\rNew=1\r"},
        {"[P]\r\nA=1\r\nB=2", "[P]\r\nA=9\r\nB=2\r\nNew=1\r\n"},
        {"[P]\nA=1\rB=2\r\n;c\n", "[P]\nA=9\rB=2\r\nNew=1\n;c\n"},
        {"[P]\n;one\r;two\rA=1", "[P]\n;one\r;two\rA=9\nNew=1\n"},
        {"[Q]\rx=1\r\r\r", "[Q]\rx=1\r\r\r[P]\rA=9\rNew=1\r"},
    };
    for (const auto& [before, after] : cases) {
        IniFile ini(u"unused"_s);
        ini.setContents(before);
        EXPECT_EQ(ini.contents(), before);
        ini.writeInteger(u"P"_s, u"A"_s, 9);
        ini.writeInteger(u"P"_s, u"New"_s, 1);
        EXPECT_EQ(ini.contents(), after) << before.toStdString();
    }
}

TEST(IniOddFiles, NodeInsteadOfSettingsFileReadsAsDefaultsWithoutBlocking) {
    TempFolder temp;
    const QString fifo = temp.path(u"fifo.ini"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = temp.path(u"zero.ini"_s);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, zero));
    for (const QString& path : {fifo, zero}) {
        SCOPED_TRACE(path.toStdString());
        ExpectFinishesWithin(10, [&] {
            const SettingsFile settings(path);
            const WindowPlacement current{0, 0, 0, 823, 0};
            // The node is not replaced by a file either.
            return settings.loadPathSettings().top == kDefaultTopLeft &&
                   settings.readPlacement(current).width == 823 &&
                   settings.saveAtClose(Prefs{}, current).has_value();
        });
        EXPECT_FALSE(QFileInfo(path).isFile());
    }
}

// A file over 4 MB is not a settings file: defaults are used and it is never overwritten. One
// just within the limit is read and saved.
TEST(IniOddFiles, OversizedFileIsRefusedAndLeftAlone) {
    TempFolder temp;
    const QString path = temp.path(u"big.ini"_s);
    const QByteArray big = "[MainForm]\nTop=33\n" + QByteArray(IniFile::MaxBytes, '\n');
    ASSERT_TRUE(CardFixture(temp.path()).writeFile(u"big.ini"_s, big));
    const SettingsFile settings(path);
    EXPECT_EQ(settings.loadPathSettings().top, kDefaultTopLeft);
    EXPECT_TRUE(settings.saveAtClose(Prefs{}, WindowPlacement{}).has_value());
    EXPECT_TRUE(settings.saveAfterPreferences(Prefs{}, 1, 2).has_value());
    EXPECT_EQ(ReadWholeFile(path), big);

    ASSERT_TRUE(QFile::resize(path, IniFile::MaxBytes));
    IniFile within(path);
    within.load();
    EXPECT_EQ(within.readInteger(u"MainForm"_s, u"Top"_s, 0), 33);
    within.writeInteger(u"MainForm"_s, u"Top"_s, 44);
    EXPECT_TRUE(within.save());
}
