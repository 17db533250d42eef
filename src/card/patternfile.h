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
    static constexpr std::size_t NameWidth = 8;
    static constexpr std::size_t TimeSignatureByte = 12;
    static constexpr std::size_t LengthByte = 14;

    std::array<std::uint8_t, Size> bytes{};

    // Fields of song pattern record `p` (0 to 99); an index outside the table reads as an
    // empty record (no name, time signature 0, length 0).
    QString name(int p) const; // at most 8 bytes, ending before a zero byte
    std::uint8_t timeSignature(int p) const;
    std::uint16_t length(int p) const;
};

// When `haveSongs`: zeros, then the song's file read over them.
void LoadPatterns(PatternImage& image, const QString& songPath, bool haveSongs);
