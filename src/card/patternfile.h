#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// pattern.br0: a 48-byte header, then a 42816-byte body holding 100 song pattern records
// of 28 bytes from offset 64.
struct PatternImage {
    static constexpr std::size_t HeaderSize = 48;
    static constexpr std::size_t BodySize = 42816;
    static constexpr std::size_t Size = HeaderSize + BodySize;
    static constexpr std::size_t RecordsOffset = 64;
    static constexpr std::size_t RecordSize = 28;
    static constexpr int Records = 100;

    std::array<std::uint8_t, Size> bytes{};
};

// When `haveSongs`: zeros, then the song's file read over them.
void LoadPatterns(PatternImage& image, const QString& songPath, bool haveSongs);
