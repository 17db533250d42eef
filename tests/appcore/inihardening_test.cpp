// The settings file against odd contents: other line ends, nodes instead of files, files far
// too large to be settings.

#include "app/core/inifile.h"
#include "app/core/settings.h"
#include "support/cardtest.h"
#include "support/finishes.h"

#include <QFile>
#include <sys/stat.h>

const QString kP = QStringLiteral("P");

// Every kind of line end ends a line; each line keeps its own ending when written back, and a
// new line takes the file's first ending. Whatever is read is written back byte for byte.
TEST(IniLineEnds, CrLfLfAndLoneCrAllEndLines) {
    struct Case {
        QByteArray before;
        QByteArray after; // with A set to 9 and New=1 added
    };
    const Case cases[] = {
        {"[P]\rA=1\rB=2\r", "[P]\rA=9\rB=2\rNew=1\r"},
        {"[P]\r\nA=1\r\nB=2", "[P]\r\nA=9\r\nB=2\r\nNew=1\r\n"},
        {"[P]\nA=1\rB=2\r\n;c\n", "[P]\nA=9\rB=2\r\nNew=1\n;c\n"},
        {"[P]\n;one\r;two\rA=1", "[P]\n;one\r;two\rA=9\nNew=1\n"},
        {"[Q]\rx=1\r\r\r", "[Q]\rx=1\r\r\r[P]\rA=9\rNew=1\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        IniFile ini(QStringLiteral("unused"));
        ini.setContents(c.before);
        EXPECT_EQ(ini.contents(), c.before);
        if (c.before.startsWith("[P]")) {
            EXPECT_EQ(ini.readInteger(kP, QStringLiteral("A"), 0), 1);
        }
        if (c.before.contains("B=2")) {
            EXPECT_EQ(ini.readInteger(kP, QStringLiteral("B"), 0), 2);
        }
        ini.writeInteger(kP, QStringLiteral("A"), 9);
        ini.writeInteger(kP, QStringLiteral("New"), 1);
        EXPECT_EQ(ini.contents(), c.after);
    }
    for (const QByteArray& bytes :
         {QByteArray("\r\r\n\n\r"), QByteArray("\xEF\xBB\xBF[P]\rA=\xF6\r\n"), QByteArray("[P"),
          QByteArray("=v\n[]\n k = v \r\n[P]A=1\r")}) {
        IniFile ini(QStringLiteral("unused"));
        ini.setContents(bytes);
        EXPECT_EQ(ini.contents(), bytes);
    }
}

TEST(IniOddFiles, NodeInsteadOfSettingsFileReadsAsDefaultsWithoutBlocking) {
    TempFolder temp;
    const QString fifo = temp.path(QStringLiteral("fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = temp.path(QStringLiteral("zero.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {fifo, zero}) {
        SCOPED_TRACE(path.toStdString());
        ExpectFinishesWithin(10, [&] {
            const SettingsFile settings(path);
            const SettingsFile::PathSettings read = settings.loadPathSettings();
            const WindowPlacement current{0, 0, 0, 823, 0};
            const WindowPlacement placement = settings.readPlacement(current);
            // The node is not replaced by a file either.
            return read.top == kDefaultTopLeft && read.prefs.WaveConverter.isEmpty() &&
                   placement.width == 823 && settings.saveAtClose(Prefs{}, current).has_value();
        });
        EXPECT_FALSE(QFileInfo(path).isFile());
    }
}

// A file over 4 MB is not a settings file: defaults are used and it is never overwritten. One
// just within the limit is read and saved.
TEST(IniOddFiles, OversizedFileIsRefusedAndLeftAlone) {
    TempFolder temp;
    const QString path = temp.path(QStringLiteral("big.ini"));
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
    EXPECT_EQ(within.readInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 0), 33);
    within.writeInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), 44);
    EXPECT_TRUE(within.save());
}
