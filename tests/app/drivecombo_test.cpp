#include "app/drivecombo.h"
#include "platform/drives.h"

#include <QDir>
#include <QFocusEvent>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A drive table with labels and roots only; enough for the selector.
class TableDrives : public DriveServices {
public:
    struct Volume {
        QString label;
        QString root;
    };
    QMap<QChar, Volume> volumes;

    QList<QChar> drives() override { return volumes.keys(); }
    DriveType driveType(QChar letter) override {
        return volumes.contains(letter) ? DriveType::Fixed : DriveType::NoSuchDrive;
    }
    std::optional<VolumeInfo> volumeInfo(QChar letter) override {
        if (!volumes.contains(letter)) {
            return std::nullopt;
        }
        return VolumeInfo{volumes.value(letter).label, QStringLiteral("ext4")};
    }
    std::optional<ClusterSpace> clusterSpace(QChar) override { return std::nullopt; }
    std::optional<ByteSpace> byteSpace(QChar) override { return std::nullopt; }
    bool isReady(QChar letter) override { return volumes.contains(letter); }
    QChar driveOfPath(const QString& path) override {
        QChar best;
        qsizetype bestLength = -1;
        for (auto it = volumes.cbegin(); it != volumes.cend(); ++it) {
            const QString root = it->root;
            const bool inside = QString(path + u'/').startsWith(root);
            if (inside && root.size() > bestLength) {
                best = it.key();
                bestLength = root.size();
            }
        }
        return best;
    }
    QString rootOf(QChar letter) override { return volumes.value(letter).root; }
    bool registerVirtualDrive(QChar, const QString&) override { return false; }
    bool removeVirtualDrive(QChar) override { return false; }
};

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
    void setDriveSignalsOnlyOnChange();
    void unknownDriveIsRefused();
    void userChoiceSignals();
    void rebuildOnFocusKeepsSelection();
    void rebuildOnDropDownListsNewDrive();
    void selectedDriveStaysListedWhenItsVolumeGoes();
    void lastFolderPerDrive();

private:
    QTemporaryDir m_temp;
    TableDrives m_drives;
};

void DriveComboTest::init() {
    QVERIFY(m_temp.isValid());
    m_drives.volumes.clear();
    m_drives.volumes.insert(u'C', {QString(), QStringLiteral("/")});
    m_drives.volumes.insert(u'D', {QStringLiteral("boss_br-864"), m_temp.path() + u'/'});
}

void DriveComboTest::entriesAreUpperCaseWithLabelOrRoot() {
    DriveComboBox combo(m_drives);
    QCOMPARE(ItemTexts(combo),
             (QStringList{QStringLiteral("C:  [/]"), QStringLiteral("D:  BOSS_BR-864")}));
    QCOMPARE(DriveComboBox::DriveText(u'e', QString(), QStringLiteral("/media/Card/")),
             QStringLiteral("E:  [/media/Card]"));
    QVERIFY(combo.drive().isNull());
}

void DriveComboTest::setDriveSignalsOnlyOnChange() {
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
}

void DriveComboTest::unknownDriveIsRefused() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'C'));
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    QVERIFY(!combo.setDrive(u'Q'));
    QCOMPARE(combo.drive(), QChar(u'C'));
    QCOMPARE(spy.count(), 0);
}

void DriveComboTest::userChoiceSignals() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'C'));
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    combo.setCurrentIndex(combo.findText(QStringLiteral("D:  BOSS_BR-864")));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(combo.drive(), QChar(u'D'));
}

void DriveComboTest::rebuildOnFocusKeepsSelection() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'D'));
    QSignalSpy spy(&combo, &DriveComboBox::driveChanged);
    // A card labelled in a reader below D.
    m_drives.volumes.insert(u'A', {QStringLiteral("MICRO_BR"), QStringLiteral("/mnt/a/")});

    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&combo, &focusIn);
    QCOMPARE(ItemTexts(combo),
             (QStringList{QStringLiteral("A:  MICRO_BR"), QStringLiteral("C:  [/]"),
                          QStringLiteral("D:  BOSS_BR-864")}));
    QCOMPARE(combo.drive(), QChar(u'D'));
    QCOMPARE(combo.currentText(), QStringLiteral("D:  BOSS_BR-864"));
    QCOMPARE(spy.count(), 0);
}

void DriveComboTest::rebuildOnDropDownListsNewDrive() {
    DriveComboBox combo(m_drives);
    QVERIFY(combo.setDrive(u'C'));
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    m_drives.volumes.insert(u'E', {QString(), QStringLiteral("/media/usb/")});
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
    m_drives.volumes.remove(u'D');
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
