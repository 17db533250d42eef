// sorvane-cli drives | find-card | dump FOLDER: the drive table, the card search and the
// card diagnostic dump, as the program sees them.

#include "command.h"

#include "card/recordermodel.h"
#include "platform/linuxdrives.h"
#include "transfer/carddetect.h"
#include "transfer/carddump.h"

#include <QFileInfo>

namespace {

QString TypeText(DriveType type) {
    switch (type) {
    case DriveType::Removable:
        return QStringLiteral("removable");
    case DriveType::Fixed:
        return QStringLiteral("fixed");
    case DriveType::NoSuchDrive:
        break;
    }
    return QStringLiteral("none");
}

// One row: letter, root, type, label, model, total MB, ready. Labels are quoted, so that
// blanks in them show; "(unreadable)" when the label query fails.
QStringList DriveRow(DriveServices& drives, QChar letter) {
    const std::optional<VolumeInfo> volume = drives.volumeInfo(letter);
    const QString label = volume ? volume->label : UnreadableVolumeLabel();
    const bool ready = drives.isReady(letter);
    QString total = QStringLiteral("-");
    if (ready) {
        if (const auto space = drives.byteSpace(letter))
            total = QString::number(space->totalBytes / 1000000);
    }
    return {QString(letter) + u':',
            drives.rootOf(letter),
            TypeText(drives.driveType(letter)),
            volume ? u'"' + volume->label + u'"' : QStringLiteral("(unreadable)"),
            RecorderModelName(RecorderModelFromVolumeLabel(label)),
            total,
            ready ? QStringLiteral("yes") : QStringLiteral("no")};
}

void PrintTable(const QList<QStringList>& rows, QTextStream& out) {
    QList<qsizetype> widths;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.append(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        out << line << '\n';
    }
}

int RunDrives(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (!args.isEmpty()) {
        PrintCliUsage(err);
        return 2;
    }
    LinuxDrives drives;
    QList<QStringList> rows = {{QStringLiteral("Drive"), QStringLiteral("Root"),
                                QStringLiteral("Type"), QStringLiteral("Label"),
                                QStringLiteral("Model"), QStringLiteral("Total MB"),
                                QStringLiteral("Ready")}};
    for (const QChar letter : drives.drives())
        rows.append(DriveRow(drives, letter));
    PrintTable(rows, out);
    return 0;
}

int RunFindCard(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (!args.isEmpty()) {
        PrintCliUsage(err);
        return 2;
    }
    LinuxDrives drives;
    CardDetector detector(drives);
    const QChar letter = detector.FindCard();
    if (letter.isNull()) {
        err << "No BR memory card found.\n";
        return 1;
    }
    out << letter << ": " << drives.rootOf(letter) << "  "
        << RecorderModelName(detector.cardInfo().labelModel) << '\n';
    return 0;
}

// The dump's "\r" line breaks are printed as newlines.
int RunDump(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1) {
        PrintCliUsage(err);
        return 2;
    }
    if (!QFileInfo(args.first()).isDir()) {
        err << "sorvane-cli: no such folder: " << args.first() << '\n';
        return 1;
    }
    const QString text = CardDumpText(ReadCardDumpBytes(args.first()));
    if (text.isEmpty()) {
        err << "sorvane-cli: no readable Roland/BR0/diskinf2.br0 in " << args.first() << '\n';
        return 1;
    }
    QString shown = text;
    shown.replace(u'\r', u'\n');
    out << shown << '\n';
    return 0;
}

const bool registeredDrives = RegisterCliCommand(
    {"drives", "", RunDrives,
     "Prints the drive table: letter, root, type, label, model, total MB, ready."});
const bool registeredFindCard = RegisterCliCommand(
    {"find-card", "", RunFindCard, "Prints the BR memory card Sorvane would open at start-up."});
const bool registeredDump = RegisterCliCommand(
    {"dump", "FOLDER", RunDump,
     "Prints the card diagnostic dump of diskinf2.br0 and cardprm.br1 of a card root."});

} // namespace
