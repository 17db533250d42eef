#pragma once

#include "card/recordermodel.h"

#include <QString>
#include <cstdint>

// One song of the catalogue: one SONG*.BR0 entry of the card's Roland/BR0 folder.
struct SongListItem {
    QString folderName; // SONG001.BR0
    QString songId;     // SONG001: the key by which a song is selected
    QString name;       // at most 8 characters
    std::uint64_t size = 0;
    std::uint8_t recordMode = 0;
    bool isProtected = false;
    RecorderModel model = RecorderModel::None;
    QString version; // 4 characters
    bool isMicroBR = false;
    bool isBR532 = false;
};
