#pragma once

#include <QModelIndex>
#include <QString>
#include <QTreeView>

class QFileSystemModel;

// The folder tree: every folder of the file system from its root down, hidden folders left
// out. The current directory is the folder last opened: a single click on an entry opens it
// at once, as does Enter on the selected entry; a right click selects the entry under the
// mouse (if any), opens the selected entry and then asks the owner for its pop-up menu.
// Paths are native, without a trailing separator except for the root itself.
class DirectoryListBox : public QTreeView {
    Q_OBJECT

public:
    explicit DirectoryListBox(QWidget* parent = nullptr);

    // The current directory; empty until one has been set.
    QString directory() const { return m_directory; }
    // Opens a folder. Returns false and changes nothing when the path names no existing
    // folder. Emits directoryChanged when the directory differs from the current one.
    bool setDirectory(const QString& path);
    // The current directory's drive went away: opening any folder next, the same one
    // included (the card put back), is a change.
    void markDirectoryGone() { m_directoryGone = true; }
    bool directoryGone() const { return m_directoryGone; }

    // The model index of a folder, for positioning and tests.
    QModelIndex indexOfFolder(const QString& path) const;
    QFileSystemModel* fileSystemModel() const { return m_model; }

    // A path in the tree's form: absolute, cleaned, native, no trailing separator except
    // for the root.
    static QString NormalizedFolder(const QString& path);

signals:
    void directoryChanged(const QString& directory);
    // After a right click has opened the selected entry: the owner shows its pop-up here.
    void contextPopupRequested(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void openIndex(const QModelIndex& index);
    void showFolder(const QString& folder);
    void onContextMenuRequested(const QPoint& viewportPos);

    QFileSystemModel* m_model;
    QString m_directory;
    bool m_revealPending = false;
    bool m_directoryGone = false;
};
