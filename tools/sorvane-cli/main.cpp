#include "command.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

std::vector<CliCommand>& Commands() {
    static std::vector<CliCommand> commands;
    return commands;
}

} // namespace

bool RegisterCliCommand(const CliCommand& command) {
    Commands().push_back(command);
    return true;
}

namespace {

std::vector<CliCommand> CommandsByName() {
    std::vector<CliCommand> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const CliCommand& a, const CliCommand& b) { return qstrcmp(a.name, b.name) < 0; });
    return sorted;
}

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& c : Commands()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

// "sorvane-cli songs FOLDER": the same line in the usage, the help and the manual.
QString UsageLine(const CliCommand& c) {
    QString line = QStringLiteral("sorvane-cli ") + QLatin1String(c.name);
    if (c.usage != nullptr && c.usage[0] != '\0')
        line += u' ' + QLatin1String(c.usage);
    return line;
}

} // namespace

void PrintCliUsage(QTextStream& err) {
    err << "Usage:\n";
    for (const CliCommand& c : CommandsByName())
        err << "  " << UsageLine(c) << '\n';
    err.flush();
}

int PrintCliHelp(const QStringList& names, QTextStream& out, QTextStream& err) {
    if (names.size() > 1) {
        PrintCliUsage(err);
        return 2;
    }
    std::vector<CliCommand> shown = CommandsByName();
    if (!names.isEmpty()) {
        const CliCommand* c = FindCommand(names.first());
        if (c == nullptr) {
            err << "sorvane-cli: unknown command \"" << names.first() << "\"\n";
            PrintCliUsage(err);
            return 2;
        }
        shown = {*c};
    }
    out << "Usage:\n";
    for (const CliCommand& c : shown) {
        out << "  " << UsageLine(c) << '\n';
        if (c.summary != nullptr)
            out << "      " << c.summary << '\n';
    }
    out << "\nExit status: 0 done, 1 failed, 2 bad arguments; see sorvane-cli(1).\n";
    return 0;
}

int main(int argc, char* argv[]) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Decoded as the application object decodes them.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.isEmpty()) {
        PrintCliUsage(err);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h")
        return PrintCliHelp(args, out, err);
    if (const CliCommand* c = FindCommand(name)) {
        if (args == QStringList{QStringLiteral("--help")})
            return PrintCliHelp({name}, out, err);
        std::optional<QCoreApplication> app;
        if (!c->withoutApplication)
            app.emplace(argc, argv);
        const int code = c->run(args, out, err);
        out.flush();
        err.flush();
        return code;
    }
    err << "sorvane-cli: unknown command \"" << name << "\"\n";
    PrintCliUsage(err);
    return 2;
}
