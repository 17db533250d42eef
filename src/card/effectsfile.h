#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// One bank of effect patches in effects2.br0.
struct EffectBank {
    const char* caption;   // "GTR"
    const char* rowPrefix; // "GTR "
    std::size_t offset;    // of patch 1, from the start of the file
    int patches;
    std::size_t recordSize;
};

// The five banks in file order. The MTK bank has 80-byte records, the others 96.
inline constexpr std::array<EffectBank, 5> EffectBanks{{
    {"GTR", "GTR ", 48, 99, 96},
    {"MIC", "MIC ", 9552, 40, 96},
    {"LIN", "LIN ", 13392, 50, 96},
    {"SML", "SML ", 18192, 50, 96},
    {"MTK", "MTK ", 22992, 19, 80},
}};

// effects2.br0: five banks of effect patches after a 48-byte header.
struct EffectsImage {
    static constexpr std::size_t Size = 24512;
    static constexpr std::size_t NameWidth = 8;
    static constexpr std::size_t AlgorithmByte = 12;

    std::array<std::uint8_t, Size> bytes{};

    // Fields of patch `patch` (counted from 0) of bank `bank` (index into EffectBanks);
    // indexes outside the banks read as an empty patch (no name, algorithm 0).
    QString patchName(int bank, int patch) const; // at most 8 bytes, ending before a zero
    std::uint8_t algorithm(int bank, int patch) const;
};

// Reads the song's effects2.br0 when `haveSongs` and it exists; returns whether it was read
// (the loaded flag).
bool LoadEffects(EffectsImage& image, const QString& songPath, bool haveSongs);
