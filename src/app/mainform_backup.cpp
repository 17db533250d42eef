// The main window's backup and restore: the card's Roland folder into a folder the user
// picks, or the current folder's Roland folder back onto the card.

#include "app/backuprestoreconfirm.h"
#include "app/copyfiles.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/selectfolder.h"
#include "app/shortenpath.h"
#include "card/cardpath.h"
#include "platform/drives.h"
#include "transfer/sizetext.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

namespace {

const QLatin1String RolandFolder("Roland");

void MakeFolderIfMissing(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        QDir().mkdir(folder);
}

// The drive of the card holding `folder`; the card examined last when the folder lies on
// no lettered drive.
QChar CardLetterOf(DriveServices& drives, const CardInfo& card, const QString& folder) {
    const QChar letter = drives.driveOfPath(folder);
    if (!letter.isNull() || card.driveRoot.isEmpty())
        return letter;
    return card.driveRoot.at(0).toUpper();
}

} // namespace

void TFormMain::setTransferDialogs(TFormSelectFolder* selectFolder,
                                   TFormBackupRestoreConfirm* confirm, TFormCopyFiles* copyFiles) {
    if (!m_copyFiles && copyFiles) {
        connect(m_buttonBackupRestore, &QToolButton::clicked, this,
                [this] { runHandler([this] { ToolButtonBackupRestoreClick(); }); });
    }
    m_selectFolder = selectFolder;
    m_confirm = confirm;
    m_copyFiles = copyFiles;
}

std::int64_t TFormMain::calendarSeconds() const {
    return m_services.calendarSeconds ? m_services.calendarSeconds()
                                      : QDateTime::currentSecsSinceEpoch();
}

void TFormMain::ToolButtonBackupRestoreClick() {
    if (!m_selectFolder || !m_confirm || !m_copyFiles)
        return;
    if (m_buttonBackupRestore->text().trimmed() == QLatin1String("Backup"))
        backupFlow();
    else
        restoreFlow();
}

void TFormMain::backupFlow() {
    m_selectFolder->setDirectory(m_prefs.DefaultDir);
    if (m_selectFolder->exec() != QDialog::Accepted)
        return;
    const QString chosen = m_selectFolder->directory();
    // The card the current folder lies on; what is copied (and counted) is its whole
    // Roland folder, also when the current folder is a folder below it.
    const QChar letter = CardLetterOf(m_drives, m_card.cardInfo(), currentFolder());
    const QString root = m_drives.rootOf(letter);
    if (root.isEmpty()) {
        m_messages.warning(this, CardNotDetectedText());
        return;
    }
    const QString source = ResolveCardPath(root, RolandFolder);
    std::uint64_t bytes = 0;
    const std::int32_t files = FolderSize(source, bytes);
    QLabel* label = m_confirm->LabelBackupRestore();
    const QString shortened = ShortenPath(chosen, label->fontMetrics(), label->width() - 50);
    if (!m_confirm->confirm(QStringLiteral("Confirm Backup"),
                            BackupConfirmText(letter, shortened, bytes, files)))
        return;
    const std::int64_t start = calendarSeconds();
    const QString destination = ResolveCardPath(chosen, RolandFolder);
    const CopyResult result = m_copyFiles->copy(source, destination, false);
    if (!result.refused) {
        MakeFolderIfMissing(ResolveCardPath(chosen, QStringLiteral("WAV")));
        MakeFolderIfMissing(ResolveCardPath(chosen, QStringLiteral("MP3")));
    }
    reportTransfer(TransferKind::Backup, result, start);
}

void TFormMain::restoreFlow() {
    const QChar letter = m_card.FindCard();
    if (letter.isNull()) {
        m_messages.warning(this, RestoreNoCardText());
        return;
    }
    const CardInfo card = m_card.cardInfo();
    const QString source = ResolveCardPath(currentFolder(), RolandFolder);
    std::uint64_t bytes = 0;
    const std::int32_t files = FolderSize(source, bytes);
    if (!FitsCardCapacity(card.totalMB, bytes)) {
        m_messages.warning(this, InsufficientCapacityText(letter, card.totalMB, bytes));
        return;
    }
    QLabel* label = m_confirm->LabelBackupRestore();
    const QString shortened =
        ShortenPath(currentFolder(), label->fontMetrics(), label->width() - 80);
    if (!m_confirm->confirm(QStringLiteral("Confirm Restore"),
                            RestoreConfirmText(shortened, letter, bytes, files)))
        return;
    const std::int64_t start = calendarSeconds();
    // Files on the card are replaced without asking; the copy ends by flushing the card's
    // file system, so the card can be taken out once the message shows.
    const QString destination = ResolveCardPath(m_drives.rootOf(letter), RolandFolder);
    const CopyResult result = m_copyFiles->copy(source, destination, true);
    reportTransfer(TransferKind::Restore, result, start);
}

void TFormMain::reportTransfer(TransferKind kind, const CopyResult& result, std::int64_t start) {
    const TransferOutcome outcome =
        TransferOutcomeText(kind, result, std::max<std::int64_t>(0, calendarSeconds() - start));
    if (outcome.done)
        m_messages.information(this, outcome.text);
    else
        m_messages.showDetailed(this, MessageKind::Warning, outcome.text, outcome.details);
}
