#include "app/aboutform.h"
#include "app/core/settings.h"
#include "app/drivecombo.h"
#include "app/newfolder.h"
#include "app/preferences.h"
#include "app/selectfolder.h"
#include "app/shortenpath.h"
#include "app/support/recordingmessageboxes.h"
#include "platform/fakedrives.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The small dialogs: About, the message boxes, Preferences, and Select Folder with its New
// Folder prompt, the last two on a temporary folder and fake drives.
class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (const char* folder : {"backups", "existing", "card/ROLAND"})
            QVERIFY(QDir(m_temp.path()).mkpath(QString::fromLatin1(folder)));
        m_drives.drive(u'F')->ready = false;
        m_messages.clear();
        QVERIFY(m_select.setDirectory(path()));
    }

    void aboutAndMessageBoxes() {
        TFormAbout about(VersionLabelText());
        QCOMPARE(about.windowTitle(), u"About Sorvane"_s);
        QCOMPARE(about.size(), QSize(411, 285));
        QCOMPARE(about.versionLabel()->text(), u"Version 1.05"_s);
        QVERIFY(about.versionLabel()->font().bold());
        QCOMPARE(TFormAbout::AboutPicture().size(), QSize(269, 136));

        QApplication::setApplicationName(u"Sorvane"_s);
        const std::pair<MessageKind, QMessageBox::Icon> kinds[] = {
            {MessageKind::Plain, QMessageBox::NoIcon},
            {MessageKind::Information, QMessageBox::Information},
            {MessageKind::Warning, QMessageBox::Warning},
            {MessageKind::Error, QMessageBox::Critical}};
        for (const auto& [kind, icon] : kinds) {
            QStringList seen; // title, text, icon
            QTimer::singleShot(0, this, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                seen = {box->windowTitle(), box->text(), QString::number(box->icon())};
                box->button(QMessageBox::Ok)->click();
            });
            // Line breaks of any kind become plain ones.
            QtMessageBoxes().show(nullptr, kind,
                                  u"\rCould not create new folder named\r\n\"/a/<b>\""_s);
            QCOMPARE(seen, (QStringList{u"Sorvane"_s,
                                        u"\nCould not create new folder named\n\"/a/<b>\""_s,
                                        QString::number(icon)}));
        }
    }

    void preferencesBrowseRefuseMissingTakeBlankFolder() {
        QVERIFY(m_select.setDirectory(path(u"card"_s)));
        showPreferences(path(), u"/opt/brwc/BRWaveConverter.exe"_s);
        QCOMPARE(m_prefs.windowTitle(), u"Preferences"_s);
        QCOMPARE(m_prefs.editStartFolder()->text(), path());
        QCOMPARE(m_prefs.editWaveConverter()->text(), u"/opt/brwc/BRWaveConverter.exe"_s);

        auto* browse = m_prefs.findChild<QPushButton*>(u"ButtonStartFolderBrowse"_s);
        QString shownAt;
        QTimer::singleShot(0, this, [&] {
            shownAt = m_select.directory();
            m_select.setDirectory(path(u"backups"_s));
            m_select.accept();
        });
        QTest::mouseClick(browse, Qt::LeftButton);
        // Select Folder opened where Preferences put it on showing: the stored main backup folder.
        QCOMPARE(shownAt, path());
        QCOMPARE(m_prefs.editStartFolder()->text(), path(u"backups"_s));
        QTimer::singleShot(0, this, [&] {
            m_select.setDirectory(path());
            m_select.reject();
        });
        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(m_prefs.editStartFolder()->text(), path(u"backups"_s));
        m_prefs.reject();

        // A missing folder is refused at each focus loss and by Enter; a blank one is taken.
        showPreferences(QString());
        QLineEdit* edit = m_prefs.editStartFolder();
        const QString missing = path(u"nowhere"_s);
        QTest::keyClicks(edit, missing);
        for (int exit = 0; exit < 2; ++exit) { // the check repeats at each focus loss
            tabOut();
            QVERIFY(!m_prefs.buttonOK()->isEnabled() && edit->hasFocus());
            QCOMPARE(edit->selectedText(), missing);
        }
        // Typing enables OK again, but OK (here by Enter) checks the folder once more.
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_X);
        QVERIFY(m_prefs.buttonOK()->isEnabled());
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(m_prefs.isVisible() && edit->hasFocus());
        QVERIFY(!m_prefs.buttonOK()->isEnabled());
        m_prefs.reject();

        // The next showing starts again from the settings; a blank folder is taken.
        showPreferences(QString());
        QTest::keyClicks(edit, u"   "_s);
        tabOut();
        QTest::mouseClick(m_prefs.buttonOK(), Qt::LeftButton);
        QCOMPARE(m_prefs.result(), int(QDialog::Accepted));
        QCOMPARE(m_prefs.prefs().DefaultDir, u"   "_s);
    }

    void newFolderRefusesTakenEmptyOrEscapingNames() {
        const QStringList before = QDir(path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        // Each of these names an existing folder, no folder, or one outside the current one.
        QStringList refused;
        for (const QString& name : {u"existing"_s, QString(), u"existing/inside"_s, u"/"_s, u".."_s,
                                    u"."_s, u"../escaped"_s}) {
            pressNew(name);
            refused.append(u"Could not create new folder named\r\n\""_s + path() + u'/' + name +
                           u'"');
            QCOMPARE(m_select.directory(), path());
        }
        pressNew(u"never"_s, false); // cancelled
        QCOMPARE(m_messages.texts(MessageKind::Error), refused);
        QCOMPARE(QDir(path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

        pressNew(u"first"_s);
        QCOMPARE(m_newFolder.windowTitle(), u"Create New Folder"_s);
        QCOMPARE(m_newFolder.labelNewFolderText()->text(), u"Create new folder in"_s);
        const QLabel* parent = m_newFolder.labelNewFolderParent();
        QCOMPARE(parent->text(), ShortenPath(path(), parent->fontMetrics(), 270));
        QVERIFY(QFileInfo(path(u"first"_s)).isDir());
        QCOMPARE(m_select.directory(), path(u"first"_s));
    }

    void drivesAndListFollowEachOther() {
        DriveComboBox* drives = m_select.driveComboBox();
        QCOMPARE(drives->drive(), QChar(u'C'));
        QVERIFY(drives->setDrive(u'E'));
        QCOMPARE(m_select.directory(), path(u"card"_s));
        QVERIFY(m_select.setDirectory(path(u"card/ROLAND"_s)));
        // Away to C and back to E: the folder left there.
        QVERIFY(drives->setDrive(u'C') && drives->setDrive(u'E'));
        QCOMPARE(m_select.directory(), path(u"card/ROLAND"_s));
        // The list moves the selector.
        QVERIFY(m_select.setDirectory(path(u"existing"_s)));
        QCOMPARE(drives->drive(), QChar(u'F'));
        QVERIFY(m_select.setDirectory(path()));

        // A drive without a disc is refused and the selector goes back.
        QVERIFY(drives->setDrive(u'F'));
        QVERIFY(m_messages.only(MessageKind::Warning, u"\rThere is no disc in the drive."_s));
        QCOMPARE(drives->drive(), QChar(u'C'));
        QCOMPARE(m_select.directory(), path());
    }

private:
    QString path(const QString& relative = QString()) const {
        return relative.isEmpty() ? m_temp.path() : m_temp.path() + u'/' + relative;
    }
    void showPreferences(const QString& folder, const QString& converter = QString()) {
        m_prefs.setPrefs({folder, converter});
        m_prefs.show();
        QApplication::setActiveWindow(&m_prefs);
        QVERIFY(QTest::qWaitForWindowActive(&m_prefs));
        m_prefs.editStartFolder()->setFocus();
    }
    // Moves the focus out of the folder edit with Tab and lets the dialog react.
    void tabOut() {
        QTest::keyClick(m_prefs.editStartFolder(), Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    // Presses "New" and answers the New Folder prompt with the name (or cancels it).
    void pressNew(const QString& name, bool confirm = true) {
        QTimer::singleShot(0, this, [this, name, confirm] {
            m_newFolder.editNewFolderName()->setText(name);
            confirm ? m_newFolder.accept() : m_newFolder.reject();
        });
        QTest::mouseClick(m_select.newButton(), Qt::LeftButton);
    }

    QTemporaryDir m_temp;
    FakeDrives m_drives{{{u'C', u"/"_s, DriveType::Fixed, QString()},
                         {u'E', path(u"card"_s), DriveType::Removable, u"BOSS_BR-80"_s},
                         {u'F', path(u"existing"_s), DriveType::Removable, QString()}}};
    RecordingMessageBoxes m_messages;
    TFormNewFolder m_newFolder;
    TFormSelectFolder m_select{m_drives, m_newFolder, m_messages};
    TFormPreferences m_prefs{m_select};
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
