#pragma once

#include "card/recordermodel.h"

#include <QChar>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

class DriveServices;

// Following cards and disks as they come and go while the program runs: the lettered
// drives at one moment, what changed between two moments, and the texts the window shows.

// Each lettered drive and its root folder.
using DriveSnapshot = QMap<QChar, QString>;

DriveSnapshot TakeDriveSnapshot(DriveServices& drives);

// Letters that appeared and letters that went, ascending. A letter whose root changed (a
// volume went and another took its letter) is in both.
struct DriveChanges {
    QList<QChar> added;
    QList<QChar> removed;
};

DriveChanges CompareDriveSnapshots(const DriveSnapshot& before, const DriveSnapshot& after);

// "BR memory card found in drive E: (BR-80)".
QString CardFoundText(QChar letter, RecorderModel model);
// What the status bar says when the drive holding the current folder went: "BR memory card
// removed from drive E:" for a recorder card, else "Drive E: removed".
QString DriveRemovedText(QChar letter, RecorderModel model);

// Edits of the song shown that had not been saved when its card went.
struct UnsavedSongEdits {
    QString songId;
    std::optional<QString> name;
    std::optional<QString> title;
    std::optional<QString> notes;

    bool isEmpty() const { return !name && !title && !notes; }
};

// The warning that lists unsaved edits, so that the user can type them again; empty when
// there are none.
QString UnsavedEditsText(const UnsavedSongEdits& edits);
