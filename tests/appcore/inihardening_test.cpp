// The settings file against odd contents: other line ends, nodes instead of files, files far
// too large to be settings.

#include "app/core/inifile.h"
#include "app/core/settings.h"
#include "support/cardtest.h"
#include "support/finishes.h"

#include <QFile>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

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
    QByteArray big = "[MainForm]\nTop=33\n" + QByteArray(IniFile::MaxBytes, '\n');
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(big), big.size());
    }
    const SettingsFile settings(path);
    EXPECT_EQ(settings.loadPathSettings().top, kDefaultTopLeft);
    EXPECT_TRUE(settings.saveAtClose(Prefs{}, WindowPlacement{}).has_value());
    EXPECT_TRUE(settings.saveAfterPreferences(Prefs{}, 1, 2).has_value());
    EXPECT_EQ(ReadWholeFile(path), big);

    ASSERT_TRUE(QFile::resize(path, IniFile::MaxBytes));
    IniFile within(path);
    within.load();
    EXPECT_FALSE(within.refused());
    EXPECT_EQ(within.readInteger(u"MainForm"_s, u"Top"_s, 0), 33);
    within.writeInteger(u"MainForm"_s, u"Top"_s, 44);
    EXPECT_TRUE(within.save());
}
