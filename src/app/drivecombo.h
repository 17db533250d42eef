#pragma once

#include <QChar>
#include <QComboBox>
#include <QHash>
#include <QString>

class DriveServices;

// The drive selector: one entry per lettered drive, shown in upper case with its label
// ("D:  BOSS_BR-864") or, without a label, its mount point ("C:  [/]"). The list is rebuilt
// from the drive services when the selector gets the focus or opens its list, keeping the
// selected drive. It also remembers the last folder opened on each drive.
class DriveComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit DriveComboBox(DriveServices& drives, QWidget* parent = nullptr);

    // The selected drive letter; QChar() when none is selected.
    QChar drive() const { return m_drive; }
    // Selects a drive; emits driveChanged when this changes the selected drive. A letter
    // the drive services do not list is refused (false).
    bool setDrive(QChar letter);
    // Rebuilds the list from the drive services, keeping the selected drive (listed even
    // when its volume has gone, so the selector still shows where the folder tree is).
    void rebuild();
    // Selects no drive, without a change signal (the selected drive went away); choosing
    // any drive afterwards is a change.
    void clearDrive();

    // The folder to open when the user turns to a drive: the last folder remembered on it
    // while it still exists, else the drive's root. Empty for a letter without a volume.
    QString folderForDrive(QChar letter) const;
    // Notes a folder as the last one opened on its drive.
    void rememberFolder(const QString& folder);

    // Rebuilds the list, then opens it.
    void showPopup() override;

    // The entry text of a drive.
    static QString DriveText(QChar letter, const QString& label, const QString& root);

signals:
    void driveChanged(QChar letter);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void addDriveItem(QChar letter);
    void onCurrentIndexChanged(int index);

    DriveServices& m_drives;
    QChar m_drive;
    QHash<QChar, QString> m_lastFolders;
};
