#include "platform/wineprefix.h"

#include "platform/drivepaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString WinePrefixPath() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty())
        return prefix;
    return QDir::homePath() + QStringLiteral("/.wine");
}

QString WineDriveLinkPath(const QString& prefix, QChar letter) {
    return prefix + QStringLiteral("/dosdevices/") + letter.toLower() + u':';
}

QString WineWindowsPath(const QString& prefix, const QString& folder, QChar excluded) {
    const QString real = RealFolderPath(folder);
    const QDir devices(prefix + QStringLiteral("/dosdevices"));
    const QStringList names =
        devices.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    QChar best;
    qsizetype bestLength = -1;
    for (const QString& name : names) {
        const QChar letter = name.size() == 2 && name[1] == u':' ? DriveLetterOf(name[0]) : QChar();
        if (letter.isNull() || letter == DriveLetterOf(excluded))
            continue;
        const QFileInfo entry(devices.filePath(name));
        if (!entry.isDir()) // a dangling link or a device entry
            continue;
        QString root = RealFolderPath(entry.filePath());
        if (!root.endsWith(u'/'))
            root += u'/';
        const qsizetype length = RootCoverLength(real, root);
        if (length > bestLength) {
            best = letter;
            bestLength = length;
        }
    }
    if (best.isNull())
        return folder;
    QString rest = real.mid(bestLength);
    rest.replace(u'/', u'\\');
    return best + QStringLiteral(":\\") + rest;
}

bool IsWindowsProgram(const QString& program) {
    return program.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
}

std::optional<ProcessCommand> ProgramCommand(const QString& program, const QString& prefix) {
    const QFileInfo file(program);
    ProcessCommand command;
    command.workingDirectory = file.absolutePath();
    if (!IsWindowsProgram(program)) {
        command.program = file.absoluteFilePath();
        return command;
    }
    command.program = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (command.program.isEmpty())
        return std::nullopt;
    command.arguments = {file.absoluteFilePath()};
    command.environment = {{QStringLiteral("WINEPREFIX"), prefix}};
    return command;
}
