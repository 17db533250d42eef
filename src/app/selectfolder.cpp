#include "app/selectfolder.h"

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/messages.h"
#include "app/newfolder.h"
#include "app/shortenpath.h"
#include "platform/drives.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormSelectFolder::TFormSelectFolder(DriveServices& drives, TFormNewFolder& newFolder,
                                     MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), m_drives(drives), m_newFolder(newFolder), m_messages(messages),
      m_driveComboBox(new DriveComboBox(drives, this)),
      m_directoryListBox(new DirectoryListBox(this)),
      m_newButton(new QPushButton(QStringLiteral("New"), this)) {
    setObjectName(QStringLiteral("FormSelectFolder"));
    setWindowTitle(QStringLiteral("Select Folder"));
    m_driveComboBox->setObjectName(QStringLiteral("DriveComboBox1"));
    m_driveComboBox->setFixedWidth(190);
    m_directoryListBox->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_directoryListBox->setMinimumSize(264, 221);
    m_newButton->setObjectName(QStringLiteral("BitBtn1"));
    m_newButton->setFixedSize(57, 21);
    m_newButton->setAutoDefault(false);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_newButton, &QPushButton::clicked, this, &TFormSelectFolder::BitBtn1Click);
    connect(m_driveComboBox, &DriveComboBox::driveChanged, this,
            &TFormSelectFolder::onDriveChanged);
    connect(m_directoryListBox, &DirectoryListBox::directoryChanged, this,
            &TFormSelectFolder::onDirectoryChanged);

    auto* top = new QHBoxLayout;
    top->addWidget(m_driveComboBox);
    top->addWidget(m_newButton);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_directoryListBox, 1);
    layout->addLayout(buttons);
    resize(311, 372);

    setDirectory(QDir::homePath());
}

QString TFormSelectFolder::directory() const {
    return m_directoryListBox->directory();
}

bool TFormSelectFolder::setDirectory(const QString& path) {
    return m_directoryListBox->setDirectory(path);
}

void TFormSelectFolder::onDirectoryChanged(const QString& directory) {
    m_driveComboBox->rememberFolder(directory);
    const QChar letter = m_drives.driveOfPath(directory);
    if (!letter.isNull()) {
        m_driveComboBox->setDrive(letter);
    }
}

void TFormSelectFolder::onDriveChanged(QChar letter) {
    const QChar listDrive = m_drives.driveOfPath(directory());
    if (letter == listDrive) {
        return;
    }
    if (m_drives.isReady(letter) &&
        m_directoryListBox->setDirectory(m_driveComboBox->folderForDrive(letter))) {
        return;
    }
    m_messages.warning(this, QStringLiteral("\rThere is no disc in the drive."));
    if (!listDrive.isNull()) {
        m_driveComboBox->setDrive(listDrive);
    }
}

bool TFormSelectFolder::IsPlainFolderName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QDir::separator());
}

QString TFormSelectFolder::NewFolderPath(const QString& directory, const QString& name) {
    const QChar separator = QDir::separator();
    if (directory.endsWith(separator)) {
        return directory + name;
    }
    return directory + separator + name;
}

void TFormSelectFolder::BitBtn1Click() {
    m_newFolder.labelNewFolderText()->setText(QStringLiteral("Create new folder in"));
    QLabel* parentLabel = m_newFolder.labelNewFolderParent();
    parentLabel->setText(
        ShortenPath(directory(), parentLabel->fontMetrics(), parentLabel->width() - 50));
    if (m_newFolder.exec() != QDialog::Accepted) {
        return;
    }
    const QString name = m_newFolder.editNewFolderName()->text();
    const QString path = NewFolderPath(directory(), name);
    if (IsPlainFolderName(name) && QDir().mkdir(path)) {
        m_directoryListBox->setDirectory(path);
        return;
    }
    m_messages.error(this, QStringLiteral("Could not create new folder named\r\n\"") + path + u'"');
}
