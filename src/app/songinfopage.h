#pragma once

#include "transfer/drivechanges.h"

#include <QString>
#include <QWidget>

class MessageBoxes;
class QLineEdit;
class QPlainTextEdit;
class SOV_Info;

// The "Song Info" page: the song name (kept in the recorder's information record), and the
// title and notes Sorvane keeps in the song folder. Each box saves when it loses the focus,
// and only when the user changed it since the program last set it.
class SongInfoPage : public QWidget {
    Q_OBJECT
public:
    SongInfoPage(SOV_Info& info, QWidget* parent = nullptr);
    ~SongInfoPage() override;

    QLineEdit* songName() const { return m_songName; }
    QLineEdit* songTitle() const { return m_songTitle; }
    QPlainTextEdit* notes() const { return m_notes; }

    // Where failures are reported; null leaves them unreported.
    void setMessageBoxes(MessageBoxes* boxes) { m_messages = boxes; }

    // Empties the three boxes; they then belong to no song.
    void clear();
    // Shows the current song of the card content object: `name` (the song list's name cell,
    // trimmed here), its title and its notes.
    void showCurrentSong(const QString& name);

    // Saves one box when it is due. The title and notes go to the song whose texts the boxes
    // show; the name only while that song is still the current one.
    void commitName();
    void commitTitle();
    void commitNotes();
    void commitAll();
    // The card holding the song went: returns the edits not yet saved and empties the
    // boxes without saving anything.
    UnsavedSongEdits takeUnsavedEdits();

    // The most notes the box is given. Once shown, the box takes about a hundred bytes for
    // every line and tens of bytes for every character of a long line: a Notes.txt of 16 MB
    // of line ends cost it 1.7 GB and a minute.
    static constexpr qint64 NotesMaxBytes = 1000 * 1000;
    static constexpr qsizetype NotesMaxLines = 50000;
    // What the notes box says when the song's notes are too large to be loaded.
    static QString NotesTooLargeText();

    // Background of the three boxes.
    void setBoxBackground(const QColor& colour);

signals:
    void songNameWritten(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void warnOnce(bool& warned, const QString& path);

    SOV_Info& m_info;
    MessageBoxes* m_messages = nullptr;
    QLineEdit* m_songName = nullptr;
    QLineEdit* m_songTitle = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QString m_songPath;           // the song folder the boxes belong to; empty for none
    bool m_notesTooLarge = false; // the notes were not loaded: nothing is saved over them
    bool m_titleWarned = false;
    bool m_notesWarned = false;
};
