#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "platform/fakedrives.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The folder tree and the drive selector above it, over drive C (no label) and a card in D
// whose root holds two folders and a hidden one, its label in lower case.
class FolderTreeTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree.reset();
        m_temp = std::make_unique<QTemporaryDir>();
        for (const char* name : {"alpha", "beta", ".hidden"})
            QVERIFY(QDir(m_temp->path()).mkdir(QLatin1String(name)));
        m_tree = std::make_unique<DirectoryListBox>();
        m_tree->resize(400, 300);
        m_events.clear();
        connect(m_tree.get(), &DirectoryListBox::directoryChanged, this,
                [this](const QString& path) { m_events.append(u"change " + path); });
        connect(m_tree.get(), &DirectoryListBox::contextPopupRequested, this,
                [this](const QPoint&) { m_events.append(u"popup"_s); });
        m_drives = FakeDrives({{u'C', u"/"_s, DriveType::Fixed, QString()},
                               {u'D', m_temp->path(), DriveType::Removable, u"boss_br-864"_s}});
        m_combo = std::make_unique<DriveComboBox>(m_drives);
        m_spy = std::make_unique<QSignalSpy>(m_combo.get(), &DriveComboBox::driveChanged);
    }

    void setDirectoryNormalisesAndSignalsOnlyOnChange() {
        QVERIFY(m_tree->setDirectory(folder(u"alpha"_s) + QDir::separator()));
        // The same folder written differently is no change.
        QVERIFY(m_tree->setDirectory(folder(u"beta/../alpha"_s)));
        QVERIFY(m_tree->setDirectory(QDir::rootPath()));
        // A missing folder or none at all is refused.
        QVERIFY(!m_tree->setDirectory(folder(u"missing"_s)));
        QVERIFY(!m_tree->setDirectory(QString()));
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(m_tree->directory(), root);
        QCOMPARE(m_events, (QStringList{u"change " + folder(u"alpha"_s), u"change " + root}));

        // A single click opens the folder clicked, once. A right click opens the folder under the
        // mouse, or on empty space the selected one, before asking for the pop-up menu.
        const QString top = QDir::toNativeSeparators(m_temp->path());
        QVERIFY(m_tree->setDirectory(top));
        m_tree->show();
        const QModelIndex parent = m_tree->indexOfFolder(top);
        // Listed once the model has read the folder; the hidden one is not.
        QTRY_COMPARE(m_tree->fileSystemModel()->rowCount(parent), 2);
        const QModelIndex alpha = m_tree->indexOfFolder(folder(u"alpha"_s));
        const QModelIndex beta = m_tree->indexOfFolder(folder(u"beta"_s));
        m_tree->scrollTo(beta);
        m_events.clear();
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualRect(beta).center());
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {},
                          m_tree->visualRect(beta).center());
        rightClick(m_tree->visualRect(alpha).center());
        QCOMPARE(m_tree->currentIndex(), alpha);
        // Select an entry without opening it, then fold every branch: only the root row is left
        // and empty space follows it.
        m_tree->setCurrentIndex(beta);
        m_tree->collapseAll();
        const QPoint empty(5, m_tree->viewport()->height() - 2);
        QVERIFY(!m_tree->indexAt(empty).isValid());
        QCOMPARE(m_tree->directory(), folder(u"alpha"_s));
        rightClick(empty);
        const QString toAlpha = u"change " + folder(u"alpha"_s);
        const QString toBeta = u"change " + folder(u"beta"_s);
        QCOMPARE(m_events, (QStringList{toBeta, toAlpha, u"popup"_s, toBeta, u"popup"_s}));
    }

    // The last folder opened on each drive, or its root when none was or it has gone. Letters
    // are taken in either case; entering the selector lists the drives anew, keeping the choice;
    // a drive gone from the system stays listed while it is the one chosen.
    void drivesAreListedChosenAndRebuilt() {
        const QString songs = m_temp->path() + u"/songs"_s;
        QVERIFY(QDir().mkdir(songs));
        QCOMPARE(m_combo->folderForDrive(u'D'), m_temp->path() + u'/');
        m_combo->rememberFolder(songs);
        QCOMPARE(m_combo->folderForDrive(u'd'), songs);
        QVERIFY(QDir(songs).removeRecursively());
        QCOMPARE(m_combo->folderForDrive(u'D'), m_temp->path() + u'/');
        QVERIFY(m_combo->folderForDrive(u'Q').isEmpty());

        QCOMPARE(itemTexts(), (QStringList{u"C:  [/]"_s, u"D:  BOSS_BR-864"_s}));
        QCOMPARE(DriveComboBox::DriveText(u'e', QString(), u"/media/Card/"_s),
                 u"E:  [/media/Card]"_s);
        QVERIFY(m_combo->setDrive(u'd'));
        m_drives.setDrive({u'A', u"/mnt/a"_s, DriveType::Removable, u"micro_br"_s});
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(m_combo.get(), &focusIn);
        QCOMPARE(itemTexts(), (QStringList{u"A:  MICRO_BR"_s, u"C:  [/]"_s, u"D:  BOSS_BR-864"_s}));
        QCOMPARE(m_combo->currentText(), u"D:  BOSS_BR-864"_s);
        QVERIFY(m_combo->setDrive(u'D') && m_combo->setDrive(u'C'));
        QVERIFY(!m_combo->setDrive(u'Q')); // unknown: refused, nothing changes
        m_combo->setCurrentIndex(2);       // the user's choice
        m_drives.removeDrive(u'D');
        m_combo->rebuild();
        QCOMPARE(itemTexts().size(), 3);
        QCOMPARE(m_combo->drive(), QChar(u'D'));
        QVERIFY(m_combo->setDrive(u'C'));
        m_combo->rebuild();
        QCOMPARE(itemTexts(), (QStringList{u"A:  MICRO_BR"_s, u"C:  [/]"_s}));
        QCOMPARE(changes(), (QList<QChar>{u'D', u'C', u'D', u'C'}));
    }

private:
    QString folder(const QString& name) const {
        return QDir::toNativeSeparators(m_temp->path() + u'/' + name);
    }
    // A right click as the window system delivers it: the press and release, then the
    // context-menu event.
    void rightClick(const QPoint& pos) {
        QTest::mouseClick(m_tree->viewport(), Qt::RightButton, {}, pos);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                                m_tree->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(m_tree->viewport(), &event);
    }
    QStringList itemTexts() const {
        QStringList texts;
        for (int i = 0; i < m_combo->count(); ++i)
            texts.append(m_combo->itemText(i));
        return texts;
    }
    QList<QChar> changes() const {
        QList<QChar> letters;
        for (const QList<QVariant>& signal : *m_spy)
            letters.append(signal.at(0).value<QChar>());
        return letters;
    }

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<DirectoryListBox> m_tree;
    QStringList m_events; // "change <folder>" and "popup", in order
    FakeDrives m_drives;
    std::unique_ptr<DriveComboBox> m_combo;
    std::unique_ptr<QSignalSpy> m_spy;
};

QTEST_MAIN(FolderTreeTest)
#include "foldertree_test.moc"
