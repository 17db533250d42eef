#include "app/songinfopage.h"

#include "app/messages.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"

#include <QDir>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr int SongNameMaxLength = 8;

// Word wrapping breaks a run of characters without a blank anew for every line it fills,
// which takes time by the square of the run's length: a notes file of one unbroken line of a
// megabyte froze the window for a minute. Past this length the box wraps anywhere instead.
constexpr qsizetype LongestWrappedWord = 10000;

bool HasLongUnbrokenRun(const QString& text) {
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongestWrappedWord)
            return true;
    }
    return false;
}

QLabel* BoxLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

SongInfoPage::SongInfoPage(SOV_Info& info, QWidget* parent) : QWidget(parent), m_info(info) {
    setObjectName(QStringLiteral("TabSheetSongInfo"));
    m_songName = new QLineEdit;
    m_songName->setObjectName(QStringLiteral("EditSongName"));
    m_songName->setMaxLength(SongNameMaxLength);
    m_songTitle = new QLineEdit;
    m_songTitle->setObjectName(QStringLiteral("EditSongTitle"));
    m_songTitle->setMaxLength(SongTitleMaxLength);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("MemoSongNotes"));
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QGridLayout(this);
    layout->addWidget(BoxLabel(tr("Song Name:"), m_songName), 0, 0);
    layout->addWidget(m_songName, 0, 1, Qt::AlignLeft);
    layout->addWidget(BoxLabel(tr("Song Title:"), m_songTitle), 1, 0);
    layout->addWidget(m_songTitle, 1, 1);
    layout->addWidget(BoxLabel(tr("Notes:"), m_notes), 2, 0, Qt::AlignTop);
    layout->addWidget(m_notes, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(1, 1);

    for (QWidget* box : {static_cast<QWidget*>(m_songName), static_cast<QWidget*>(m_songTitle),
                         static_cast<QWidget*>(m_notes)})
        box->installEventFilter(this);
}

// The boxes go after the page: losing the focus while they are destroyed saves nothing.
SongInfoPage::~SongInfoPage() {
    for (QWidget* box : {static_cast<QWidget*>(m_songName), static_cast<QWidget*>(m_songTitle),
                         static_cast<QWidget*>(m_notes)})
        box->removeEventFilter(this);
}

void SongInfoPage::clear() {
    m_songPath.clear();
    m_songName->setText(QString());
    m_songName->setModified(false);
    m_songTitle->setText(QString());
    m_songTitle->setModified(false);
    m_notes->setPlainText(QString());
    m_notes->document()->setModified(false);
    m_notes->setReadOnly(false);
    m_notes->setPlaceholderText(QString());
    m_notesTooLarge = false;
    m_titleWarned = false;
    m_notesWarned = false;
}

void SongInfoPage::showCurrentSong(const QString& name) {
    clear();
    if (m_info.currentSong() == nullptr || m_info.songPath().isEmpty())
        return;
    m_songPath = m_info.songPath();
    m_songName->setText(name.trimmed());
    m_songName->setModified(false);
    m_songTitle->setText(ReadSongTitle(m_songPath));
    m_songTitle->setModified(false);
    QString notes = LoadSongNotesText(m_songPath, &m_notesTooLarge, NotesMaxBytes);
    if (notes.count(u'\n') >= NotesMaxLines) {
        m_notesTooLarge = true;
        notes.clear();
    }
    m_notes->setWordWrapMode(HasLongUnbrokenRun(notes) ? QTextOption::WrapAnywhere
                                                       : QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_notes->setPlainText(notes);
    m_notes->document()->setModified(false);
    if (m_notesTooLarge) {
        // Such notes are left as they are: the empty box is never saved over them.
        m_notes->setReadOnly(true);
        m_notes->setPlaceholderText(NotesTooLargeText());
    }
}

QString SongInfoPage::NotesTooLargeText() {
    return tr("The notes of this song are longer than 1 MB or 50,000 lines and are not shown "
              "here. Notes.txt is left as it is.");
}

// The recorder's own file is reached through the card content object, which writes into its
// current song: a name typed for a song that is no longer current is not written elsewhere.
void SongInfoPage::commitName() {
    if (!m_songName->isModified() || m_songPath.isEmpty() || m_info.songPath() != m_songPath)
        return;
    const QString text = m_songName->text();
    if (!m_info.WriteSongName(text))
        return;
    m_songName->setModified(false);
    emit songNameWritten(text);
}

void SongInfoPage::commitTitle() {
    if (!m_songTitle->isModified() || m_songPath.isEmpty())
        return;
    if (!WriteSongTitle(m_songPath, m_songTitle->text())) {
        warnOnce(m_titleWarned, SongInfoDatPath(m_songPath));
        return;
    }
    m_songTitle->setModified(false);
    m_titleWarned = false;
}

// Blank notes remove Notes.txt even when the user typed nothing; a removal also settles the
// box, so that leaving it again does not write the blanks back.
void SongInfoPage::commitNotes() {
    if (m_songPath.isEmpty() || m_notesTooLarge)
        return;
    QTextDocument* document = m_notes->document();
    switch (SaveSongNotes(m_songPath, m_notes->toPlainText(), document->isModified())) {
    case NotesSaveResult::Nothing:
        return;
    case NotesSaveResult::Written:
    case NotesSaveResult::Deleted:
        document->setModified(false);
        m_notesWarned = false;
        return;
    case NotesSaveResult::Failed:
        warnOnce(m_notesWarned, NotesPath(m_songPath));
        return;
    }
}

void SongInfoPage::commitAll() {
    commitName();
    commitTitle();
    commitNotes();
}

UnsavedSongEdits SongInfoPage::takeUnsavedEdits() {
    UnsavedSongEdits edits;
    if (!m_songPath.isEmpty()) {
        const SongListItem* song = m_info.currentSong();
        edits.songId = song != nullptr && m_info.songPath() == m_songPath
                           ? song->songId
                           : QDir(m_songPath).dirName();
        if (m_songName->isModified())
            edits.name = m_songName->text();
        if (m_songTitle->isModified())
            edits.title = m_songTitle->text();
        if (m_notes->document()->isModified())
            edits.notes = m_notes->toPlainText();
    }
    clear();
    return edits;
}

void SongInfoPage::setBoxBackground(const QColor& colour) {
    for (QWidget* box : {static_cast<QWidget*>(m_songName), static_cast<QWidget*>(m_songTitle),
                         static_cast<QWidget*>(m_notes)}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, colour);
        box->setPalette(palette);
    }
}

// A failed save keeps the box changed, so it is tried again when the box is left next time
// or the window closes; the user hears of it once, not on every retry.
void SongInfoPage::warnOnce(bool& warned, const QString& path) {
    if (warned || m_messages == nullptr)
        return;
    warned = true;
    m_messages->warning(this, tr("\rUnable to write to %1\r\rThe text stays in its box and is "
                                 "saved again when you leave the box or close Sorvane.")
                                  .arg(QDir::toNativeSeparators(path)));
}

// Leaving a box for another control of the window saves it. Opening a pop-up menu or
// switching to another window is not leaving it.
bool SongInfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == m_songName)
                commitName();
            else if (watched == m_songTitle)
                commitTitle();
            else if (watched == m_notes)
                commitNotes();
        }
    }
    return QWidget::eventFilter(watched, event);
}
