#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// One 12-byte step of an arrangement's step list.
struct ArrangeStep {
    static constexpr std::uint16_t Unused = 0xFFFF;

    std::uint16_t start = Unused; // starting measure, counted from 0
    std::int16_t tempo = 0;       // tenths of a beat per minute
    std::uint8_t timeSignature = 0;
    std::uint8_t source = 0;   // 0 preset pattern, else song pattern
    std::uint16_t pattern = 0; // pattern number, counted from 0
    std::uint8_t length = 0;   // pattern length in measures

    bool isUnused() const { return start == Unused; }
    bool isSongPattern() const { return source != 0; }
};

// arrange2.br0: a 48-byte header, then a 3096-byte body holding five arrangement
// entries and their step lists. Offsets are from the start of the file.
struct ArrangeImage {
    static constexpr std::size_t HeaderSize = 48;
    static constexpr std::size_t BodySize = 3096;
    static constexpr std::size_t Size = HeaderSize + BodySize;
    static constexpr std::size_t EntriesOffset = 64;
    static constexpr std::size_t EntrySize = 16;
    static constexpr std::size_t NameWidth = 12;
    static constexpr std::size_t KitBankByte = 12;
    static constexpr std::size_t KitNumberByte = 13;
    static constexpr std::size_t StepsOffset = 144;
    static constexpr std::size_t StepListSize = 600;
    static constexpr std::size_t StepSize = 12;
    static constexpr int Arrangements = 5;
    static constexpr int Steps = 50;
    static constexpr std::uint16_t UnusedStep = 0xFFFF;

    std::array<std::uint8_t, Size> bytes{};

    // Entry fields of arrangement `a` (0 to 4); an index outside the table reads as an
    // empty entry.
    QString name(int a) const; // up to the first zero byte, at most 12 bytes, untrimmed
    std::uint8_t drumKitBank(int a) const;
    std::uint8_t drumKitNumber(int a) const;
    // Step `s` (0 to 49) of arrangement `a`; an index outside the table reads as unused.
    ArrangeStep step(int a, int s) const;
};

// Every step unused, then the song's file read over it when `haveSongs`; bytes the file
// lacks keep the unused marks.
void LoadArrangements(ArrangeImage& image, const QString& songPath, bool haveSongs);
