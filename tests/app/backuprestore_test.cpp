#include "app/support/mainwindowfixture.h"

#include "app/backuprestoreconfirm.h"
#include "app/copyfiles.h"
#include "app/foldertree.h"
#include "app/shortenpath.h"
#include "fixture/cardfixture.h"
#include "transfer/backuptexts.h"
#include "transfer/sizetext.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// Copies by a script, or through `real` when set; records each request and its thread.
class FakeCopier : public FolderCopier {
public:
    std::function<CopyResult(const CopyRequest&, CopyObserver&)> script;
    FolderCopier* real = nullptr;
    QList<CopyRequest> requests;
    QThread* thread = nullptr;

    CopyResult copy(const CopyRequest& request, CopyObserver& observer) override {
        requests.append(request);
        thread = QThread::currentThread();
        if (real)
            return real->copy(request, observer);
        return script ? script(request, observer) : CopyResult();
    }
};

class ScriptedQuestions : public CopyQuestions {
public:
    QStringList asked;
    ConflictAnswer askConflict(QWidget*, const QString& target) override {
        asked.append(QStringLiteral("conflict ") + target);
        return ConflictAnswer::ReplaceAll;
    }
    ErrorAnswer askError(QWidget*, const QString& path, const QString& reason) override {
        asked.append(QStringLiteral("error ") + path + u' ' + reason);
        return ErrorAnswer::Skip;
    }
};

} // namespace

// Backup and restore from the tool bar, with fake drives, the real dialogs, and a fake or
// real copy engine.
class BackupRestoreTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void confirmationDialogAsDesigned();
    void backupCopiesTheWholeRolandFolderOfTheCard();
    void backupCancelledInADialogCopiesNothing();
    void restoreWithoutCardWarns();
    void restoreCapacityEdges();
    void restoreWithoutRolandFolderIsNotDone();
    void restoreReplacesCardFilesWithoutAsking();
    void copyWindowAsksOverItselfAndCancels();

private:
    TFormMain& openWithCard(bool card);
    // Runs the button's handler, answering Select Folder with `folder` and the confirmation
    // with OK or Cancel; returns the confirmation's caption and text ("" when not shown).
    QStringList clickAnswering(const QString& folder, bool confirm);
    void expectOneMessage(MessageKind kind, const QString& text);

    std::unique_ptr<TFormBackupRestoreConfirm> m_confirm;
    std::unique_ptr<TFormCopyFiles> m_copyFiles;
    FakeCopier m_fake;
    ScriptedQuestions m_questions;
    PosixCopyFileLayer m_realFiles;
    CopyEngine m_realEngine{m_realFiles};
};

void BackupRestoreTest::init() {
    setUpWindowFixture();
    m_fake = FakeCopier();
    m_questions = ScriptedQuestions();
    std::int64_t now = 1000;
    m_calendarSeconds = [now]() mutable { return (now += 3725) - 3725; };
}

void BackupRestoreTest::cleanup() {
    m_copyFiles.reset();
    m_confirm.reset();
    tearDownWindowFixture();
}

TFormMain& BackupRestoreTest::openWithCard(bool card) {
    if (card)
        putCardIn();
    writeSettings(defaultDirSettings(QStringLiteral("backup")));
    TFormMain& window = open();
    makeDialogs();
    m_confirm = std::make_unique<TFormBackupRestoreConfirm>(&window);
    m_copyFiles = std::make_unique<TFormCopyFiles>(m_fake, m_questions, &window);
    window.setTransferDialogs(m_selectFolder.get(), m_confirm.get(), m_copyFiles.get());
    return window;
}

QStringList BackupRestoreTest::clickAnswering(const QString& folder, bool confirm) {
    QStringList shown;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == m_selectFolder.get()) {
            QCOMPARE(m_selectFolder->directory(),
                     QDir::toNativeSeparators(path(QStringLiteral("backup"))));
            QVERIFY(m_selectFolder->setDirectory(folder));
            m_selectFolder->accept();
        } else if (modal == m_confirm.get()) {
            shown = QStringList{m_confirm->windowTitle(), m_confirm->text()};
            (confirm ? m_confirm->btnOK() : m_confirm->btnCancel())->click();
        }
    });
    driver.start();
    // The button is greyed on folders without songs; the handler still serves them.
    if (m_window->ToolButtonBackupRestore()->isEnabled())
        m_window->ToolButtonBackupRestore()->click();
    else
        m_window->ToolButtonBackupRestoreClick();
    return shown;
}

void BackupRestoreTest::expectOneMessage(MessageKind kind, const QString& text) {
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, kind);
    QCOMPARE(m_messages.messages()[0].text, text);
}

void BackupRestoreTest::confirmationDialogAsDesigned() {
    TFormMain& window = openWithCard(true);
    TFormBackupRestoreConfirm& dialog = *m_confirm;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirm Backup/Restore"));
    QCOMPARE(dialog.size(), QSize(500, 210));
    QCOMPARE(dialog.LabelBackupRestore()->size(), QSize(470, 100));
    QCOMPARE(dialog.LabelBackupRestore()->alignment(), Qt::AlignCenter);
    QCOMPARE(dialog.LabelBackupRestore()->font().pixelSize(), 13);
    QCOMPARE(dialog.btnOK()->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.btnCancel()->text(), QStringLiteral("Cancel"));
    // OK answers true (Cancel is answered through the window below), centred over the owner
    // (the frame may be known only once the dialog is shown).
    QPoint centre;
    QString shown;
    QTimer::singleShot(0, &dialog, [&] {
        centre = dialog.frameGeometry().center();
        shown = dialog.LabelBackupRestore()->text();
        dialog.btnOK()->click();
    });
    QVERIFY(dialog.confirm(QStringLiteral("Confirm Restore"), QStringLiteral("\rA\r\nB")));
    QVERIFY((centre - window.frameGeometry().center()).manhattanLength() <= 4);
    QCOMPARE(shown, QStringLiteral("\nA\nB"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirm Restore"));
}

void BackupRestoreTest::backupCopiesTheWholeRolandFolderOfTheCard() {
    TFormMain& window = openWithCard(true);
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Backup  "));
    // Started from a song folder of the card: the whole Roland folder is counted and copied.
    QVERIFY(window.DirectoryListBox1()->setDirectory(
        path(QStringLiteral("card/Roland/BR0/SONG001.BR0"))));
    const QString target = path(QStringLiteral("plain/Backup 1"));
    QVERIFY(QDir().mkpath(target));
    const QStringList shown = clickAnswering(target, true);
    std::uint64_t bytes = 0;
    const std::int32_t files = FolderSize(path(QStringLiteral("card/Roland")), bytes);
    QVERIFY(files > 2);
    const QString shortTarget =
        ShortenPath(target, m_confirm->LabelBackupRestore()->fontMetrics(), 420);
    QCOMPARE(shown, (QStringList{QStringLiteral("Confirm Backup"),
                                 BackupConfirmText(u'E', shortTarget, bytes, files)}));
    QCOMPARE(m_fake.requests.size(), 1);
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].source), path(QStringLiteral("card/Roland")));
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].destination), target + QStringLiteral("/Roland"));
    QVERIFY(!m_fake.requests[0].replaceWithoutAsking);
    QVERIFY(QFileInfo(target + QStringLiteral("/WAV")).isDir());
    QVERIFY(QFileInfo(target + QStringLiteral("/MP3")).isDir());
    expectOneMessage(MessageKind::Information,
                     QStringLiteral("Backup done.\r\n\r\nElapsed Time: 62:05"));
    QCOMPARE(m_copyFiles->copyInfo().source, path(QStringLiteral("card/Roland/")));
    QCOMPARE(m_copyFiles->copyInfo().destination, target + QStringLiteral("/Roland/"));
    QVERIFY(!m_copyFiles->isVisible());
}

void BackupRestoreTest::backupCancelledInADialogCopiesNothing() {
    openWithCard(true);
    QCOMPARE(clickAnswering(path(QStringLiteral("plain")), false).size(), 2);
    QVERIFY(m_fake.requests.isEmpty());
    QVERIFY(m_messages.messages().isEmpty());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("plain/WAV"))));
}

void BackupRestoreTest::restoreWithoutCardWarns() {
    TFormMain& window = openWithCard(false);
    QCOMPARE(window.ToolButtonBackupRestore()->text(), QStringLiteral("  Restore  "));
    QVERIFY(clickAnswering(QString(), true).isEmpty());
    QVERIFY(m_fake.requests.isEmpty());
    expectOneMessage(MessageKind::Warning,
                     QStringLiteral("\rBR memory card not detected. Unable to restore."));
}

// A card of exactly 100 000 000 bytes takes a folder of that size, not one byte more.
void BackupRestoreTest::restoreCapacityEdges() {
    for (const qint64 size : {100'000'000LL, 100'000'001LL}) {
        cleanup();
        init();
        TFormMain& window = openWithCard(true);
        FakeDrive* card = m_drives->drive(u'E');
        card->totalBytes = 100'000'000;
        card->bytesPerSector = 1000;
        card->sectorsPerCluster = 1;
        CardFixture big(path(QStringLiteral("big")));
        QVERIFY(big.writeSizedFile(QStringLiteral("Roland/BR0/SONG001.BR0/TAKE.BR0"), size));
        QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("big"))));
        const QStringList shown = clickAnswering(QString(), false);
        if (size == 100'000'000) {
            QCOMPARE(shown.value(0), QStringLiteral("Confirm Restore"));
            QVERIFY(shown.value(1).endsWith(
                QStringLiteral("to BR memory card in drive E.\r\n\r\n(100 MB in 1 files)")));
            QVERIFY(m_messages.messages().isEmpty());
        } else {
            QVERIFY(shown.isEmpty());
            expectOneMessage(
                MessageKind::Warning,
                QStringLiteral("Insufficient Capacity\r\n\r\nThe BR memory card in drive E has "
                               "a capacity of 100 MB.\r\n\r\nThe selected folder you're trying "
                               "to restore has a total size of 100 MB."));
        }
        QVERIFY(m_fake.requests.isEmpty());
    }
}

void BackupRestoreTest::restoreWithoutRolandFolderIsNotDone() {
    TFormMain& window = openWithCard(true);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("plain"))));
    m_fake.real = &m_realEngine;
    const QStringList shown = clickAnswering(QString(), true);
    QCOMPARE(shown.value(1),
             RestoreConfirmText(ShortenPath(window.currentFolder(),
                                            m_confirm->LabelBackupRestore()->fontMetrics(), 390),
                                u'E', 0, 0));
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages()[0].kind, MessageKind::Warning);
    QVERIFY(m_messages.messages()[0].text.startsWith(
        QStringLiteral("Restore not started.\r\n\r\nThe folder ")));
}

void BackupRestoreTest::restoreReplacesCardFilesWithoutAsking() {
    TFormMain& window = openWithCard(true);
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(QStringLiteral("backup"))));
    clickAnswering(QString(), true);
    QCOMPARE(m_fake.requests.size(), 1);
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].source), path(QStringLiteral("backup/Roland")));
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].destination), path(QStringLiteral("card/Roland")));
    QVERIFY(m_fake.requests[0].replaceWithoutAsking);
    expectOneMessage(MessageKind::Information,
                     QStringLiteral("Restore done.\r\n\r\nElapsed Time: 62:05"));
}

// The copy runs on another thread; its questions come over the progress window, which is
// modal meanwhile, Cancel reaches the copy, and an incomplete copy ends in a warning with
// the details the result gives.
void BackupRestoreTest::copyWindowAsksOverItselfAndCancels() {
    TFormMain& window = openWithCard(true);
    CopyResult failed;
    failed.copied = 5;
    failed.failed = 1;
    failed.failures = {{QStringLiteral("/x/TAKE.BR0"), QStringLiteral("No space left on device")}};
    QList<int> answers;
    m_fake.script = [&answers, failed](const CopyRequest& request, CopyObserver& observer) {
        CopyProgress progress;
        progress.filesTotal = 4;
        progress.bytesTotal = 4000;
        observer.progress(progress);
        answers << int(observer.askConflict(request.destination + QStringLiteral("/a"), {}, {}))
                << int(observer.askError(QStringLiteral("/b"),
                                         QStringLiteral("Input/output error")));
        progress.filesDone = 1;
        progress.bytesDone = 1000;
        progress.bytesPerSecond = 500;
        progress.currentFile = QStringLiteral("/src/a");
        observer.progress(progress);
        for (int i = 0; i < 500 && !observer.cancelRequested(); ++i)
            QThread::msleep(10);
        CopyResult result = failed;
        result.cancelled = observer.cancelRequested();
        return result;
    };
    bool sawModal = false;
    connect(m_copyFiles.get(), &TFormCopyFiles::progressShown, this, [&](const CopyProgress& p) {
        if (p.filesDone != 1)
            return;
        sawModal =
            QApplication::activeModalWidget() == m_copyFiles.get() && !window.isActiveWindow();
        QCOMPARE(m_copyFiles->filesLabel()->text(), QStringLiteral("1 of 4 files"));
        QCOMPARE(m_copyFiles->bytesLabel()->text(), QStringLiteral("1 KB of 4 KB, 0:06 left"));
        QCOMPARE(m_copyFiles->progressBar()->value(), 250);
        m_copyFiles->cancelButton()->click();
    });
    clickAnswering(path(QStringLiteral("plain")), true);
    QVERIFY(sawModal);
    QCOMPARE(m_fake.requests.size(), 1);
    QVERIFY(m_fake.thread != QThread::currentThread());
    QCOMPARE(answers, (QList<int>{int(ConflictAnswer::ReplaceAll), int(ErrorAnswer::Skip)}));
    QCOMPARE(m_questions.asked,
             (QStringList{QStringLiteral("conflict ") + path(QStringLiteral("plain/Roland/a")),
                          QStringLiteral("error /b Input/output error")}));
    failed.cancelled = true;
    const TransferOutcome outcome = TransferOutcomeText(TransferKind::Backup, failed, 3725);
    QVERIFY(outcome.text.startsWith(QStringLiteral("Backup cancelled.")));
    expectOneMessage(MessageKind::Warning, outcome.text);
    QCOMPARE(m_messages.messages()[0].details, outcome.details);
}

QTEST_MAIN(BackupRestoreTest)
#include "backuprestore_test.moc"
