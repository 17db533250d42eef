#include "card/songtitle.h"

#include "card/cardpath.h"
#include "card/fileimage.h"
#include "transfer/sizetext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

// One byte per character; a character outside Latin-1 (a surrogate pair counting as one
// character) becomes '?'.
QByteArray Latin1Bytes(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        out.append(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

// Lines ended by CR LF, CR or LF; text after the last break is a line of its own, and an
// empty text has no lines. With `finalBreakEndsText`, a break at the very end adds no line.
QStringList SplitLines(const QString& text, bool finalBreakEndsText) {
    QStringList lines;
    if (text.isEmpty())
        return lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            current.append(c);
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lines.append(current);
        current.clear();
        if (i + 1 == text.size() && finalBreakEndsText)
            return lines;
    }
    lines.append(current);
    return lines;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // An uncommitted save file is discarded, leaving any old file as it was.
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace

QString SongInfoDatPath(const QString& songPath) {
    return ResolveCardPath(songPath, QStringLiteral("SongInfo.dat"));
}

QString NotesPath(const QString& songPath) {
    return ResolveCardPath(songPath, QStringLiteral("Notes.txt"));
}

QString ReadSongTitle(const QString& songPath) {
    if (songPath.isEmpty())
        return {};
    QFile file;
    if (!OpenRegularFile(file, SongInfoDatPath(songPath), QIODevice::ReadOnly))
        return {};
    // Only what the title box can hold is read, however long the file.
    const qint64 n = std::min<qint64>(file.size() - SongInfoHeaderSize, SongTitleMaxLength);
    if (n <= 0 || !file.seek(SongInfoHeaderSize))
        return {};
    QByteArray bytes = file.read(n);
    // Bytes that cannot be read leave spaces in their places.
    if (bytes.size() < n)
        bytes.append(QByteArray(n - bytes.size(), ' '));
    return QString::fromLatin1(bytes);
}

bool WriteSongTitle(const QString& songPath, const QString& title) {
    if (songPath.isEmpty())
        return true;
    const QByteArray bytes = QByteArray(SongInfoHeader, SongInfoHeaderSize) + Latin1Bytes(title);
    return ReplaceFile(SongInfoDatPath(songPath), bytes);
}

namespace {

// The notes file's text with every line end made one LF, converted in place.
QString NotesWithLfEnds(const QString& songPath, bool* tooLarge, qint64 maxBytes) {
    if (tooLarge)
        *tooLarge = false;
    if (songPath.isEmpty())
        return {};
    const std::optional<QByteArray> bytes =
        ReadWholeRegularFile(NotesPath(songPath), maxBytes, tooLarge);
    if (!bytes)
        return {};
    QString text(bytes->size(), Qt::Uninitialized);
    qsizetype out = 0;
    const char* data = bytes->constData();
    for (qsizetype i = 0; i < bytes->size(); ++i) {
        const char c = data[i];
        if (c == '\r' && i + 1 < bytes->size() && data[i + 1] == '\n')
            continue;
        text[out++] = c == '\r' ? QChar(u'\n') : QChar::fromLatin1(c);
    }
    text.truncate(out);
    return text;
}

} // namespace

QString LoadSongNotesText(const QString& songPath, bool* tooLarge, qint64 maxBytes) {
    QString text = NotesWithLfEnds(songPath, tooLarge, maxBytes);
    // A final line end starts no further line.
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QStringList LoadSongNotes(const QString& songPath) {
    return SplitLines(NotesWithLfEnds(songPath, nullptr, SongNotesMaxBytes), true);
}

NotesSaveResult SaveSongNotes(const QString& songPath, const QString& text, bool userChanged) {
    if (songPath.isEmpty())
        return NotesSaveResult::Nothing;
    const QString path = NotesPath(songPath);
    if (IsBlankText(text) && QFileInfo::exists(path))
        return QFile::remove(path) ? NotesSaveResult::Deleted : NotesSaveResult::Failed;
    if (!userChanged)
        return NotesSaveResult::Nothing;
    QByteArray bytes;
    for (const QString& line : SplitLines(text, false))
        bytes += Latin1Bytes(line) + "\r\n";
    return ReplaceFile(path, bytes) ? NotesSaveResult::Written : NotesSaveResult::Failed;
}
