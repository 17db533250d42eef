// The main window's folder change, drive handling and commands.

#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/mainform.h"
#include "app/mainstatusbar.h"
#include "app/messages.h"
#include "app/shortenpath.h"
#include "app/songdetailsview.h"
#include "app/songlistview.h"
#include "app/stringgrid.h"
#include "card/cardpath.h"
#include "media/core/medialist.h"
#include "platform/drives.h"
#include "platform/shell.h"
#include "transfer/carddump.h"
#include "transfer/sizetext.h"

#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

QString TFormMain::currentFolder() const {
    return m_tree->directory();
}

void TFormMain::DirectoryListBox1Change() {
    ++m_folderChanges;
    const QString folder = currentFolder();
    m_driveCombo->rememberFolder(folder);
    m_folderDrive = m_drives.driveOfPath(folder);
    m_info.setCardModel(m_card.DetectCardModel(folder));
    m_info.LoadFolder(folder);
    showFolderPath();
    if (NameUnreadableAsUtf8(folder))
        m_messages.warning(this, u'\r' + UnreadableNameText(folder));
    m_buttonBackupRestore->setText(m_info.cardModel() != RecorderModel::None
                                       ? QStringLiteral("  Backup  ")
                                       : QStringLiteral("  Restore  "));
    m_buttonBackupRestore->update();
    SetBrControlsEnabled(m_info.hasSongs());
    m_statusBar->setPanelText(0, m_info.hasSongs() ? QStringLiteral("BR") : QString());
    showMediaTabs();
    PageControl2Change();
    m_songList->FillSongList();
    LoadSongDetails();
}

void TFormMain::showFolderPath() {
    m_statusBar->setPanelText(
        1, ShortenPath(currentFolder(), m_statusBar->fontMetrics(), width() - 150));
}

void TFormMain::showMediaTabs() {
    for (int i = 0; i < m_mediaPages->count(); ++i) {
        m_mediaPages->setTabVisible(i, QFileInfo(MediaFolderPath(currentFolder(), i)).isDir());
    }
}

void TFormMain::LoadSongDetails() {
    m_details->loadSong(m_songList->selectedSongId(), m_songList->selectedName(), currentFolder());
}

void TFormMain::SetBrControlsEnabled(bool on) {
    const QColor background =
        palette().color(QPalette::Active, on ? QPalette::Base : QPalette::Button);
    sgSongList()->setColor(background);
    for (StringGrid* grid : m_mediaGrids) {
        grid->setColor(background);
        grid->setEnabled(on);
    }
    m_player->setEnabled(on);
    m_labelTime->setEnabled(on);
    m_player->update();
    m_mediaPlayer->update();
    m_buttonWave->setEnabled(on && !IsBlankText(m_prefs.WaveConverter));
    m_buttonBackupRestore->setEnabled(on);
    sgSongList()->setEnabled(on);
    m_details->setBrControlsEnabled(on);
}

void TFormMain::setDriveSelectorToTreeDrive() {
    const QChar letter = m_drives.driveOfPath(currentFolder());
    if (!letter.isNull())
        m_driveCombo->setDrive(letter);
}

void TFormMain::showCardPanel(const CardPanel& panel) {
    m_info.setCardModel(panel.cardModel);
    m_lblSize->setText(panel.space.size);
    m_lblUsed->setText(panel.space.used);
    m_lblFree->setText(panel.space.free);
}

void TFormMain::DriveComboBox1Change() {
    const QChar letter = m_driveCombo->drive();
    if (letter.isNull())
        return;
    if (!m_card.DriveSelectorChange(letter)) {
        m_messages.warning(this, NoDiscInDriveText());
        setDriveSelectorToTreeDrive();
        return;
    }
    // The tree moves only when it is on another drive; on its own drive it stays put.
    if (m_drives.driveOfPath(currentFolder()) != letter || m_tree->directoryGone())
        m_tree->setDirectory(m_driveCombo->folderForDrive(letter));
    const CardPanel panel = m_card.DriveSelected(letter, currentFolder());
    showCardPanel(panel);
    m_lblBRType->setText(panel.brType);
}

void TFormMain::GoToMainBackupFolderClick() {
    m_tree->setDirectory(m_prefs.DefaultDir);
    setDriveSelectorToTreeDrive();
}

void TFormMain::GotoZOZuzezo1Click() {
    const bool alt = m_services.altHeld ? m_services.altHeld() : false;
    const GotoCardResult card = m_card.GotoCard();
    if (card.letter.isNull()) {
        m_messages.warning(this, card.warning);
        return;
    }
    m_tree->setDirectory(card.root);
    setDriveSelectorToTreeDrive();
    m_driveCombo->rebuild();
    if (!alt)
        return;
    const QString dump = CardDumpText(ReadCardDumpBytes(currentFolder()));
    if (!dump.isEmpty())
        m_messages.plain(this, dump);
}

void TFormMain::FileExitExecute() {
    close();
}

void TFormMain::miHelpHelpClick() {
    m_services.shell.openDocument(m_services.helpPage);
}

void TFormMain::miHelpSOVwebsiteClick() {
    m_services.shell.openDocument(m_services.homePage);
}

void TFormMain::OpenfolderinWindowsExplorer1Click() {
    m_services.shell.showFolder(currentFolder());
}
