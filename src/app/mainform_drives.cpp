// The main window following cards and disks as they come and go while it runs.

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/mainform.h"
#include "app/mainstatusbar.h"
#include "app/messages.h"
#include "app/songdetailsview.h"
#include "app/songinfopage.h"
#include "app/songlistview.h"
#include "platform/drives.h"
#include "platform/drivewatcher.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>

void TFormMain::watchDrives() {
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    connect(m_noticeTimer, &QTimer::timeout, this, [this] {
        if (m_statusBar->panelText(1) == m_noticeText)
            m_statusBar->setPanelText(1, m_textBeforeNotice);
    });
    m_driveSnapshot = TakeDriveSnapshot(m_drives);
    if (m_services.driveWatcher != nullptr)
        connect(m_services.driveWatcher, &DriveWatcher::drivesChanged, this,
                [this] { runHandler([this] { DrivesChanged(); }); });
}

// The drive selector lists the drives as they are now. A card that came is announced in the
// status bar and otherwise left alone until the user goes to it; the drive of the current
// folder going away empties the window.
void TFormMain::DrivesChanged() {
    const DriveSnapshot now = TakeDriveSnapshot(m_drives);
    const DriveChanges changes = CompareDriveSnapshots(m_driveSnapshot, now);
    m_driveSnapshot = now;
    if (changes.added.isEmpty() && changes.removed.isEmpty())
        return;
    const QChar folderDrive = m_folderDrive;
    if (!folderDrive.isNull() && folderDrive != m_virtualDriveLetter &&
        changes.removed.contains(folderDrive))
        folderDriveRemoved(folderDrive);
    m_driveCombo->rebuild();
    for (const QChar letter : changes.added) {
        if (letter == m_virtualDriveLetter)
            continue;
        const RecorderModel model = m_card.GetCardModel(letter);
        if (model != RecorderModel::None) {
            showNotice(CardFoundText(letter, model));
            break;
        }
    }
}

// The folder went with its drive: the window shows it as a folder without songs, and
// nothing more is read from it or written to it. Edits not yet saved are taken from their
// boxes first (loading the empty details would otherwise save them) and shown to the user
// once the window is emptied.
void TFormMain::folderDriveRemoved(QChar letter) {
    const RecorderModel model = m_info.cardModel();
    const UnsavedSongEdits edits = m_details->songInfoPage()->takeUnsavedEdits();
    m_folderDrive = QChar();
    m_tree->markDirectoryGone();
    m_noticeTimer->stop();
    m_info.setCardModel(RecorderModel::None);
    m_info.ForgetFolder();
    m_buttonBackupRestore->setText(QStringLiteral("  Restore  "));
    m_buttonBackupRestore->update();
    SetBrControlsEnabled(false);
    m_statusBar->setPanelText(0, QString());
    showMediaTabs();
    PageControl2Change();
    m_songList->FillSongList();
    LoadSongDetails();
    m_driveCombo->clearDrive();
    m_lblBRType->clear();
    m_lblSize->clear();
    m_lblUsed->clear();
    m_lblFree->clear();
    m_statusBar->setPanelText(1, DriveRemovedText(letter, model));
    if (!edits.isEmpty())
        m_messages.warning(this, UnsavedEditsText(edits));
}

void TFormMain::showNotice(const QString& text) {
    if (!m_noticeTimer->isActive())
        m_textBeforeNotice = m_statusBar->panelText(1);
    m_noticeText = text;
    m_statusBar->setPanelText(1, text);
    m_noticeTimer->start(m_services.noticeMilliseconds);
}
