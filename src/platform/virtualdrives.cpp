#include "platform/virtualdrives.h"

#include "platform/drivepaths.h"
#include "platform/drives.h"
#include "platform/wineprefix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

VirtualDrives::VirtualDrives(DriveServices& drives, QString winePrefix)
    : m_drives(drives), m_prefix(std::move(winePrefix)) {
}

QString VirtualDrives::linkPath(QChar letter) const {
    return WineDriveLinkPath(m_prefix, letter);
}

bool VirtualDrives::SubstCreate(QChar letter, const QString& folder) {
    const QChar l = DriveLetterOf(letter);
    if (l.isNull())
        return false;
    const QString link = linkPath(l);
    const QFileInfo entry(link);
    const bool isLink = entry.isSymLink();
    if (entry.exists() && !isLink)
        return false;
    if (!m_drives.registerVirtualDrive(l, folder))
        return false;
    const QString target = QFileInfo(folder).absoluteFilePath();
    const bool linked = (!isLink || QFile::remove(link)) &&
                        QDir().mkpath(QFileInfo(link).absolutePath()) && QFile::link(target, link);
    if (!linked)
        m_drives.removeVirtualDrive(l);
    return linked;
}

void VirtualDrives::SubstDelete(QChar letter) {
    const QChar l = DriveLetterOf(letter);
    if (l.isNull())
        return;
    m_drives.removeVirtualDrive(l);
    const QString link = linkPath(l);
    if (QFileInfo(link).isSymLink())
        QFile::remove(link);
}
