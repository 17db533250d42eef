#pragma once

#include "transfer/copyengine.h"

#include <QDialog>
#include <QMutex>
#include <QString>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

// The questions a copy asks the user, over the progress window.
class CopyQuestions {
public:
    virtual ~CopyQuestions() = default;
    virtual ConflictAnswer askConflict(QWidget* parent, const QString& target) = 0;
    virtual ErrorAnswer askError(QWidget* parent, const QString& path, const QString& reason) = 0;
};

// The real questions (QMessageBox).
class QtCopyQuestions final : public CopyQuestions {
public:
    ConflictAnswer askConflict(QWidget* parent, const QString& target) override;
    ErrorAnswer askError(QWidget* parent, const QString& path, const QString& reason) override;
};

// The folders of the copy in progress, each ending with a separator.
struct CopyInfo {
    QString source;
    QString destination;
};

// The copy progress window: source and destination, the current file, a bar over the bytes,
// "n of N files", the bytes done and the time left, and Cancel. The copy runs on a worker
// thread; the window is application-modal meanwhile, so the other windows stay painted but
// take no input. Questions of the copy are asked over this window.
class TFormCopyFiles : public QDialog {
    Q_OBJECT

public:
    TFormCopyFiles(FolderCopier& copier, CopyQuestions& questions, QWidget* parent = nullptr);
    ~TFormCopyFiles() override;

    // Copies the contents of `source` into `destination` and returns what happened.
    CopyResult copy(const QString& source, const QString& destination, bool replaceWithoutAsking);

    const CopyInfo& copyInfo() const { return m_copyInfo; }
    bool isCopying() const { return m_copying; }
    // The Cancel button: the copy stops at its next block and cleans up.
    void cancelCopy();

    QLabel* sourceLabel() const { return m_source; }
    QLabel* destinationLabel() const { return m_destination; }
    QLabel* fileLabel() const { return m_file; }
    QLabel* filesLabel() const { return m_files; }
    QLabel* bytesLabel() const { return m_bytes; }
    QProgressBar* progressBar() const { return m_bar; }
    QPushButton* cancelButton() const { return m_cancel; }

    // "12 of 40 files"; "1 MB of 5 MB, 0:42 left" (no time while the speed is unknown).
    static QString FilesText(const CopyProgress& progress);
    static QString BytesText(const CopyProgress& progress);

signals:
    // After each shown progress (for tests and the status of the main window).
    void progressShown(const CopyProgress& progress);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    class Bridge;
    void showProgress(const CopyProgress& progress);
    void showFolders();

    FolderCopier& m_copier;
    CopyQuestions& m_questions;
    CopyInfo m_copyInfo;
    std::atomic<bool> m_cancelled{false};
    bool m_copying = false;
    QLabel* m_source;
    QLabel* m_destination;
    QLabel* m_file;
    QProgressBar* m_bar;
    QLabel* m_files;
    QLabel* m_bytes;
    QPushButton* m_cancel;
};
