#pragma once

#include <QByteArray>
#include <QString>

// Opening media files for reading: only regular files are opened (a FIFO or a device
// never blocks the caller), and the reason for a failure is a short text.

// A read-only descriptor of the regular file at `path`, or -1 with `reason` set.
int OpenMediaFile(const QString& path, QString* reason);

// All bytes of the regular file at `path`, refusing files longer than `maxBytes`.
bool ReadMediaFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString* reason);

// "Cannot play "PATH": REASON." — the one message a failed open shows.
QString CannotPlayText(const QString& path, const QString& reason);
