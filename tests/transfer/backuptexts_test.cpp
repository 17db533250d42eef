#include "support/cardtest.h"
#include "transfer/backuptexts.h"

#include <gtest/gtest.h>

namespace {

class BackupTextsTest : public ::testing::Test {
protected:
    ScopedDefaultLocale m_locale{QLocale(QLocale::English, QLocale::UnitedStates)};
};

TEST_F(BackupTextsTest, ConfirmationAndCapacityTexts) {
    EXPECT_EQ(BackupConfirmText(u'E', QStringLiteral("/home/me/.../Backup 1"), 123456789, 42),
              QStringLiteral("Copying contents of BR memory card in drive E\r\nto "
                             "/home/me/.../Backup 1.\r\n\r\n(123 MB in 42 files)"));
    EXPECT_EQ(RestoreConfirmText(QStringLiteral("/b/Backup 1"), u'F', 0, 0),
              QStringLiteral("Restoring folder\r\n/b/Backup 1\r\nto BR memory card in drive "
                             "F.\r\n\r\n(0.00 KB in 0 files)"));
    EXPECT_EQ(RestoreNoCardText(),
              QStringLiteral("\rBR memory card not detected. Unable to restore."));
    EXPECT_EQ(InsufficientCapacityText(u'E', 100, 100000001),
              QStringLiteral("Insufficient Capacity\r\n\r\nThe BR memory card in drive E has a "
                             "capacity of 100 MB.\r\n\r\nThe selected folder you're trying to "
                             "restore has a total size of 100 MB."));
    // The whole card counts, to the byte, without overflow.
    EXPECT_TRUE(FitsCardCapacity(100, 100000000));
    EXPECT_FALSE(FitsCardCapacity(100, 100000001));
    EXPECT_TRUE(FitsCardCapacity(UINT64_MAX / 10, UINT64_MAX));
}

// Elapsed time keeps counting minutes above an hour.
TEST_F(BackupTextsTest, OnlyACompleteCopyIsDone) {
    const std::pair<std::int64_t, const char*> times[] = {
        {0, "0:00"}, {5, "0:05"}, {75, "1:15"}, {3599, "59:59"}, {3725, "62:05"}};
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(ElapsedTimeText(seconds), QLatin1String(text)) << seconds;
    CopyResult complete;
    complete.copied = 3;
    CopyResult cancelled = complete;
    cancelled.cancelled = true;
    CopyResult failed = complete;
    failed.failed = 1;
    failed.failures = {{QStringLiteral("/c/Roland/x"), QStringLiteral("Input/output error")}};
    CopyResult skipped = complete;
    skipped.skipped = 1;
    skipped.skippedFiles = {QStringLiteral("/c/Roland/link")};
    CopyResult refused;
    refused.refused = true;
    refused.refusal = QStringLiteral("No room.");
    const char* const counts = "\r\n\r\nFiles 3 copied, 0 replaced, %1 skipped, %2 failed."
                               "\r\n\r\nElapsed Time: 62:05";
    const struct {
        TransferKind kind;
        CopyResult result;
        QString text;
        const char* details;
    } cases[] = {
        {TransferKind::Backup, complete, QStringLiteral("Backup done.\r\n\r\nElapsed Time: 62:05"),
         ""},
        {TransferKind::Restore, complete,
         QStringLiteral("Restore done.\r\n\r\nElapsed Time: 62:05"), ""},
        {TransferKind::Backup, cancelled,
         QStringLiteral("Backup cancelled.") + QString::fromUtf8(counts).arg(0).arg(0), ""},
        {TransferKind::Restore, failed,
         QStringLiteral("Restore incomplete.") + QString::fromUtf8(counts).arg(0).arg(1),
         "Failed: /c/Roland/x: Input/output error"},
        {TransferKind::Backup, skipped,
         QStringLiteral("Backup incomplete.") + QString::fromUtf8(counts).arg(1).arg(0),
         "Skipped: /c/Roland/link"},
        {TransferKind::Restore, refused, QStringLiteral("Restore not started.\r\n\r\nNo room."),
         ""},
    };
    for (const auto& c : cases) {
        const TransferOutcome outcome = TransferOutcomeText(c.kind, c.result, 3725);
        EXPECT_EQ(outcome.done, c.text.contains(QLatin1String(" done."))) << c.text.toStdString();
        EXPECT_EQ(outcome.text, c.text);
        EXPECT_EQ(outcome.details, QString::fromUtf8(c.details));
    }
}

} // namespace
