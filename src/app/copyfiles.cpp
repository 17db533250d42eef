#include "app/copyfiles.h"

#include "app/shortenpath.h"
#include "card/cardpath.h"
#include "transfer/backuptexts.h"
#include "transfer/sizetext.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <thread>

namespace {

constexpr int BarSteps = 1000;

} // namespace

// The engine's side of the window: runs on the worker thread and hands everything over to
// the window's thread. Progress is coalesced: at most one update waits at a time.
class TFormCopyFiles::Bridge final : public CopyObserver {
public:
    explicit Bridge(TFormCopyFiles& window) : m_window(window) {}

    void progress(const CopyProgress& progress) override {
        QMutexLocker lock(&m_mutex);
        m_latest = progress;
        if (m_waiting)
            return;
        m_waiting = true;
        QMetaObject::invokeMethod(
            &m_window,
            [this] {
                CopyProgress latest;
                {
                    QMutexLocker inner(&m_mutex);
                    latest = m_latest;
                    m_waiting = false;
                }
                m_window.showProgress(latest);
            },
            Qt::QueuedConnection);
    }

    ConflictAnswer askConflict(const QString& target, const FileEntry&, const FileEntry&) override {
        ConflictAnswer answer = ConflictAnswer::Cancel;
        QMetaObject::invokeMethod(
            &m_window, [&] { answer = m_window.m_questions.askConflict(&m_window, target); },
            Qt::BlockingQueuedConnection);
        return answer;
    }

    ErrorAnswer askError(const QString& path, const QString& reason) override {
        ErrorAnswer answer = ErrorAnswer::Cancel;
        QMetaObject::invokeMethod(
            &m_window, [&] { answer = m_window.m_questions.askError(&m_window, path, reason); },
            Qt::BlockingQueuedConnection);
        return answer;
    }

    bool cancelRequested() override { return m_window.m_cancelled.load(); }

private:
    TFormCopyFiles& m_window;
    QMutex m_mutex;
    CopyProgress m_latest;
    bool m_waiting = false;
};

TFormCopyFiles::TFormCopyFiles(FolderCopier& copier, CopyQuestions& questions, QWidget* parent)
    : QDialog(parent), m_copier(copier), m_questions(questions), m_source(new QLabel(this)),
      m_destination(new QLabel(this)), m_file(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_files(new QLabel(this)), m_bytes(new QLabel(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Copying..."));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(440, 190);
    m_bar->setRange(0, BarSteps);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : {static_cast<QWidget*>(m_source), static_cast<QWidget*>(m_destination),
                            static_cast<QWidget*>(m_file), static_cast<QWidget*>(m_bar),
                            static_cast<QWidget*>(m_files), static_cast<QWidget*>(m_bytes)})
        layout->addWidget(widget);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, &TFormCopyFiles::cancelCopy);
}

TFormCopyFiles::~TFormCopyFiles() = default;

CopyResult TFormCopyFiles::copy(const QString& source, const QString& destination,
                                bool replaceWithoutAsking) {
    m_copyInfo = {WithTrailingSeparator(source), WithTrailingSeparator(destination)};
    m_cancelled = false;
    m_copying = true;
    m_cancel->setEnabled(true);
    showFolders();
    showProgress(CopyProgress());
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    show();
    Bridge bridge(*this);
    CopyResult result;
    QEventLoop loop;
    const CopyRequest request{source, destination, replaceWithoutAsking};
    std::thread worker([&] {
        result = m_copier.copy(request, bridge);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    // Updates still queued refer to the bridge; let them run before it goes.
    QCoreApplication::sendPostedEvents(this);
    m_copying = false;
    hide();
    return result;
}

void TFormCopyFiles::cancelCopy() {
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_file->setText(QStringLiteral("Cancelling..."));
}

void TFormCopyFiles::closeEvent(QCloseEvent* event) {
    if (m_copying) {
        cancelCopy();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFormCopyFiles::reject() {
    if (m_copying)
        cancelCopy();
    else
        QDialog::reject();
}

void TFormCopyFiles::showFolders() {
    const int width = 400;
    m_source->setText(QStringLiteral("From: ") +
                      ShortenPath(m_copyInfo.source, m_source->fontMetrics(), width));
    m_destination->setText(QStringLiteral("To: ") + ShortenPath(m_copyInfo.destination,
                                                                m_destination->fontMetrics(),
                                                                width));
}

void TFormCopyFiles::showProgress(const CopyProgress& progress) {
    if (!m_cancelled)
        m_file->setText(progress.currentFile.isEmpty()
                            ? QString()
                            : ShortenPath(progress.currentFile, m_file->fontMetrics(), 400));
    const double share = progress.bytesTotal > 0 ? static_cast<double>(progress.bytesDone) /
                                                       static_cast<double>(progress.bytesTotal)
                                                 : (progress.filesTotal > 0 ? 0.0 : 1.0);
    m_bar->setValue(static_cast<int>(std::min(1.0, share) * BarSteps));
    m_files->setText(FilesText(progress));
    m_bytes->setText(BytesText(progress));
    emit progressShown(progress);
}

QString TFormCopyFiles::FilesText(const CopyProgress& progress) {
    return QStringLiteral("%1 of %2 files").arg(progress.filesDone).arg(progress.filesTotal);
}

QString TFormCopyFiles::BytesText(const CopyProgress& progress) {
    QString text = FormatSizeText(progress.bytesDone, SizeUnitAuto) + QStringLiteral(" of ") +
                   FormatSizeText(progress.bytesTotal, SizeUnitAuto);
    if (progress.bytesPerSecond > 0 && progress.bytesDone < progress.bytesTotal) {
        const double left =
            static_cast<double>(progress.bytesTotal - progress.bytesDone) / progress.bytesPerSecond;
        text += QStringLiteral(", ") + ElapsedTimeText(static_cast<std::int64_t>(left + 0.5)) +
                QStringLiteral(" left");
    }
    return text;
}
