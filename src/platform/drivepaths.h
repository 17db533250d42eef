#pragma once

#include <QChar>
#include <QString>

// Path helpers shared by the drive tables.

// The real path of `path`: symbolic links resolved and "." and ".." removed, with '/' as
// separator and no trailing '/' (except for "/" itself). For a path that does not exist,
// the real path of its nearest existing ancestor followed by the rest as written.
QString RealFolderPath(const QString& path);

// The length of `root` (a real path ending in '/') when it is `path` (a real path) or one of
// its ancestors; -1 otherwise. "/media/card/" covers "/media/card" and "/media/card/x",
// not "/media/card2".
qsizetype RootCoverLength(const QString& path, const QString& root);

// The letter upper-cased when it is an ASCII letter; QChar() otherwise.
QChar DriveLetterOf(QChar letter);
