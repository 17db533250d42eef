#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Standard MIDI files (format 0 and 1): the events of all tracks on one time line and the
// tempo map that turns their ticks into time. The reader takes the whole file as bytes and
// never reads outside them, whatever lengths and counts the bytes claim.

// One channel or system-exclusive event.
struct SmfEvent {
    std::uint64_t tick = 0;
    std::uint8_t status = 0; // 0x80..0xEF with the channel, or 0xF0 for system exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t sysexOffset = 0; // system exclusive: bytes in SmfFile::sysexBytes, after
    std::uint32_t sysexLength = 0; // the 0xF0 and without the closing 0xF7
};

struct SmfTempoChange {
    std::uint64_t tick = 0;
    std::uint32_t microsPerQuarter = 500000;
};

// Ticks to microseconds and back. Division: ticks per quarter note, or (top bit set) SMPTE
// frames per second and ticks per frame, where tempo changes do not apply.
class SmfTempoMap {
public:
    SmfTempoMap();
    SmfTempoMap(std::uint16_t division, std::vector<SmfTempoChange> changes);

    double ticksToMicros(std::uint64_t tick) const;
    // The tick sounding at `micros` (rounded down); negative times are tick 0.
    std::uint64_t microsToTicks(double micros) const;

private:
    struct Segment {
        std::uint64_t tick;
        double micros;
        double microsPerTick;
    };
    const Segment& segmentForTick(std::uint64_t tick) const;

    std::vector<Segment> m_segments; // never empty, ascending ticks
};

enum class SmfError { None, NotMidi, Truncated, Malformed, UnsupportedFormat, TooLarge, TooLong };

struct SmfFile {
    static constexpr std::size_t MaxBytes = 64u * 1024 * 1024;
    static constexpr double MaxMicros = 24.0 * 3600 * 1e6;

    int format = 0;
    int trackCount = 0;
    std::uint16_t division = 0;
    SmfTempoMap tempoMap;
    std::vector<SmfEvent> events; // ascending ticks; at one tick, in track order
    std::vector<std::uint8_t> sysexBytes;
    std::uint64_t endTick = 0; // the latest end of any track
};

SmfError ReadSmf(std::span<const std::uint8_t> bytes, SmfFile& out);

// Why a file cannot be played, as the end of a sentence ("it is not a standard MIDI file").
QString SmfErrorText(SmfError error);
