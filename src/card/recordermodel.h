#pragma once

#include <QString>
#include <cstdint>

// The recorder model that created a song or formatted a card.
enum class RecorderModel : std::uint8_t {
    None = 0,
    BR532 = 1,
    BR864 = 2,
    BR900 = 3,
    BR600 = 4,
    MicroBR = 5,
    BR800 = 6,
    BR80 = 7,
};

// "???" for None, else "BR-532", "BR-864", "BR-900", "BR-600", "Micro BR", "BR-800", "BR-80".
QString RecorderModelName(RecorderModel model);

// The model whose 7-character song-file tag equals `tag` exactly ("BR-80  ", "MicroBR", ...);
// None when no tag does.
RecorderModel RecorderModelFromTag(const QString& tag);

// The 7-character tag the recorder writes into its song files; empty for None.
QString RecorderModelTag(RecorderModel model);

// The model from a card's volume label, compared whole and case-sensitively
// ("BOSS_BR-864", "MICRO_BR", ...); None for any other label.
RecorderModel RecorderModelFromVolumeLabel(const QString& label);

// The volume label the recorder gives a card it formats; empty for None.
QString RecorderModelVolumeLabel(RecorderModel model);
