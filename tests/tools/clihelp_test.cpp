#include "tools/runprogram.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

RunResult Cli(const QStringList& args) {
    return RunProgram(SORVANE_CLI_PATH, args);
}

// The usage lines ("sorvane-cli songs FOLDER") of a usage or help text.
QStringList UsageLines(const QByteArray& text) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text).split(u'\n')) {
        if (line.startsWith(S("  sorvane-cli ")))
            lines.append(line.trimmed());
    }
    return lines;
}

// A request line's text as the manual shows it: arguments unquoted, joined by blanks for
// ".B" and without for ".BI" (which alternates fonts), font escapes dropped, "\-" a hyphen.
QString ManLineText(const QString& line) {
    const qsizetype blank = line.indexOf(u' ');
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
    QStringList arguments;
    static const QRegularExpression argument(S(R"re("([^"]*)"|(\S+))re"));
    for (auto it = argument.globalMatch(rest); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        arguments.append(m.captured(1).isNull() ? m.captured(2) : m.captured(1));
    }
    QString text = arguments.join(line.startsWith(S(".BI ")) ? QString() : S(" "));
    text.remove(QRegularExpression(S(R"(\\f[BIRP])")));
    text.replace(S("\\-"), S("-"));
    return text;
}

// The lines of the manual's synopsis.
QStringList ManSynopsis() {
    QFile file(S(SORVANE_MANPAGE_PATH));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList synopsis;
    bool inside = false;
    for (const QString& line : lines) {
        if (line.startsWith(S(".SH")))
            inside = line == S(".SH SYNOPSIS");
        else if (inside && (line.startsWith(S(".B ")) || line.startsWith(S(".BI "))))
            synopsis.append(ManLineText(line));
    }
    return synopsis;
}

} // namespace

// Every command the program has is in the manual with the same usage line, and the help
// of one command repeats its line from the full help.
TEST(CliHelpTest, HelpAndManualAgreeOnEveryCommand) {
    const RunResult all = Cli({S("--help")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_TRUE(all.err.isEmpty());
    const QStringList usage = UsageLines(all.out);
    ASSERT_GE(usage.size(), 5);
    EXPECT_TRUE(std::is_sorted(usage.begin(), usage.end()));
    EXPECT_EQ(UsageLines(Cli({S("help")}).out), usage);
    EXPECT_EQ(UsageLines(Cli({S("nosuch")}).err), usage);

    const QStringList synopsis = ManSynopsis();
    ASSERT_FALSE(synopsis.isEmpty());
    for (const QString& line : usage) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_TRUE(synopsis.contains(line));
        const QString name = line.section(u' ', 1, 1);
        for (const QStringList& args :
             {QStringList{S("help"), name}, QStringList{name, S("--help")}}) {
            const RunResult one = Cli(args);
            EXPECT_EQ(one.exitCode, 0);
            EXPECT_EQ(UsageLines(one.out), QStringList{line});
        }
    }
}

TEST(CliHelpTest, HelpOfAnUnknownCommandIsABadArgument) {
    for (const QStringList& args :
         {QStringList{S("help"), S("nosuch")}, QStringList{S("help"), S("songs"), S("song")}}) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("  sorvane-cli songs FOLDER\n")) << r.err.constData();
    }
}
