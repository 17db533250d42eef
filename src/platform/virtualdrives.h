#pragma once

#include <QChar>
#include <QString>

class DriveServices;

// Virtual drives: a drive letter standing for a folder, both in the program's drive table
// and in the Wine prefix, whose drive entry "dosdevices/<letter>:" becomes a symbolic link
// to the folder. Only symbolic links are ever replaced or removed there; a file or folder
// in the entry's place is left alone.
class VirtualDrives {
public:
    VirtualDrives(DriveServices& drives, QString winePrefix);

    const QString& winePrefix() const { return m_prefix; }
    // The prefix's drive entry of the letter.
    QString linkPath(QChar letter) const;

    // Maps the letter onto the folder. Nothing happens for a letter that is not alphabetic.
    // False when the letter is not alphabetic, the drive table refuses it, or the prefix's
    // entry holds something other than a symbolic link; then nothing was changed.
    bool SubstCreate(QChar letter, const QString& folder);
    // Removes the letter's virtual drive and the prefix's entry when it is a symbolic link.
    // Nothing happens for a letter that is not alphabetic.
    void SubstDelete(QChar letter);

private:
    DriveServices& m_drives;
    QString m_prefix;
};
