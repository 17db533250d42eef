#include "app/foldertree.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class FolderTreeTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void setDirectoryNormalisesAndSignalsOnlyOnChange();
    void singleClickOpensClickedFolderOnce();
    void hiddenFoldersAreNotListed();
    void rightClickOpensEntryUnderMouseThenAsksForPopup();
    void rightClickOnEmptySpaceOpensSelectedEntry();
    void currentFolderIsExpandedAndScrolledIntoView();

private:
    QString folder(const QString& name) const {
        return QDir::toNativeSeparators(m_temp->path() + u'/' + name);
    }
    QString tempFolder() const { return QDir::toNativeSeparators(m_temp->path()); }
    QModelIndex loadedChild(const QString& name);
    void showTree(int height);
    void rightClick(const QPoint& pos);

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<DirectoryListBox> m_tree;
};

void FolderTreeTest::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    QDir dir(m_temp->path());
    QVERIFY(dir.mkdir(QStringLiteral("alpha")));
    QVERIFY(dir.mkdir(QStringLiteral("beta")));
    QVERIFY(dir.mkdir(QStringLiteral(".hidden")));
    m_tree = std::make_unique<DirectoryListBox>();
}

void FolderTreeTest::cleanup() {
    m_tree.reset();
    m_temp.reset();
}

void FolderTreeTest::showTree(int height) {
    m_tree->resize(400, height);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
}

// A right click as the window system delivers it: the press and release, then the
// context-menu event.
void FolderTreeTest::rightClick(const QPoint& pos) {
    QWidget* viewport = m_tree->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, pos);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QApplication::sendEvent(viewport, &event);
}

// Waits until the tree's model has listed the temporary folder, then returns a child.
QModelIndex FolderTreeTest::loadedChild(const QString& name) {
    QFileSystemModel* model = m_tree->fileSystemModel();
    const QModelIndex parent = m_tree->indexOfFolder(tempFolder());
    [&] { QTRY_COMPARE(model->rowCount(parent), 2); }();
    return m_tree->indexOfFolder(folder(name));
}

void FolderTreeTest::setDirectoryNormalisesAndSignalsOnlyOnChange() {
    QSignalSpy spy(m_tree.get(), &DirectoryListBox::directoryChanged);
    QVERIFY(m_tree->directory().isEmpty());

    QVERIFY(m_tree->setDirectory(folder(QStringLiteral("alpha")) + QDir::separator()));
    QCOMPARE(m_tree->directory(), folder(QStringLiteral("alpha")));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), folder(QStringLiteral("alpha")));

    // The same folder written differently is no change.
    QVERIFY(m_tree->setDirectory(folder(QStringLiteral("beta/../alpha"))));
    QCOMPARE(spy.count(), 1);

    QVERIFY(m_tree->setDirectory(QDir::rootPath()));
    QCOMPARE(m_tree->directory(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(spy.count(), 2);

    // A missing folder or none at all is refused.
    QVERIFY(!m_tree->setDirectory(folder(QStringLiteral("missing"))));
    QVERIFY(!m_tree->setDirectory(QString()));
    QCOMPARE(m_tree->directory(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(spy.count(), 2);
}

void FolderTreeTest::singleClickOpensClickedFolderOnce() {
    QVERIFY(m_tree->setDirectory(tempFolder()));
    showTree(300);
    const QModelIndex beta = loadedChild(QStringLiteral("beta"));
    m_tree->scrollTo(beta);
    QSignalSpy spy(m_tree.get(), &DirectoryListBox::directoryChanged);

    const QPoint centre = m_tree->visualRect(beta).center();
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(m_tree->directory(), folder(QStringLiteral("beta")));
    QCOMPARE(spy.count(), 1);

    // Clicking the open folder again changes nothing.
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(beta).center());
    QCOMPARE(spy.count(), 1);
}

void FolderTreeTest::hiddenFoldersAreNotListed() {
    QVERIFY(m_tree->setDirectory(tempFolder()));
    loadedChild(QStringLiteral("alpha"));
    QFileSystemModel* model = m_tree->fileSystemModel();
    const QModelIndex parent = m_tree->indexOfFolder(tempFolder());
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        names.append(model->fileName(model->index(row, 0, parent)));
    }
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}));
}

void FolderTreeTest::rightClickOpensEntryUnderMouseThenAsksForPopup() {
    QVERIFY(m_tree->setDirectory(tempFolder()));
    showTree(300);
    const QModelIndex alpha = loadedChild(QStringLiteral("alpha"));
    m_tree->scrollTo(alpha);
    QStringList events;
    connect(m_tree.get(), &DirectoryListBox::directoryChanged, this,
            [&](const QString& path) { events.append(u"change " + path); });
    connect(m_tree.get(), &DirectoryListBox::contextPopupRequested, this,
            [&](const QPoint&) { events.append(QStringLiteral("popup")); });

    rightClick(m_tree->visualRect(alpha).center());
    QCOMPARE(events,
             (QStringList{u"change " + folder(QStringLiteral("alpha")), QStringLiteral("popup")}));
    QCOMPARE(m_tree->currentIndex(), alpha);
}

void FolderTreeTest::rightClickOnEmptySpaceOpensSelectedEntry() {
    QVERIFY(m_tree->setDirectory(tempFolder()));
    const QModelIndex beta = loadedChild(QStringLiteral("beta"));
    showTree(300);
    // Select an entry without opening it, then fold every branch: only the root row is left
    // and empty space follows it.
    m_tree->setCurrentIndex(beta);
    m_tree->collapseAll();
    const QPoint empty(5, m_tree->viewport()->height() - 2);
    QVERIFY(!m_tree->indexAt(empty).isValid());
    QCOMPARE(m_tree->directory(), tempFolder());
    QSignalSpy changes(m_tree.get(), &DirectoryListBox::directoryChanged);
    QSignalSpy popups(m_tree.get(), &DirectoryListBox::contextPopupRequested);

    rightClick(empty);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(m_tree->directory(), folder(QStringLiteral("beta")));
    QCOMPARE(popups.count(), 1);
}

QTEST_MAIN(FolderTreeTest)
#include "foldertree_test.moc"

void FolderTreeTest::currentFolderIsExpandedAndScrolledIntoView() {
    // Many siblings push the deep folder far below the first screenful.
    QDir dir(m_temp->path());
    for (int i = 0; i < 60; ++i)
        QVERIFY(dir.mkpath(QStringLiteral("a%1").arg(i, 2, 10, QLatin1Char('0'))));
    QVERIFY(dir.mkpath(QStringLiteral("zz/deep/deeper")));
    // As at start-up: the folder is set before the tree has been shown or has listed it.
    const QString target = folder(QStringLiteral("zz/deep/deeper"));
    QVERIFY(m_tree->setDirectory(target));
    showTree(120);
    QTRY_VERIFY(m_tree->currentIndex().isValid() &&
                m_tree->fileSystemModel()->filePath(m_tree->currentIndex()) ==
                    QDir::fromNativeSeparators(target));
    QTRY_VERIFY(m_tree->viewport()->rect().intersects(m_tree->visualRect(m_tree->currentIndex())));
}
