#pragma once

#include <QObject>

// Tells the program that the lettered volumes may have changed: a card or disk was mounted
// or unmounted. The drive services answer for the new set at their next query. This base
// announces only when told to (tests); MountWatcher announces what the kernel reports.
class DriveWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void announceChange() { emit drivesChanged(); }

signals:
    void drivesChanged();
};
