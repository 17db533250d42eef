#include "app/newfolder.h"
#include "app/preferences.h"
#include "app/selectfolder.h"
#include "app/support/recordingmessageboxes.h"
#include "platform/fakedrives.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PreferencesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showingStartsFromTheSettings();
    void blankFolderIsAccepted();
    void missingFolderDisablesOkOnFocusLoss();
    void enterDoesNotAcceptMissingFolder();
    void existingFolderIsAccepted();
    void cancelWorksWithMissingFolder();
    void browseTakesTheChosenFolder();

private:
    void showDialog(const Prefs& prefs);
    // Moves the focus out of the folder edit with Tab and lets the dialog react.
    void tabOut();

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<FakeDrives> m_drives;
    std::unique_ptr<RecordingMessageBoxes> m_messages;
    std::unique_ptr<TFormNewFolder> m_newFolder;
    std::unique_ptr<TFormSelectFolder> m_selectFolder;
    std::unique_ptr<TFormPreferences> m_form;
};

void PreferencesTest::init() {
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    QVERIFY(QDir(m_temp->path()).mkdir(QStringLiteral("backups")));
    m_drives = std::make_unique<FakeDrives>(
        QList<FakeDrive>{{u'C', QStringLiteral("/"), DriveType::Fixed, QString()}});
    m_messages = std::make_unique<RecordingMessageBoxes>();
    m_newFolder = std::make_unique<TFormNewFolder>();
    m_selectFolder = std::make_unique<TFormSelectFolder>(*m_drives, *m_newFolder, *m_messages);
    m_form = std::make_unique<TFormPreferences>(*m_selectFolder);
}

void PreferencesTest::cleanup() {
    m_form.reset();
    m_selectFolder.reset();
    m_newFolder.reset();
    QVERIFY(m_messages->messages().isEmpty());
}

void PreferencesTest::showDialog(const Prefs& prefs) {
    m_form->setPrefs(prefs);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    m_form->editStartFolder()->setFocus();
    QVERIFY(m_form->editStartFolder()->hasFocus());
}

void PreferencesTest::tabOut() {
    QTest::keyClick(m_form->editStartFolder(), Qt::Key_Tab);
    QCoreApplication::processEvents();
}

void PreferencesTest::showingStartsFromTheSettings() {
    const QString backups = QDir::toNativeSeparators(m_temp->path() + u"/backups");
    showDialog({backups, QStringLiteral("/opt/brwc/BRWaveConverter.exe")});
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(m_form->editStartFolder()->text(), backups);
    QCOMPARE(m_form->editWaveConverter()->text(), QStringLiteral("/opt/brwc/BRWaveConverter.exe"));
    QCOMPARE(m_selectFolder->directory(), backups);
    QVERIFY(m_form->buttonOK()->isEnabled());

    // Edits from a cancelled showing do not survive the next one.
    m_form->editWaveConverter()->setText(QStringLiteral("typed"));
    m_form->reject();
    showDialog({backups, QString()});
    QVERIFY(m_form->editWaveConverter()->text().isEmpty());
}

void PreferencesTest::blankFolderIsAccepted() {
    showDialog({QString(), QString()});
    QTest::keyClicks(m_form->editStartFolder(), QStringLiteral("   "));
    tabOut();
    QVERIFY(m_form->buttonOK()->isEnabled());
    QTest::mouseClick(m_form->buttonOK(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->prefs().DefaultDir, QStringLiteral("   "));
}

void PreferencesTest::missingFolderDisablesOkOnFocusLoss() {
    showDialog({m_temp->path(), QString()});
    QLineEdit* edit = m_form->editStartFolder();
    edit->clear();
    QTest::keyClicks(edit, m_temp->path() + u"/nowhere");
    QVERIFY(m_form->buttonOK()->isEnabled());
    tabOut();
    QVERIFY(!m_form->buttonOK()->isEnabled());
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), m_temp->path() + u"/nowhere");
    // The check repeats at each focus loss.
    tabOut();
    QVERIFY(!m_form->buttonOK()->isEnabled());
    QVERIFY(edit->hasFocus());
    // Typing enables OK again, until the next focus loss finds the folder missing.
    edit->deselect();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_X);
    QVERIFY(m_form->buttonOK()->isEnabled());
    tabOut();
    QVERIFY(!m_form->buttonOK()->isEnabled());
}

void PreferencesTest::enterDoesNotAcceptMissingFolder() {
    showDialog({m_temp->path(), QString()});
    m_form->editStartFolder()->setText(m_temp->path() + u"/nowhere");
    QTest::keyClick(m_form->editStartFolder(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(m_form->isVisible());
    QVERIFY(!m_form->buttonOK()->isEnabled());
    QVERIFY(m_form->editStartFolder()->hasFocus());
}

void PreferencesTest::existingFolderIsAccepted() {
    showDialog({QString(), QString()});
    const QString backups = m_temp->path() + u"/backups";
    QTest::keyClicks(m_form->editStartFolder(), backups);
    m_form->editWaveConverter()->setText(QStringLiteral("anything at all"));
    tabOut();
    QVERIFY(m_form->buttonOK()->isEnabled());
    QTest::mouseClick(m_form->buttonOK(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QCOMPARE(m_form->prefs().DefaultDir, backups);
    QCOMPARE(m_form->prefs().WaveConverter, QStringLiteral("anything at all"));
}

void PreferencesTest::cancelWorksWithMissingFolder() {
    showDialog({m_temp->path(), QString()});
    m_form->editStartFolder()->setText(m_temp->path() + u"/nowhere");
    QTest::mouseClick(m_form->buttonCancel(), Qt::LeftButton);
    QCOMPARE(m_form->result(), int(QDialog::Rejected));
    QVERIFY(!m_form->isVisible());
}

void PreferencesTest::browseTakesTheChosenFolder() {
    showDialog({m_temp->path(), QString()});
    const QString backups = QDir::toNativeSeparators(m_temp->path() + u"/backups");
    QString shownAt;
    QTimer::singleShot(0, this, [&] {
        shownAt = m_selectFolder->directory();
        m_selectFolder->setDirectory(backups);
        m_selectFolder->accept();
    });
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("ButtonStartFolderBrowse")),
                      Qt::LeftButton);
    // Select Folder opened where Preferences put it: the stored main backup folder.
    QCOMPARE(shownAt, QDir::toNativeSeparators(m_temp->path()));
    QCOMPARE(m_form->editStartFolder()->text(), backups);
    QVERIFY(m_form->buttonOK()->isEnabled());

    // A cancelled Select Folder changes nothing.
    QTimer::singleShot(0, this, [&] { m_selectFolder->reject(); });
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("ButtonStartFolderBrowse")),
                      Qt::LeftButton);
    QCOMPARE(m_form->editStartFolder()->text(), backups);
}

QTEST_MAIN(PreferencesTest)
#include "preferences_test.moc"
