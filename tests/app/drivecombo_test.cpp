#include "app/drivecombo.h"
#include "platform/fakedrives.h"

#include <QDir>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList ItemTexts(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i) {
        texts.append(combo.itemText(i));
    }
    return texts;
}

} // namespace

class DriveComboTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void entriesAreUpperCaseWithLabelOrRoot();
    void setDriveSignalsOnlyOnChangeAndRefusesUnknown();
    void rebuildOnFocusKeepsSelection();
    void rebuildOnDropDownListsNewDrive();
    void selectedDriveStaysListedWhenItsVolumeGoes();
    void lastFolderPerDrive();

private:
    QTemporaryDir m_temp;
    FakeDrives m_drives;
};

void DriveComboTest::init() {
    QVERIFY(m_temp.isValid());
    m_drives =
        FakeDrives({{u'C', QStringLiteral("/"), DriveType::Fixed, QString()},
                    {u'D', m_temp.path(), DriveType::Removable, QStringLiteral("boss_br-864")}});
}

void DriveComboTest::entriesAreUpperCaseWithLabelOrRoot() {
    DriveComboBox combo(m_drives);
    QCOMPARE(ItemTexts(combo),
             (QStringList{QStringLiteral("C:  [/]"), QStringLiteral("D:  BOSS_BR-864")}));
    QCOMPARE(DriveComboBox::DriveText(u'e', QString(), QStringLiteral("/media/Card/")),
             QStringLiteral("E:  [/media/Card]"));
    QVERIFY(combo.drive().isNull());
}

void DriveComboTest::setDriveSignalsOnlyOnChangeAndRefusesUnknown() {
    DriveComboBox combo(m_drives);
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    QVERIFY(combo.setDrive(u'd'));
    QCOMPARE(combo.drive(), QChar(u'D'));
    QCOMPARE(combo.currentText(), QStringLiteral("D:  BOSS_BR-864"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QChar>(), QChar(u'D'));

    QVERIFY(combo.setDrive(u'D'));
    QCOMPARE(spy.count(), 1);

    QVERIFY(combo.setDrive(u'C'));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<QChar>(), QChar(u'C'));

    QVERIFY(!combo.setDrive(u'Q')); // unknown: refused, nothing changes
    QCOMPARE(combo.drive(), QChar(u'C'));
    QCOMPARE(spy.count(), 2);

    combo.setCurrentIndex(combo.findText(QStringLiteral("D:  BOSS_BR-864"))); // the user's choice
    QCOMPARE(spy.count(), 3);
    QCOMPARE(combo.drive(), QChar(u'D'));
}

void DriveComboTest::rebuildOnFocusKeepsSelection() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'D'));
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    // A card labelled in a reader below D.
    m_drives.setDrive(
        {u'A', QStringLiteral("/mnt/a"), DriveType::Removable, QStringLiteral("MICRO_BR")});
    m_drives.clearQueries();

    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&combo, &focusIn);
    QCOMPARE(ItemTexts(combo),
             (QStringList{QStringLiteral("A:  MICRO_BR"), QStringLiteral("C:  [/]"),
                          QStringLiteral("D:  BOSS_BR-864")}));
    QCOMPARE(combo.drive(), QChar(u'D'));
    QCOMPARE(combo.currentText(), QStringLiteral("D:  BOSS_BR-864"));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_drives.queryCount(DriveQuery::Drives), 1);

    // Coming back from another window is not entering the selector: no rebuild.
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&combo, &activated);
    QCOMPARE(m_drives.queryCount(DriveQuery::Drives), 1);
}

void DriveComboTest::rebuildOnDropDownListsNewDrive() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'C'));
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    m_drives.setDrive({u'E', QStringLiteral("/media/usb"), DriveType::Removable, QString()});
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    combo.showPopup();
    combo.hidePopup();
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(2), QStringLiteral("E:  [/media/usb]"));
    QCOMPARE(combo.drive(), QChar(u'C'));
    QCOMPARE(spy.count(), 0);
}

void DriveComboTest::selectedDriveStaysListedWhenItsVolumeGoes() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'D'));
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    m_drives.removeDrive(u'D');
    combo.rebuild();
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.drive(), QChar(u'D'));
    QVERIFY(combo.currentText().startsWith(QStringLiteral("D:")));
    QCOMPARE(spy.count(), 0);

    // Once another drive is chosen the vanished one drops out of the list.
    QVERIFY(combo.setDrive(u'C'));
    combo.rebuild();
    QCOMPARE(ItemTexts(combo), QStringList{QStringLiteral("C:  [/]")});
}

void DriveComboTest::lastFolderPerDrive() {
    DriveComboBox combo(m_drives);
    QDir(m_temp.path()).mkdir(QStringLiteral("songs"));
    const QString songs = m_temp.path() + QStringLiteral("/songs");
    QCOMPARE(combo.folderForDrive(u'D'), m_temp.path() + u'/');

    combo.rememberFolder(songs);
    QCOMPARE(combo.folderForDrive(u'd'), songs);
    QCOMPARE(combo.folderForDrive(u'C'), QStringLiteral("/"));

    // A remembered folder that has gone falls back to the root.
    QVERIFY(QDir(songs).removeRecursively());
    QCOMPARE(combo.folderForDrive(u'D'), m_temp.path() + u'/');
    QVERIFY(combo.folderForDrive(u'Q').isEmpty());
}

QTEST_MAIN(DriveComboTest)
#include "drivecombo_test.moc"
