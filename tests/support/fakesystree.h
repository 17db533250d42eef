#pragma once

#include "fixture/cardfixture.h"

#include <QString>

// A fake system tree (sys/, dev/) for the drive table to read instead of the real one.

// A disk with one partition: its sysfs node, its /sys/dev/block link and its /dev node.
inline bool AddFakeDisk(const CardFixture& tree, const QString& parent, const QString& disk,
                        const QString& device, bool removable,
                        const QString& partSuffix = QStringLiteral("1")) {
    const QString part = disk + partSuffix;
    const QString node = parent + disk + u'/' + part;
    return tree.writeFile(parent + disk + QStringLiteral("/removable"),
                          removable ? "1\n" : "0\n") &&
           tree.writeFile(node + QStringLiteral("/partition"), "1\n") &&
           tree.makeSymlink(QStringLiteral("sys/dev/block/") + device,
                            QStringLiteral("../../") + node.mid(4)) &&
           tree.writeFile(QStringLiteral("dev/") + part, QByteArray());
}

// A volume label link under /dev/disk/by-label (`name` escaped as udev writes it).
inline bool AddFakeLabel(const CardFixture& tree, const QString& name, const QString& part) {
    return tree.makeSymlink(QStringLiteral("dev/disk/by-label/") + name,
                            QStringLiteral("../../") + part);
}
