#include "app/drivecombo.h"
#include "app/foldertree.h"
#include "app/newfolder.h"
#include "app/selectfolder.h"
#include "app/shortenpath.h"
#include "app/support/recordingmessageboxes.h"
#include "platform/fakedrives.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class SelectFolderTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newFolderIsCreatedAndOpened();
    void newFolderDialogIsFilled();
    void takenEmptyOrEscapingNamesAreRefused();
    void cancelCreatesNothing();
    void secondUseShowsTheLastName();
    void driveSelectorMovesTheList();
    void listMovesTheDriveSelector();
    void driveWithoutDiscIsRefused();

private:
    QString path(const QString& relative = QString()) const {
        const QString base = QDir::toNativeSeparators(m_temp->path());
        return relative.isEmpty() ? base : base + QDir::separator() + relative;
    }
    // Presses "New" and answers the New Folder prompt with the name (or cancels it).
    void pressNew(const QString& name, bool confirm = true);
    QString failureFor(const QString& fullPath) const {
        return QStringLiteral("Could not create new folder named\r\n\"") + fullPath + u'"';
    }
    QStringList entries() const {
        return QDir(m_temp->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<FakeDrives> m_drives;
    RecordingMessageBoxes m_messages;
    std::unique_ptr<TFormNewFolder> m_newFolder;
    std::unique_ptr<TFormSelectFolder> m_form;
    QString m_prefilled;
};

void SelectFolderTest::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    QVERIFY(QDir(m_temp->path()).mkdir(QStringLiteral("existing")));
    QVERIFY(QDir(m_temp->path()).mkdir(QStringLiteral("card")));
    m_drives = std::make_unique<FakeDrives>(QList<FakeDrive>{
        {u'C', QStringLiteral("/"), DriveType::Fixed, QString()},
        {u'E', path(QStringLiteral("card")), DriveType::Removable, QStringLiteral("BOSS_BR-80")},
        {u'F', path(QStringLiteral("existing")), DriveType::Removable, QString()}});
    m_drives->drive(u'F')->ready = false;
    m_messages.clear();
    m_newFolder = std::make_unique<TFormNewFolder>();
    m_form = std::make_unique<TFormSelectFolder>(*m_drives, *m_newFolder, m_messages);
    QVERIFY(m_form->setDirectory(path()));
}

void SelectFolderTest::cleanup() {
    m_form.reset();
    m_newFolder.reset();
}

void SelectFolderTest::pressNew(const QString& name, bool confirm) {
    QTimer::singleShot(0, this, [this, name, confirm] {
        m_prefilled = m_newFolder->editNewFolderName()->text();
        m_newFolder->editNewFolderName()->setText(name);
        if (confirm) {
            m_newFolder->accept();
        } else {
            m_newFolder->reject();
        }
    });
    QTest::mouseClick(m_form->newButton(), Qt::LeftButton);
}

void SelectFolderTest::newFolderIsCreatedAndOpened() {
    pressNew(QStringLiteral("Songs 2024"));
    QVERIFY(m_messages.messages().isEmpty());
    QVERIFY(QFileInfo(path(QStringLiteral("Songs 2024"))).isDir());
    QCOMPARE(m_form->directory(), path(QStringLiteral("Songs 2024")));
    QCOMPARE(m_form->directoryListBox()->directory(), path(QStringLiteral("Songs 2024")));
}

void SelectFolderTest::newFolderDialogIsFilled() {
    m_newFolder->labelNewFolderParent()->setFixedWidth(320);
    pressNew(QStringLiteral("x"), false);
    QCOMPARE(m_newFolder->windowTitle(), QStringLiteral("Create New Folder"));
    QCOMPARE(m_newFolder->labelNewFolderText()->text(), QStringLiteral("Create new folder in"));
    const QLabel* parent = m_newFolder->labelNewFolderParent();
    QCOMPARE(parent->text(), ShortenPath(path(), parent->fontMetrics(), 270));
}

void SelectFolderTest::takenEmptyOrEscapingNamesAreRefused() {
    const QStringList before = entries();
    // Each of these names an existing folder, no folder, or one outside the current one.
    const QStringList names{QStringLiteral("existing"),
                            QString(),
                            QStringLiteral("existing/inside"),
                            QStringLiteral("/"),
                            QStringLiteral(".."),
                            QStringLiteral("."),
                            QStringLiteral("../escaped")};
    for (const QString& name : names) {
        m_messages.clear();
        pressNew(name);
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().at(0).kind, MessageKind::Error);
        QCOMPARE(m_messages.messages().at(0).text, failureFor(path() + QDir::separator() + name));
        QCOMPARE(m_form->directory(), path());
    }
    QCOMPARE(entries(), before);
    QVERIFY(!QFileInfo::exists(m_temp->path() + QStringLiteral("/../escaped")));
    QVERIFY(!QFileInfo::exists(m_temp->path() + QStringLiteral("/existing/inside")));
}

void SelectFolderTest::cancelCreatesNothing() {
    const QStringList before = entries();
    pressNew(QStringLiteral("never"), false);
    QCOMPARE(entries(), before);
    QVERIFY(m_messages.messages().isEmpty());
    QCOMPARE(m_form->directory(), path());
}

void SelectFolderTest::secondUseShowsTheLastName() {
    pressNew(QStringLiteral("first"));
    QVERIFY(m_form->setDirectory(path()));
    pressNew(QStringLiteral("second"));
    QCOMPARE(m_prefilled, QStringLiteral("first"));
    QVERIFY(QFileInfo(path(QStringLiteral("second"))).isDir());
}

void SelectFolderTest::driveSelectorMovesTheList() {
    QCOMPARE(m_form->driveComboBox()->drive(), QChar(u'C'));
    QVERIFY(QDir(m_temp->path()).mkdir(QStringLiteral("card/ROLAND")));
    QVERIFY(m_form->driveComboBox()->setDrive(u'E'));
    QCOMPARE(m_form->directory(), path(QStringLiteral("card")));
    QVERIFY(m_form->setDirectory(path(QStringLiteral("card/ROLAND"))));
    // Back to C: the folder left there; then to E again: the folder left there.
    QVERIFY(m_form->driveComboBox()->setDrive(u'C'));
    QCOMPARE(m_form->directory(), path());
    QVERIFY(m_form->driveComboBox()->setDrive(u'E'));
    QCOMPARE(m_form->directory(), path(QStringLiteral("card/ROLAND")));
    QVERIFY(m_messages.messages().isEmpty());
}

void SelectFolderTest::listMovesTheDriveSelector() {
    QVERIFY(m_form->setDirectory(path(QStringLiteral("card"))));
    QCOMPARE(m_form->driveComboBox()->drive(), QChar(u'E'));
    QVERIFY(m_form->setDirectory(path(QStringLiteral("existing"))));
    QCOMPARE(m_form->driveComboBox()->drive(), QChar(u'F'));
    QVERIFY(m_form->setDirectory(QDir::rootPath()));
    QCOMPARE(m_form->driveComboBox()->drive(), QChar(u'C'));
}

void SelectFolderTest::driveWithoutDiscIsRefused() {
    QVERIFY(m_form->driveComboBox()->setDrive(u'F'));
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages().at(0).kind, MessageKind::Warning);
    QCOMPARE(m_messages.messages().at(0).text, QStringLiteral("\rThere is no disc in the drive."));
    QCOMPARE(m_form->driveComboBox()->drive(), QChar(u'C'));
    QCOMPARE(m_form->directory(), path());
}

QTEST_MAIN(SelectFolderTest)
#include "selectfolder_test.moc"
