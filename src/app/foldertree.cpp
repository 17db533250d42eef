#include "app/foldertree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

DirectoryListBox::DirectoryListBox(QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)) {
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        hideColumn(column);
    }
    setHeaderHidden(true);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    setContextMenuPolicy(Qt::CustomContextMenu);

    connect(this, &QAbstractItemView::clicked, this, &DirectoryListBox::openIndex);
    connect(this, &QAbstractItemView::activated, this, &DirectoryListBox::openIndex);
    connect(this, &QWidget::customContextMenuRequested, this,
            &DirectoryListBox::onContextMenuRequested);
    // The model lists and sorts folders in the background: until the user touches the tree,
    // each update shows the current folder again, expanded and in view.
    const auto reveal = [this] {
        if (m_revealPending && !m_directory.isEmpty())
            showFolder(m_directory);
    };
    connect(m_model, &QFileSystemModel::directoryLoaded, this, reveal);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, reveal);
}

QString DirectoryListBox::NormalizedFolder(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

QModelIndex DirectoryListBox::indexOfFolder(const QString& path) const {
    return m_model->index(QDir::fromNativeSeparators(NormalizedFolder(path)));
}

bool DirectoryListBox::setDirectory(const QString& path) {
    const QString folder = NormalizedFolder(path);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return false;
    }
    m_revealPending = true;
    showFolder(folder);
    if (folder == m_directory && !m_directoryGone) {
        return true;
    }
    m_directoryGone = false;
    m_directory = folder;
    emit directoryChanged(m_directory);
    return true;
}

void DirectoryListBox::showFolder(const QString& folder) {
    const QModelIndex index = indexOfFolder(folder);
    if (!index.isValid()) {
        return;
    }
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
        expand(parent);
    }
    expand(index);
    setCurrentIndex(index);
    scrollTo(index);
}

void DirectoryListBox::openIndex(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    setDirectory(m_model->filePath(index));
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
    m_revealPending = false;
    QTreeView::keyPressEvent(event);
}

void DirectoryListBox::wheelEvent(QWheelEvent* event) {
    m_revealPending = false;
    QTreeView::wheelEvent(event);
}

void DirectoryListBox::mousePressEvent(QMouseEvent* event) {
    m_revealPending = false;
    // The right button only selects the entry under the mouse; on empty space it leaves the
    // selection alone, so that the pop-up acts on the entry already selected.
    if (event->button() == Qt::RightButton) {
        const QModelIndex under = indexAt(event->position().toPoint());
        if (under.isValid()) {
            setCurrentIndex(under);
        }
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void DirectoryListBox::onContextMenuRequested(const QPoint& viewportPos) {
    const QModelIndex under = indexAt(viewportPos);
    if (under.isValid()) {
        setCurrentIndex(under);
    }
    openIndex(currentIndex());
    emit contextPopupRequested(viewport()->mapToGlobal(viewportPos));
}
