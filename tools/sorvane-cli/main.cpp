#include "command.h"

#include <QCoreApplication>
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

void PrintCliUsage(QTextStream& err) {
    err << "Usage:\n";
    for (const CliCommand& c : Commands())
        err << "  sorvane-cli " << c.name << ' ' << c.usage << '\n';
    err.flush();
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        PrintCliUsage(err);
        return 2;
    }
    const QString name = args.takeFirst();
    for (const CliCommand& c : Commands()) {
        if (name == QLatin1String(c.name)) {
            const int code = c.run(args, out, err);
            out.flush();
            err.flush();
            return code;
        }
    }
    err << "sorvane-cli: unknown command \"" << name << "\"\n";
    PrintCliUsage(err);
    return 2;
}
