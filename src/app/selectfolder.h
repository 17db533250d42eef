#pragma once

#include <QDialog>
#include <QString>

class DirectoryListBox;
class DriveComboBox;
class DriveServices;
class MessageBoxes;
class QPushButton;
class TFormNewFolder;

// "Select Folder": a drive selector linked to a folder list, a "New" button that creates a
// folder inside the current one, OK and Cancel. Its result is the folder list's directory.
// It stays on the last folder shown from one showing to the next.
class TFormSelectFolder : public QDialog {
    Q_OBJECT

public:
    TFormSelectFolder(DriveServices& drives, TFormNewFolder& newFolder, MessageBoxes& messages,
                      QWidget* parent = nullptr);

    // The folder list's current directory.
    QString directory() const;
    // Moves the folder list (and the drive selector with it); false when the path names
    // no existing folder.
    bool setDirectory(const QString& path);

    DriveComboBox* driveComboBox() const { return m_driveComboBox; }
    DirectoryListBox* directoryListBox() const { return m_directoryListBox; }
    QPushButton* newButton() const { return m_newButton; }

    // The "New" button: asks New Folder for a name and creates that folder in the current
    // directory, then opens it. A name that is empty, "." or "..", or holds a path
    // separator would not make a new folder inside the current one and is refused with the
    // same message as a failed creation.
    void BitBtn1Click();

    // The path a name makes inside a folder, as shown in the failure message.
    static QString NewFolderPath(const QString& directory, const QString& name);
    // True when the name is one plain folder name.
    static bool IsPlainFolderName(const QString& name);

private:
    void onDriveChanged(QChar letter);
    void onDirectoryChanged(const QString& directory);

    DriveServices& m_drives;
    TFormNewFolder& m_newFolder;
    MessageBoxes& m_messages;
    DriveComboBox* m_driveComboBox;
    DirectoryListBox* m_directoryListBox;
    QPushButton* m_newButton;
};
