#include "transfer/backuptexts.h"

#include "transfer/sizetext.h"

namespace {

QString SizeInFiles(std::uint64_t bytes, std::int32_t files) {
    return u'(' + FormatSizeText(static_cast<std::int64_t>(bytes), SizeUnitAuto) +
           QStringLiteral(" in ") + QString::number(files) + QStringLiteral(" files)");
}

QString FlowName(TransferKind kind) {
    return kind == TransferKind::Backup ? QStringLiteral("Backup") : QStringLiteral("Restore");
}

QString Details(const CopyResult& result) {
    QStringList lines;
    for (const CopyFailure& failure : result.failures)
        lines.append(QStringLiteral("Failed: %1: %2").arg(failure.path, failure.reason));
    for (const QString& path : result.skippedFiles)
        lines.append(QStringLiteral("Skipped: %1").arg(path));
    return lines.join(u'\n');
}

} // namespace

QString BackupConfirmText(QChar cardLetter, const QString& shortenedDestination,
                          std::uint64_t bytes, std::int32_t files) {
    return QStringLiteral("Copying contents of BR memory card in drive ") + cardLetter +
           QStringLiteral("\r\nto ") + shortenedDestination + QStringLiteral(".\r\n\r\n") +
           SizeInFiles(bytes, files);
}

QString RestoreConfirmText(const QString& shortenedFolder, QChar cardLetter, std::uint64_t bytes,
                           std::int32_t files) {
    return QStringLiteral("Restoring folder\r\n") + shortenedFolder +
           QStringLiteral("\r\nto BR memory card in drive ") + cardLetter +
           QStringLiteral(".\r\n\r\n") + SizeInFiles(bytes, files);
}

QString RestoreNoCardText() {
    return QStringLiteral("\rBR memory card not detected. Unable to restore.");
}

bool FitsCardCapacity(std::uint64_t totalMB, std::uint64_t bytes) {
    // In 64 bits; a capacity that would not fit in 64 bits holds any folder.
    if (totalMB > UINT64_MAX / 1000000)
        return true;
    return totalMB * 1000000 >= bytes;
}

QString InsufficientCapacityText(QChar cardLetter, std::uint64_t totalMB, std::uint64_t bytes) {
    return QStringLiteral("Insufficient Capacity\r\n\r\nThe BR memory card in drive ") +
           cardLetter + QStringLiteral(" has a capacity of ") + QString::number(totalMB) +
           QStringLiteral(" MB.\r\n\r\nThe selected folder you're trying to restore has a total "
                          "size of ") +
           FormatSizeText(static_cast<std::int64_t>(bytes), SizeUnitAuto) + u'.';
}

QString ElapsedTimeText(std::int64_t seconds) {
    const std::int64_t minutes = seconds / 60;
    return QString::number(minutes) + u':' + ZeroPadded(seconds - 60 * minutes, 2);
}

QString CopyCountsText(const CopyResult& result) {
    return QStringLiteral("%1 copied, %2 replaced, %3 skipped, %4 failed")
        .arg(result.copied)
        .arg(result.replaced)
        .arg(result.skipped)
        .arg(result.failed);
}

TransferOutcome TransferOutcomeText(TransferKind kind, const CopyResult& result,
                                    std::int64_t elapsedSeconds) {
    const QString elapsed =
        QStringLiteral("\r\n\r\nElapsed Time: ") + ElapsedTimeText(elapsedSeconds);
    const QString name = FlowName(kind);
    TransferOutcome outcome;
    outcome.details = Details(result);
    if (result.complete()) {
        outcome.done = true;
        outcome.text = name + QStringLiteral(" done.") + elapsed;
    } else if (result.refused) {
        outcome.text = name + QStringLiteral(" not started.\r\n\r\n") + result.refusal;
    } else if (result.cancelled) {
        outcome.text = name + QStringLiteral(" cancelled.\r\n\r\nFiles ") + CopyCountsText(result) +
                       u'.' + elapsed;
    } else {
        outcome.text = name + QStringLiteral(" incomplete.\r\n\r\nFiles ") +
                       CopyCountsText(result) + u'.' + elapsed;
    }
    return outcome;
}
