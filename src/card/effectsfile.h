#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// effects2.br0: five banks of effect patches after a 48-byte header.
struct EffectsImage {
    static constexpr std::size_t Size = 24512;

    std::array<std::uint8_t, Size> bytes{};
};

// Reads the song's effects2.br0 when `haveSongs` and it exists; returns whether it was read
// (the loaded flag).
bool LoadEffects(EffectsImage& image, const QString& songPath, bool haveSongs);
