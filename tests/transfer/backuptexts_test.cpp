#include "transfer/backuptexts.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

class BackupTextsTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(BackupTextsTest, ConfirmationTexts) {
    EXPECT_EQ(BackupConfirmText(u'E', QStringLiteral("/home/me/.../Backup 1"), 123456789, 42),
              QStringLiteral("Copying contents of BR memory card in drive E\r\nto "
                             "/home/me/.../Backup 1.\r\n\r\n(123 MB in 42 files)"));
    EXPECT_EQ(RestoreConfirmText(QStringLiteral("/b/Backup 1"), u'F', 0, 0),
              QStringLiteral("Restoring folder\r\n/b/Backup 1\r\nto BR memory card in drive "
                             "F.\r\n\r\n(0.00 KB in 0 files)"));
    EXPECT_EQ(RestoreNoCardText(),
              QStringLiteral("\rBR memory card not detected. Unable to restore."));
}

TEST_F(BackupTextsTest, CapacityComparesWithTheWholeCard) {
    EXPECT_TRUE(FitsCardCapacity(100, 100000000));
    EXPECT_FALSE(FitsCardCapacity(100, 100000001));
    EXPECT_TRUE(FitsCardCapacity(0, 0));
    EXPECT_TRUE(FitsCardCapacity(UINT64_MAX / 10, UINT64_MAX));
    EXPECT_EQ(InsufficientCapacityText(u'E', 100, 100000001),
              QStringLiteral("Insufficient Capacity\r\n\r\nThe BR memory card in drive E has a "
                             "capacity of 100 MB.\r\n\r\nThe selected folder you're trying to "
                             "restore has a total size of 100 MB."));
}

TEST_F(BackupTextsTest, ElapsedTimeKeepsMinutesAboveAnHour) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0:00"}, {5, "0:05"}, {75, "1:15"}, {3599, "59:59"}, {3725, "62:05"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(ElapsedTimeText(seconds), QLatin1String(text)) << seconds;
}

TEST_F(BackupTextsTest, OnlyACompleteCopyIsDone) {
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
    struct Case {
        TransferKind kind;
        CopyResult result;
        bool done;
        const char* text;
        const char* details;
    };
    const Case cases[] = {
        {TransferKind::Backup, complete, true, "Backup done.\r\n\r\nElapsed Time: 62:05", ""},
        {TransferKind::Restore, complete, true, "Restore done.\r\n\r\nElapsed Time: 62:05", ""},
        {TransferKind::Backup, cancelled, false,
         "Backup cancelled.\r\n\r\nFiles 3 copied, 0 replaced, 0 skipped, 0 failed.\r\n\r\n"
         "Elapsed Time: 62:05",
         ""},
        {TransferKind::Restore, failed, false,
         "Restore incomplete.\r\n\r\nFiles 3 copied, 0 replaced, 0 skipped, 1 failed.\r\n\r\n"
         "Elapsed Time: 62:05",
         "Failed: /c/Roland/x: Input/output error"},
        {TransferKind::Backup, skipped, false,
         "Backup incomplete.\r\n\r\nFiles 3 copied, 0 replaced, 1 skipped, 0 failed.\r\n\r\n"
         "Elapsed Time: 62:05",
         "Skipped: /c/Roland/link"},
        {TransferKind::Restore, refused, false, "Restore not started.\r\n\r\nNo room.", ""},
    };
    for (const Case& c : cases) {
        const TransferOutcome outcome = TransferOutcomeText(c.kind, c.result, 3725);
        EXPECT_EQ(outcome.done, c.done) << c.text;
        EXPECT_EQ(outcome.text, QString::fromUtf8(c.text));
        EXPECT_EQ(outcome.details, QString::fromUtf8(c.details));
    }
}

} // namespace
