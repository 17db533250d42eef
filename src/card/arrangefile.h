#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// arrange2.br0: a 48-byte header, then a 3096-byte body holding five arrangement
// entries and their step lists. Offsets are from the start of the file.
struct ArrangeImage {
    static constexpr std::size_t HeaderSize = 48;
    static constexpr std::size_t BodySize = 3096;
    static constexpr std::size_t Size = HeaderSize + BodySize;
    static constexpr std::size_t EntriesOffset = 64;
    static constexpr std::size_t EntrySize = 16;
    static constexpr std::size_t StepsOffset = 144;
    static constexpr std::size_t StepListSize = 600;
    static constexpr std::size_t StepSize = 12;
    static constexpr int Arrangements = 5;
    static constexpr int Steps = 50;
    static constexpr std::uint16_t UnusedStep = 0xFFFF;

    std::array<std::uint8_t, Size> bytes{};
};

// Every step unused, then the song's file read over it when `haveSongs`; bytes the file
// lacks keep the unused marks.
void LoadArrangements(ArrangeImage& image, const QString& songPath, bool haveSongs);
