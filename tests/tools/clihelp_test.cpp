#include "support/cardtest.h"
#include "tools/runprogram.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

RunResult Cli(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, args);
}

// The usage lines ("sorvane-cli songs FOLDER") of a usage or help text.
QStringList UsageLines(const QByteArray& text) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text).split(u'\n')) {
        if (line.startsWith(u"  sorvane-cli "_s))
            lines.append(line.trimmed());
    }
    return lines;
}

// A usage line or a manual request line without blanks, quotes, font escapes and request
// name, "\-" read as "-": the two then compare whatever the manual's quoting.
QString Squeezed(QString line) {
    static const QRegularExpression noise(uR"(^\.BI? |\s|"|\\f[BIRP])"_s);
    return line.remove(noise).replace(u"\\-"_s, u"-"_s);
}

using CliArgumentsTest = CardRootTest;

} // namespace

// Every command the program has is in the manual's synopsis with the same usage line, and
// the help of one command repeats its line from the full help.
TEST(CliHelpTest, HelpAndManualAgreeOnEveryCommand) {
    const RunResult all = Cli({u"--help"_s});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_TRUE(all.err.isEmpty());
    const QStringList usage = UsageLines(all.out);
    ASSERT_GE(usage.size(), 5);
    EXPECT_TRUE(std::is_sorted(usage.begin(), usage.end()));
    EXPECT_EQ(UsageLines(Cli({u"help"_s}).out), usage);

    const QString manual =
        QString::fromUtf8(ReadWholeFile(QString::fromUtf8(SORVANE_MANPAGE_PATH)));
    QStringList synopsis;
    for (const QString& line :
         manual.section(u".SH SYNOPSIS\n"_s, 1).section(u"\n.SH"_s, 0, 0).split(u'\n'))
        synopsis.append(Squeezed(line));
    for (const QString& line : usage) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(synopsis.contains(Squeezed(line)));
        const QString name = line.section(u' ', 1, 1);
        for (const QStringList& args :
             {QStringList{u"help"_s, name}, QStringList{name, u"--help"_s}}) {
            const RunResult one = Cli(args);
            EXPECT_EQ(one.exitCode, 0);
            EXPECT_EQ(UsageLines(one.out), QStringList{line});
        }
    }
}

// Bad arguments give the usage and exit 2; input that is missing or not a folder is named and
// exits 1; a copy into its own source is refused. Nothing goes to standard output.
TEST_F(CliArgumentsTest, ExitCodesForBadArgumentsAndMissingInput) {
    addSong(u"SONG001.BR0"_s, RecorderModel::BR864);
    ASSERT_TRUE(m_card.writeFile(u"file.txt"_s, "x"));
    ASSERT_TRUE(m_card.makeFolder(u"empty"_s));
    const QString card = m_card.root();
    const QString none = m_temp.path(u"no such folder"_s);
    const QString file = m_card.path(u"file.txt"_s);
    const QString bad = m_card.path(u"bad.mid"_s);
    const QString usage = u"  sorvane-cli songs FOLDER\n"_s;
    const std::tuple<QStringList, int, QString> cases[] = {
        {{}, 2, usage},
        {{u"nosuch"_s}, 2, usage},
        {{u"help"_s, u"nosuch"_s}, 2, usage},
        {{u"help"_s, u"songs"_s, u"song"_s}, 2, usage},
        {{u"songs"_s}, 2, usage},
        {{u"songs"_s, u"/a"_s, u"/b"_s}, 2, usage},
        {{u"songs"_s, QString()}, 2, usage},
        {{u"songs"_s, none}, 1, none},
        {{u"songs"_s, file}, 1, file},
        {{u"media"_s}, 2, usage},
        {{u"media"_s, u"/a"_s, u"/b"_s}, 2, usage},
        {{u"media"_s, QString()}, 2, usage},
        {{u"media"_s, none}, 1, none},
        {{u"media"_s, file}, 1, file},
        {{u"song"_s}, 2, usage},
        {{u"song"_s, u"/tmp"_s}, 2, usage},
        {{u"song"_s, u"/tmp"_s, u"A"_s, u"B"_s}, 2, usage},
        {{u"song"_s, none, u"SONG001"_s}, 1, none},
        {{u"song"_s, m_card.path(u"empty"_s), u"SONG001"_s}, 1, u"SONG001"_s},
        {{u"song"_s, card, u"SONG002"_s}, 1, u"SONG002"_s},
        {{u"backup"_s, card}, 2, usage},
        {{u"backup"_s, card, none, u"--force"_s}, 2, usage},
        {{u"restore"_s, card, none, u"--replace"_s}, 2, usage},
        {{u"backup"_s, card, card + u"/Roland/BR0"_s}, 1, u"lies inside the source folder"_s},
        {{u"restore"_s, none, card}, 1, u"does not exist"_s},
        {{u"play"_s}, 2, usage},
        {{u"play"_s, bad, u"--render"_s}, 2, usage},
        {{u"play"_s, bad, u"other"_s}, 2, usage},
    };
    for (const auto& [args, code, named] : cases) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, code) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(named)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(card + u"/Roland/BR0/Roland"_s));
}
