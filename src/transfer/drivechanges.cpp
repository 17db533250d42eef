#include "transfer/drivechanges.h"

#include "platform/drives.h"

DriveSnapshot TakeDriveSnapshot(DriveServices& drives) {
    DriveSnapshot snapshot;
    for (const QChar letter : drives.drives())
        snapshot.insert(letter.toUpper(), drives.rootOf(letter));
    return snapshot;
}

DriveChanges CompareDriveSnapshots(const DriveSnapshot& before, const DriveSnapshot& after) {
    DriveChanges changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const auto now = after.constFind(it.key());
        if (now == after.cend() || now.value() != it.value())
            changes.removed.append(it.key());
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto then = before.constFind(it.key());
        if (then == before.cend() || then.value() != it.value())
            changes.added.append(it.key());
    }
    return changes;
}

QString CardFoundText(QChar letter, RecorderModel model) {
    return QStringLiteral("BR memory card found in drive ") + letter.toUpper() +
           QStringLiteral(": (") + RecorderModelName(model) + u')';
}

QString DriveRemovedText(QChar letter, RecorderModel model) {
    if (model != RecorderModel::None)
        return QStringLiteral("BR memory card removed from drive ") + letter.toUpper() + u':';
    return QStringLiteral("Drive ") + letter.toUpper() + QStringLiteral(": removed");
}

QString UnsavedEditsText(const UnsavedSongEdits& edits) {
    if (edits.isEmpty())
        return QString();
    QString text = QStringLiteral("\rThe card was removed before these changes to ") +
                   edits.songId + QStringLiteral(" were saved. They were not written:\r");
    if (edits.name)
        text += QStringLiteral("\rSong Name: ") + *edits.name;
    if (edits.title)
        text += QStringLiteral("\rSong Title: ") + *edits.title;
    if (edits.notes) {
        QString notes = *edits.notes;
        notes.replace(u'\n', u'\r');
        text += QStringLiteral("\rNotes:\r") + notes;
    }
    return text;
}
