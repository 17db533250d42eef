#pragma once

#include "transfer/copyengine.h"

#include <QChar>
#include <QString>
#include <cstdint>

// The texts of the backup and restore flows: confirmations, refusals and outcomes.

enum class TransferKind { Backup, Restore };

// "Copying contents of BR memory card in drive E\r\nto <dest>.\r\n\r\n(<size> in <n> files)"
QString BackupConfirmText(QChar cardLetter, const QString& shortenedDestination,
                          std::uint64_t bytes, std::int32_t files);
// "Restoring folder\r\n<folder>\r\nto BR memory card in drive E.\r\n\r\n(<size> in <n> files)"
QString RestoreConfirmText(const QString& shortenedFolder, QChar cardLetter, std::uint64_t bytes,
                           std::int32_t files);
QString RestoreNoCardText();
// True when a folder of `bytes` fits on a card of `totalMB` (decimal megabytes).
bool FitsCardCapacity(std::uint64_t totalMB, std::uint64_t bytes);
QString InsufficientCapacityText(QChar cardLetter, std::uint64_t totalMB, std::uint64_t bytes);

// Whole seconds as minutes and seconds, "m:ss"; minutes go on above 59 (3725 gives 62:05).
QString ElapsedTimeText(std::int64_t seconds);

// The message that ends a flow: "Backup done." / "Restore done." with the elapsed time when
// every file was copied; otherwise a warning saying what happened, with details.
struct TransferOutcome {
    bool done = false; // information box; otherwise a warning
    QString text;
    QString details; // failed and skipped files, one per line
};
TransferOutcome TransferOutcomeText(TransferKind kind, const CopyResult& result,
                                    std::int64_t elapsedSeconds);

// "3 copied, 1 replaced, 0 skipped, 2 failed"
QString CopyCountsText(const CopyResult& result);
