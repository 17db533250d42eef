#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

// Every reader of card files and of the program's own files opens them through these
// helpers: only regular files (a link is followed to its target) are ever opened, and the
// type is checked before and after opening without blocking, so a FIFO, socket or device
// node (or a link to one) reads as a missing file instead of hanging or draining a device.

// True when `path` names a regular file (after following links).
bool IsRegularFile(const QString& path);

// Opens `path` in `file` with `mode` (ReadOnly or ReadWrite; never creates) when it is a
// regular file. False, with `file` closed, for anything else.
bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode);

// Fills `image` from the file at `path`, starting at file offset `offset`, with one block
// read. Bytes the file does not have read as zero. Returns the number of bytes read, or -1
// when the file cannot be opened or positioned (the image is then all zeros).
qint64 ReadFileImage(const QString& path, std::span<std::uint8_t> image, qint64 offset = 0);

// The whole file when it is a regular file of at most `maxBytes` bytes. nullopt when it is
// missing, not a regular file or unreadable; `tooLarge` (when given) tells a file refused
// for its size apart from those.
std::optional<QByteArray> ReadWholeRegularFile(const QString& path, qint64 maxBytes,
                                               bool* tooLarge = nullptr);
