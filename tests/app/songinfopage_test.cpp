#include "app/detailstest.h"
#include "app/songdetailsview.h"
#include "app/songinfopage.h"
#include "app/support/recordingmessageboxes.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace detailstest;

namespace {

// The box loses the focus to another control of the window.
void Leave(QWidget* box, Qt::FocusReason reason = Qt::TabFocusReason) {
    QFocusEvent event(QEvent::FocusOut, reason);
    QCoreApplication::sendEvent(box, &event);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The "Song Info" page: loading name, title and notes, and saving each box when it is left,
// only when the user changed it; failures keep the box changed and warn once.
class SongInfoPageTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadingShowsNameTitleAndNotesUnchanged();
    void titleIsSavedWhenTheBoxIsLeft();
    void untouchedTitleIsNotWritten();
    void movingTheFocusToAnotherBoxSaves();
    void failingTitleWriteKeepsTheBoxChangedAndWarnsOnce();
    void failingNotesWriteWarnsOnce();
    void songNameIsWrittenAndReported();
    void pendingEditsGoToTheirOwnSong();
    void closingCommitsNameTitleAndNotes();
    void oversizedNotesAreNeitherLoadedNorWrittenBack();

private:
    void load(const char* songId, const char* name = "");
    QString datPath(const char* folder = "SONG001.BR0") const {
        return m_card->songFile(QLatin1String(folder), QStringLiteral("SongInfo.dat"));
    }
    QString notesPath(const char* folder = "SONG001.BR0") const {
        return m_card->songFile(QLatin1String(folder), QStringLiteral("Notes.txt"));
    }

    std::unique_ptr<DetailsCard> m_card;
    std::unique_ptr<SOV_Info> m_info;
    std::unique_ptr<SongDetailsView> m_view;
    RecordingMessageBoxes m_messages;
};

void SongInfoPageTest::init() {
    m_card = std::make_unique<DetailsCard>();
    QVERIFY(m_card->build());
    m_info = std::make_unique<SOV_Info>();
    m_info->LoadFolder(m_card->root());
    m_view = std::make_unique<SongDetailsView>(*m_info);
    m_messages.clear();
    m_view->setMessageBoxes(&m_messages);
    m_view->setBrControlsEnabled(true);
}

void SongInfoPageTest::cleanup() {
    m_view.reset();
    m_info.reset();
    m_card.reset();
}

void SongInfoPageTest::load(const char* songId, const char* name) {
    m_view->loadSong(QLatin1String(songId), QLatin1String(name), m_card->root());
}

void SongInfoPageTest::loadingShowsNameTitleAndNotesUnchanged() {
    QCOMPARE(m_view->songNameEdit()->maxLength(), 8);
    QCOMPARE(m_view->songTitleEdit()->maxLength(), 128);
    QCOMPARE(m_view->songNameEdit()->objectName(), QStringLiteral("EditSongName"));
    QCOMPARE(m_view->songTitleEdit()->objectName(), QStringLiteral("EditSongTitle"));
    QCOMPARE(m_view->notesEdit()->objectName(), QStringLiteral("MemoSongNotes"));
    load("SONG001", "FIRST   ");
    QCOMPARE(m_view->songNameEdit()->text(), QStringLiteral("FIRST"));
    QCOMPARE(m_view->songTitleEdit()->text(), QStringLiteral("A longer title"));
    QCOMPARE(m_view->notesEdit()->toPlainText(), QStringLiteral("line one\nline two"));
    QVERIFY(!m_view->songNameEdit()->isModified());
    QVERIFY(!m_view->songTitleEdit()->isModified());
    QVERIFY(!m_view->notesEdit()->document()->isModified());

    load("SONG002", "SECOND");
    QCOMPARE(m_view->songTitleEdit()->text(), QString());
    QCOMPARE(m_view->notesEdit()->toPlainText(), QString());
}

void SongInfoPageTest::titleIsSavedWhenTheBoxIsLeft() {
    load("SONG001");
    QLineEdit* title = m_view->songTitleEdit();
    title->clear();
    QTest::keyClicks(title, QStringLiteral("Nine char"));
    QVERIFY(title->isModified());
    Leave(title, Qt::PopupFocusReason); // a pop-up menu is not leaving the box
    QCOMPARE(ReadAll(datPath()), QByteArray("SOV 1.05A longer title"));
    Leave(title);
    QCOMPARE(ReadAll(datPath()), QByteArray("SOV 1.05Nine char"));
    QCOMPARE(ReadAll(datPath()).size(), 17);
    QVERIFY(!title->isModified());
    QVERIFY(m_messages.messages().isEmpty());
}

void SongInfoPageTest::untouchedTitleIsNotWritten() {
    load("SONG003");
    Leave(m_view->songTitleEdit());
    QVERIFY(!QFile::exists(datPath("SONG003.BR0")));
    m_view->songTitleEdit()->setText(QStringLiteral("set by the program"));
    Leave(m_view->songTitleEdit());
    QVERIFY(!QFile::exists(datPath("SONG003.BR0")));
}

void SongInfoPageTest::movingTheFocusToAnotherBoxSaves() {
    load("SONG003");
    m_view->show();
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    QLineEdit* title = m_view->songTitleEdit();
    title->setFocus(Qt::MouseFocusReason);
    QVERIFY(title->hasFocus());
    QTest::keyClicks(title, QStringLiteral("Typed"));
    QVERIFY(!QFile::exists(datPath("SONG003.BR0")));
    m_view->notesEdit()->setFocus(Qt::MouseFocusReason);
    QCOMPARE(ReadAll(datPath("SONG003.BR0")), QByteArray("SOV 1.05Typed"));
    QTest::keyClicks(m_view->notesEdit(), QStringLiteral("notes"));
    m_view->songNameEdit()->setFocus(Qt::TabFocusReason);
    QCOMPARE(ReadAll(notesPath("SONG003.BR0")), QByteArray("notes\r\n"));
}

void SongInfoPageTest::failingTitleWriteKeepsTheBoxChangedAndWarnsOnce() {
    load("SONG003");
    QVERIFY(QDir().mkpath(datPath("SONG003.BR0"))); // a folder where the file should go
    QLineEdit* title = m_view->songTitleEdit();
    QTest::keyClicks(title, QStringLiteral("Kept"));
    Leave(title);
    QVERIFY(title->isModified());
    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages().first().kind, MessageKind::Warning);
    QVERIFY2(m_messages.messages().first().text.contains(
                 QDir::toNativeSeparators(datPath("SONG003.BR0"))),
             qPrintable(m_messages.messages().first().text));
    Leave(title);
    m_view->commitEdits();
    QCOMPARE(m_messages.messages().size(), 1); // once, not on every retry
    QVERIFY(title->isModified());

    QVERIFY(QDir().rmdir(datPath("SONG003.BR0")));
    Leave(title);
    QCOMPARE(ReadAll(datPath("SONG003.BR0")), QByteArray("SOV 1.05Kept"));
    QVERIFY(!title->isModified());

    // A later failure is reported again.
    QVERIFY(QFile::remove(datPath("SONG003.BR0")));
    QVERIFY(QDir().mkpath(datPath("SONG003.BR0")));
    QTest::keyClicks(title, QStringLiteral("!"));
    Leave(title);
    QCOMPARE(m_messages.messages().size(), 2);
}

void SongInfoPageTest::failingNotesWriteWarnsOnce() {
    load("SONG003");
    QVERIFY(QDir().mkpath(notesPath("SONG003.BR0")));
    QPlainTextEdit* notes = m_view->notesEdit();
    QTest::keyClicks(notes, QStringLiteral("keep me"));
    Leave(notes);
    Leave(notes);
    QCOMPARE(m_messages.messages().size(), 1);
    QVERIFY(m_messages.messages().first().text.contains(
        QDir::toNativeSeparators(notesPath("SONG003.BR0"))));
    QVERIFY(notes->document()->isModified());
    QCOMPARE(notes->toPlainText(), QStringLiteral("keep me"));
}

void SongInfoPageTest::songNameIsWrittenAndReported() {
    load("SONG001", "FIRST");
    QSignalSpy written(m_view.get(), &SongDetailsView::songNameWritten);
    QLineEdit* name = m_view->songNameEdit();
    Leave(name);
    QCOMPARE(written.count(), 0);
    name->clear();
    QTest::keyClicks(name, QStringLiteral(" AB"));
    Leave(name);
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.first().first().toString(), QStringLiteral(" AB"));
    const QByteArray record =
        ReadAll(m_card->songFile(QStringLiteral("SONG001.BR0"), QStringLiteral("songinf2.br0")));
    QCOMPARE(record.mid(48, 8), QByteArray("AB      "));
    QVERIFY(!name->isModified());
}

void SongInfoPageTest::pendingEditsGoToTheirOwnSong() {
    load("SONG001");
    QTest::keyClicks(m_view->songTitleEdit(), QStringLiteral(" more"));
    QTest::keyClicks(m_view->notesEdit(), QStringLiteral("added "));
    load("SONG003"); // the boxes kept the focus while another song was chosen
    QCOMPARE(ReadAll(datPath()), QByteArray("SOV 1.05A longer title more"));
    QCOMPARE(ReadAll(notesPath()), QByteArray("added line one\r\nline two\r\n"));
    QVERIFY(!QFile::exists(datPath("SONG003.BR0")));
    QVERIFY(!QFile::exists(notesPath("SONG003.BR0")));
    QCOMPARE(m_view->songTitleEdit()->text(), QString());
}

void SongInfoPageTest::closingCommitsNameTitleAndNotes() {
    load("SONG003", "THIRD");
    QTest::keyClicks(m_view->songNameEdit(), QStringLiteral("X"));
    QTest::keyClicks(m_view->songTitleEdit(), QStringLiteral("Closing title"));
    QTest::keyClicks(m_view->notesEdit(), QStringLiteral("closing notes"));
    QSignalSpy written(m_view.get(), &SongDetailsView::songNameWritten);
    m_view->commitEdits();
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.first().first().toString(), QStringLiteral("THIRDX"));
    QCOMPARE(ReadAll(datPath("SONG003.BR0")), QByteArray("SOV 1.05Closing title"));
    QCOMPARE(ReadAll(notesPath("SONG003.BR0")), QByteArray("closing notes\r\n"));
    m_view->commitEdits(); // nothing is due any more
    QCOMPARE(written.count(), 1);
}

// Notes over 16 MB stay on the card as they are: the box says why it is empty, takes no
// typing, and leaving it (or closing) neither truncates nor deletes the file.
void SongInfoPageTest::oversizedNotesAreNeitherLoadedNorWrittenBack() {
    const QByteArray big = "X" + QByteArray(SongNotesMaxBytes, 'n');
    {
        QFile file(notesPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(big), big.size());
    }
    load("SONG001");
    QPlainTextEdit* notes = m_view->notesEdit();
    QCOMPARE(notes->toPlainText(), QString());
    QVERIFY(notes->isReadOnly());
    QCOMPARE(notes->placeholderText(), SongInfoPage::NotesTooLargeText());
    notes->document()->setModified(true);
    Leave(notes);
    m_view->commitEdits();
    QCOMPARE(QFileInfo(notesPath()).size(), big.size());
    QCOMPARE(ReadAll(notesPath()).left(2), QByteArray("Xn"));
    QVERIFY(m_messages.messages().isEmpty());
    // The next song's notes are loaded and saved as ever.
    load("SONG002");
    QVERIFY(!notes->isReadOnly());
    QVERIFY(notes->placeholderText().isEmpty());
}

QTEST_MAIN(SongInfoPageTest)
#include "songinfopage_test.moc"
