// sorvane-cli play FILE [--render OUT.wav]: plays a WAV or MIDI file through the player's
// own playback code, or renders it to a WAV file. The playback engine and the sound, MIDI
// and audio libraries under it live in a module loaded here, so that every other command
// starts without them.

#include "command.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace {

using PlayFunction = int (*)(const QString& path, const QString& target, QTextStream& out,
                             QTextStream& err);

constexpr const char* ModuleName = "sorvane-cli-play.so";

// Beside the program in the build folder; in the library folder once installed.
QStringList ModuleCandidates() {
    const QString dir = QCoreApplication::applicationDirPath();
    return {dir + u'/' + QLatin1String(ModuleName),
            dir + u'/' + QLatin1String(SORVANE_CLI_MODULE_DIR) + u'/' + QLatin1String(ModuleName)};
}

PlayFunction LoadPlayModule(QString& why) {
    for (const QString& path : ModuleCandidates()) {
        if (!QFileInfo(path).isFile())
            continue;
        QLibrary module(path);
        if (auto play = reinterpret_cast<PlayFunction>(module.resolve("SorvaneCliPlay")))
            return play; // the module stays loaded until the program ends
        why = module.errorString();
        return nullptr;
    }
    why = QStringLiteral("%1 not found beside the program or in %2")
              .arg(QLatin1String(ModuleName), QLatin1String(SORVANE_CLI_MODULE_DIR));
    return nullptr;
}

int RunPlay(const QStringList& args, QTextStream& out, QTextStream& err) {
    QString path;
    QString target;
    bool bad = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--render") && i + 1 < args.size())
            target = args[++i];
        else if (path.isEmpty() && !args[i].startsWith(u'-'))
            path = args[i];
        else
            bad = true;
    }
    if (bad || path.isEmpty()) {
        PrintCliUsage(err);
        return 2;
    }
    QString why;
    const PlayFunction play = LoadPlayModule(why);
    if (play == nullptr) {
        err << "sorvane-cli: the player module cannot be loaded: " << why << '\n';
        return 1;
    }
    return play(path, target, out, err);
}

const bool Registered = RegisterCliCommand({"play", "FILE [--render OUT.wav]", &RunPlay});

} // namespace
