#pragma once

#include "fixture/cardfixture.h"

#include <QByteArray>
#include <QString>

// Song folders for the window tests: SONG001.BR0 .. SONGnnn.BR0, BR-864 songs named
// "Song 1", "Song 2", ..., song i holding a take file of i * 100 000 bytes beside its
// record. Returns false when a file could not be written.
bool WriteNumberedSongs(const CardFixture& card, int count);

// The folder name of numbered song `i` (from 1).
QString NumberedSongFolder(int i);
