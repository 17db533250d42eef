#include "app/support/mainwindowfixture.h"

#include "app/backuprestoreconfirm.h"
#include "app/copyfiles.h"
#include "app/foldertree.h"
#include "app/shortenpath.h"
#include "transfer/backuptexts.h"
#include "transfer/sizetext.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// Copies by a script and answers the copy's questions, recording the requests, the thread
// they came on and the questions.
class FakeCopier : public FolderCopier, public CopyQuestions {
public:
    std::function<CopyResult(const CopyRequest&, CopyObserver&)> script;
    QList<CopyRequest> requests;
    QThread* thread = nullptr;
    QStringList asked;

    CopyResult copy(const CopyRequest& request, CopyObserver& observer) override {
        requests.append(request);
        thread = QThread::currentThread();
        return script ? script(request, observer) : CopyResult();
    }
    ConflictAnswer askConflict(QWidget*, const QString& target) override {
        asked.append(u"conflict "_s + target);
        return ConflictAnswer::ReplaceAll;
    }
    ErrorAnswer askError(QWidget*, const QString& path, const QString& reason) override {
        asked.append(u"error "_s + path + u' ' + reason);
        return ErrorAnswer::Skip;
    }
};

} // namespace

// Backup and restore from the tool bar, with fake drives, the real dialogs, and a fake or
// real copy engine.
class BackupRestoreTest : public MainWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        setUpWindowFixture();
        m_fake = FakeCopier();
        std::int64_t now = 1000;
        m_calendarSeconds = [now]() mutable { return (now += 3725) - 3725; };
        putCardIn();
        openIn();
        makeDialogs();
        m_confirm = std::make_unique<TFormBackupRestoreConfirm>(m_window.get());
        m_copyFiles = std::make_unique<TFormCopyFiles>(m_fake, m_fake, m_window.get());
        m_window->setTransferDialogs(m_selectFolder.get(), m_confirm.get(), m_copyFiles.get());
    }
    void cleanup() {
        m_copyFiles.reset();
        m_confirm.reset();
        tearDownWindowFixture();
    }

    void backupCopiesTheWholeRolandFolderOfTheCard();
    void restoreRefusesThenReplacesCardFilesAndIsDoneOnlyWhenComplete();
    void copyWindowAsksOverItselfAndCancels();

private:
    // Runs the button's handler, answering Select Folder with `folder` and the confirmation
    // (checked to be centred over the window and to show its text) with OK or Cancel;
    // returns the confirmation's caption and text ("" when not shown).
    QStringList clickAnswering(const QString& folder, bool confirm) {
        QStringList shown;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == m_selectFolder.get()) {
                QCOMPARE(m_selectFolder->directory(), QDir::toNativeSeparators(path(u"backup"_s)));
                QVERIFY(m_selectFolder->setDirectory(folder));
                m_selectFolder->accept();
            } else if (modal == m_confirm.get()) {
                shown = QStringList{m_confirm->windowTitle(), m_confirm->text()};
                QCOMPARE(m_confirm->LabelBackupRestore()->text(), MessageDisplayText(shown[1]));
                QVERIFY((m_confirm->frameGeometry().center() - m_window->frameGeometry().center())
                            .manhattanLength() <= 4);
                (confirm ? m_confirm->btnOK() : m_confirm->btnCancel())->click();
            }
        });
        driver.start(10);
        // The button is greyed on folders without songs; the handler still serves them.
        if (m_window->ToolButtonBackupRestore()->isEnabled())
            m_window->ToolButtonBackupRestore()->click();
        else
            m_window->ToolButtonBackupRestoreClick();
        return shown;
    }

    std::unique_ptr<TFormBackupRestoreConfirm> m_confirm;
    std::unique_ptr<TFormCopyFiles> m_copyFiles;
    FakeCopier m_fake;
    PosixCopyFileLayer m_realFiles;
    CopyEngine m_realEngine{m_realFiles};
};

void BackupRestoreTest::backupCopiesTheWholeRolandFolderOfTheCard() {
    TFormBackupRestoreConfirm& dialog = *m_confirm;
    QLabel* label = dialog.LabelBackupRestore();
    QCOMPARE(dialog.windowTitle(), u"Confirm Backup/Restore"_s);
    QVERIFY(dialog.size() == QSize(500, 210) && label->size() == QSize(470, 100));
    QVERIFY(label->alignment() == Qt::AlignCenter && label->font().pixelSize() == 13);
    QCOMPARE(dialog.btnOK()->text() + dialog.btnCancel()->text(), u"OKCancel"_s);
    // Started from a song folder of the card: the whole Roland folder is counted and copied.
    QVERIFY(m_window->DirectoryListBox1()->setDirectory(path(u"card/Roland/BR0/SONG001.BR0"_s)));
    const QString target = path(u"plain/Backup 1"_s);
    QVERIFY(QDir().mkpath(target));
    const QStringList cancelled = clickAnswering(target, false);
    QVERIFY(m_fake.requests.isEmpty() && m_messages.messages().isEmpty());
    QVERIFY(!QFileInfo::exists(target + u"/WAV"_s));
    QCOMPARE(clickAnswering(target, true), cancelled);
    std::uint64_t bytes = 0;
    const std::int32_t files = FolderSize(path(u"card/Roland"_s), bytes);
    const QString shortTarget = ShortenPath(target, label->fontMetrics(), 420);
    QCOMPARE(cancelled, (QStringList{u"Confirm Backup"_s,
                                     BackupConfirmText(u'E', shortTarget, bytes, files)}));
    QCOMPARE(m_fake.requests.size(), 1);
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].source), path(u"card/Roland"_s));
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].destination), target + u"/Roland"_s);
    QVERIFY(!m_fake.requests[0].replaceWithoutAsking);
    QVERIFY(QFileInfo(target + u"/WAV"_s).isDir());
    QVERIFY(QFileInfo(target + u"/MP3"_s).isDir());
    QVERIFY(
        m_messages.only(MessageKind::Information, u"Backup done.\r\n\r\nElapsed Time: 62:05"_s));
    QVERIFY(!m_copyFiles->isVisible());
}

// Refused without a card and when the folder is bigger than the card (the capacity rule
// and its text belong to the transfer layer). A backup folder replaces the card's files
// without asking. A folder without a Roland folder, through the real engine, copies
// nothing and is not "done".
void BackupRestoreTest::restoreRefusesThenReplacesCardFilesAndIsDoneOnlyWhenComplete() {
    TFormMain& window = *m_window;
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"plain"_s)));
    m_drives->removeDrive(u'E');
    QVERIFY(clickAnswering(QString(), true).isEmpty());
    putCardIn();
    m_drives->drive(u'E')->totalBytes = 999'999; // under 1 MB
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"backup"_s)));
    std::uint64_t bytes = 0;
    FolderSize(path(u"backup/Roland"_s), bytes);
    QVERIFY(clickAnswering(QString(), true).isEmpty());
    QCOMPARE(m_messages.texts(MessageKind::Warning),
             (QStringList{u"\rBR memory card not detected. Unable to restore."_s,
                          InsufficientCapacityText(u'E', 0, bytes)}));
    m_messages.clear();
    m_drives->drive(u'E')->totalBytes = 2'000'000'000;
    clickAnswering(QString(), true);
    QCOMPARE(m_fake.requests.size(), 1);
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].source), path(u"backup/Roland"_s));
    QCOMPARE(QDir::cleanPath(m_fake.requests[0].destination), path(u"card/Roland"_s));
    QVERIFY(m_fake.requests[0].replaceWithoutAsking);
    QVERIFY(
        m_messages.only(MessageKind::Information, u"Restore done.\r\n\r\nElapsed Time: 62:05"_s));
    m_messages.clear();
    QVERIFY(window.DirectoryListBox1()->setDirectory(path(u"plain"_s)));
    m_fake.script = [this](const CopyRequest& request, CopyObserver& observer) {
        return m_realEngine.copy(request, observer);
    };
    QCOMPARE(clickAnswering(QString(), true).value(1),
             RestoreConfirmText(ShortenPath(window.currentFolder(),
                                            m_confirm->LabelBackupRestore()->fontMetrics(), 390),
                                u'E', 0, 0));
    QVERIFY(m_messages.onlyText(MessageKind::Warning)
                .startsWith(u"Restore not started.\r\n\r\nThe folder "_s));
}

// The copy runs on another thread; its questions come over the progress window, which is
// modal meanwhile, Cancel reaches the copy, and an incomplete copy ends in a warning with
// the details the result gives.
void BackupRestoreTest::copyWindowAsksOverItselfAndCancels() {
    CopyResult failed;
    failed.copied = 5;
    failed.failed = 1;
    failed.failures = {{u"/x/TAKE.BR0"_s, u"No space left on device"_s}};
    QList<int> answers;
    m_fake.script = [&answers, failed](const CopyRequest& request, CopyObserver& observer) {
        answers << int(observer.askConflict(request.destination + u"/a"_s, {}, {}))
                << int(observer.askError(u"/b"_s, u"Input/output error"_s));
        observer.progress({1, 4, 1000, 4000, u"/src/a"_s, 500});
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
            QApplication::activeModalWidget() == m_copyFiles.get() && !m_window->isActiveWindow();
        QCOMPARE(m_copyFiles->filesLabel()->text(), u"1 of 4 files"_s);
        QCOMPARE(m_copyFiles->bytesLabel()->text(), u"1 KB of 4 KB, 0:06 left"_s);
        QCOMPARE(m_copyFiles->progressBar()->value(), 250);
        m_copyFiles->cancelButton()->click();
    });
    clickAnswering(path(u"plain"_s), true);
    QVERIFY(sawModal && m_fake.thread != QThread::currentThread());
    QCOMPARE(answers, (QList<int>{int(ConflictAnswer::ReplaceAll), int(ErrorAnswer::Skip)}));
    QCOMPARE(m_fake.asked, (QStringList{u"conflict "_s + path(u"plain/Roland/a"_s),
                                        u"error /b Input/output error"_s}));
    failed.cancelled = true;
    const TransferOutcome outcome = TransferOutcomeText(TransferKind::Backup, failed, 3725);
    QVERIFY(m_messages.only(MessageKind::Warning, outcome.text));
    QCOMPARE(m_messages.messages()[0].details, outcome.details);
}

QTEST_MAIN(BackupRestoreTest)
#include "backuprestore_test.moc"
