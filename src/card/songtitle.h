#pragma once

#include <QString>
#include <QStringList>

// Sorvane's own per-song files in the song folder: SongInfo.dat (an 8-byte "SOV 1.05"
// header, then the title as Latin-1 bytes, its length given by the file's) and Notes.txt
// (Latin-1 lines, each ended by CR LF). Both are replaced atomically; an existing entry of
// any letter case is reused. With an empty `songPath` (no current song) nothing is read,
// written or deleted.

inline constexpr char SongInfoHeader[] = "SOV 1.05";
inline constexpr int SongInfoHeaderSize = 8;
// The longest title the title box holds; longer titles are read cut to it.
inline constexpr int SongTitleMaxLength = 128;
// Notes files larger than this are not loaded (and so never written back cut short).
inline constexpr qint64 SongNotesMaxBytes = 16 * 1000 * 1000;

// The paths of the two files in the song folder (existing entries of any case reused).
QString SongInfoDatPath(const QString& songPath);
QString NotesPath(const QString& songPath);

// The title: the bytes after the header, at most SongTitleMaxLength of them; empty when the
// file is missing, not a regular file, unreadable or 8 bytes or shorter.
QString ReadSongTitle(const QString& songPath);

// Writes the header and `title` (characters outside Latin-1 become '?'). True when the
// file was replaced, or when there is no current song (nothing is due); false when it could
// not be written (the old file is kept).
bool WriteSongTitle(const QString& songPath, const QString& title);

// The lines of Notes.txt (CR LF, CR and LF all end a line; a final line break does not
// start another line); empty when the file is missing.
QStringList LoadSongNotes(const QString& songPath);
// The notes as one text, lines joined by LF. Empty when the file is missing or larger than
// `maxBytes`; `tooLarge` (when given) tells the latter.
QString LoadSongNotesText(const QString& songPath, bool* tooLarge = nullptr,
                          qint64 maxBytes = SongNotesMaxBytes);

enum class NotesSaveResult {
    Nothing, // nothing was due
    Written, // Notes.txt replaced
    Deleted, // blank notes: Notes.txt removed
    Failed,  // could not be written or removed; the old file is kept
};

// Saves the notes box's `text` (lines separated by LF, CR LF or CR): blank text deletes an
// existing Notes.txt whether or not the user changed it; otherwise, when `userChanged`, the
// lines are written each ended by CR LF.
NotesSaveResult SaveSongNotes(const QString& songPath, const QString& text, bool userChanged);
