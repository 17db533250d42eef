// Sorvane's own per-song files read from disk: the input is SongInfo.dat and Notes.txt in
// turn. The notes read, saved and read again are the same.

#include "card/songtitle.h"
#include "fuzzinput.h"
#include "transfer/sizetext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // In memory where the system has such a folder: a save on disk waits for the disk.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/sorvane-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/sorvane-fuzz-XXXXXX"));
    const QString songPath = folder.path() + u'/';
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    Require(WriteBytes(songPath + QStringLiteral("SongInfo.dat"), bytes));
    const QString title = ReadSongTitle(songPath);
    Require(title.size() == std::clamp<qsizetype>(bytes.size() - 8, 0, SongTitleMaxLength));
    Require(title == QString::fromLatin1(bytes.mid(8, SongTitleMaxLength)));

    Require(WriteBytes(songPath + QStringLiteral("Notes.txt"), bytes));
    const QString text = LoadSongNotesText(songPath);
    const QStringList lines = LoadSongNotes(songPath);
    Require(lines.join(u'\n') == text);
    if (!IsBlankText(text)) {
        Require(SaveSongNotes(songPath, text, true) == NotesSaveResult::Written);
        Require(LoadSongNotesText(songPath) == text);
    }
    return 0;
}
