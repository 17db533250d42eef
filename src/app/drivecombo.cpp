#include "app/drivecombo.h"

#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QSignalBlocker>
#include <QVariant>

#include <algorithm>

DriveComboBox::DriveComboBox(DriveServices& drives, QWidget* parent)
    : QComboBox(parent), m_drives(drives) {
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveComboBox::onCurrentIndexChanged);
    rebuild();
}

QString DriveComboBox::DriveText(QChar letter, const QString& label, const QString& root) {
    const QString head = QString(letter.toUpper()) + QStringLiteral(":  ");
    if (!label.isEmpty()) {
        return head + label.toUpper();
    }
    QString shownRoot = QDir::toNativeSeparators(root);
    if (shownRoot.size() > 1 && shownRoot.endsWith(QDir::separator())) {
        shownRoot.chop(1);
    }
    return head + u'[' + shownRoot + u']';
}

void DriveComboBox::addDriveItem(QChar letter) {
    const std::optional<VolumeInfo> volume = m_drives.volumeInfo(letter);
    const QString label = volume ? volume->label : QString();
    addItem(DriveText(letter, label, m_drives.rootOf(letter)), QVariant::fromValue(letter));
}

void DriveComboBox::rebuild() {
    const QSignalBlocker blocker(this);
    clear();
    QList<QChar> letters = m_drives.drives();
    for (QChar& letter : letters) {
        letter = letter.toUpper();
    }
    if (!m_drive.isNull() && !letters.contains(m_drive)) {
        letters.append(m_drive);
        std::sort(letters.begin(), letters.end());
    }
    for (const QChar letter : letters) {
        addDriveItem(letter);
    }
    setCurrentIndex(m_drive.isNull() ? -1 : findData(QVariant::fromValue(m_drive)));
}

void DriveComboBox::clearDrive() {
    const QSignalBlocker blocker(this);
    m_drive = QChar();
    setCurrentIndex(-1);
}

bool DriveComboBox::setDrive(QChar letter) {
    const QChar upper = letter.toUpper();
    int index = findData(QVariant::fromValue(upper));
    if (index < 0) {
        if (!m_drives.drives().contains(upper)) {
            return false;
        }
        rebuild();
        index = findData(QVariant::fromValue(upper));
    }
    setCurrentIndex(index);
    return true;
}

void DriveComboBox::onCurrentIndexChanged(int index) {
    const QChar letter = index < 0 ? QChar() : itemData(index).value<QChar>();
    if (letter == m_drive) {
        return;
    }
    m_drive = letter;
    if (!letter.isNull()) {
        emit driveChanged(letter);
    }
}

QString DriveComboBox::folderForDrive(QChar letter) const {
    const QChar upper = letter.toUpper();
    const QString remembered = m_lastFolders.value(upper);
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir() &&
        m_drives.driveOfPath(remembered) == upper) {
        return remembered;
    }
    return m_drives.rootOf(upper);
}

void DriveComboBox::rememberFolder(const QString& folder) {
    const QChar letter = m_drives.driveOfPath(folder);
    if (!letter.isNull()) {
        m_lastFolders.insert(letter.toUpper(), folder);
    }
}

void DriveComboBox::focusInEvent(QFocusEvent* event) {
    // Coming back from its own list or from another window is not entering the selector.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        rebuild();
    }
    QComboBox::focusInEvent(event);
}

void DriveComboBox::showPopup() {
    rebuild();
    QComboBox::showPopup();
}
