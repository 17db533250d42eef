#include "media/core/smffile.h"

#include <algorithm>
#include <cmath>

namespace {

// Big-endian reads that fail instead of reading past the end of their bytes.
class SmfCursor {
public:
    explicit SmfCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }

    bool u8(std::uint8_t& v) {
        if (atEnd())
            return false;
        v = m_bytes[m_pos++];
        return true;
    }
    bool be(int count, std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < count; ++i) {
            std::uint8_t b = 0;
            if (!u8(b))
                return false;
            v = (v << 8) | b;
        }
        return true;
    }
    // A variable-length quantity of at most four bytes.
    SmfError varLength(std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!u8(b))
                return SmfError::Truncated;
            v = (v << 7) | (b & 0x7Fu);
            if ((b & 0x80) == 0)
                return SmfError::None;
        }
        return SmfError::Malformed;
    }
    bool take(std::size_t count, std::span<const std::uint8_t>& out) {
        if (count > remaining())
            return false;
        out = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

int DataBytes(std::uint8_t status) {
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

struct TrackReader {
    SmfFile& file;
    std::vector<SmfTempoChange>& tempos;
    std::uint64_t tick = 0;
    std::uint8_t running = 0;

    SmfError meta(SmfCursor& c, bool& ended) {
        std::uint8_t type = 0;
        std::uint32_t length = 0;
        std::span<const std::uint8_t> data;
        if (!c.u8(type))
            return SmfError::Truncated;
        if (const SmfError e = c.varLength(length); e != SmfError::None)
            return e;
        if (!c.take(length, data))
            return SmfError::Truncated;
        if (type == 0x51 && data.size() >= 3)
            tempos.push_back({tick, (std::uint32_t{data[0]} << 16) | (data[1] << 8) | data[2]});
        ended = type == 0x2F;
        return SmfError::None;
    }

    SmfError sysex(SmfCursor& c, std::uint8_t status) {
        std::uint32_t length = 0;
        std::span<const std::uint8_t> data;
        if (const SmfError e = c.varLength(length); e != SmfError::None)
            return e;
        if (!c.take(length, data))
            return SmfError::Truncated;
        if (status != 0xF0) // an escaped packet: nothing for a synthesizer
            return SmfError::None;
        if (!data.empty() && data.back() == 0xF7)
            data = data.first(data.size() - 1);
        SmfEvent e;
        e.tick = tick;
        e.status = 0xF0;
        e.sysexOffset = static_cast<std::uint32_t>(file.sysexBytes.size());
        e.sysexLength = static_cast<std::uint32_t>(data.size());
        file.sysexBytes.insert(file.sysexBytes.end(), data.begin(), data.end());
        file.events.push_back(e);
        return SmfError::None;
    }

    SmfError channel(SmfCursor& c, std::uint8_t first) {
        SmfEvent e;
        e.tick = tick;
        if (first & 0x80) {
            running = first;
            if (!c.u8(first))
                return SmfError::Truncated;
        } else if (running == 0) {
            return SmfError::Malformed;
        }
        e.status = running;
        e.data1 = first & 0x7F;
        if (DataBytes(running) == 2) {
            if (!c.u8(e.data2))
                return SmfError::Truncated;
            e.data2 &= 0x7F;
        }
        file.events.push_back(e);
        return SmfError::None;
    }

    SmfError read(SmfCursor& c) {
        bool ended = false;
        while (!c.atEnd() && !ended) {
            std::uint32_t delta = 0;
            std::uint8_t status = 0;
            if (const SmfError e = c.varLength(delta); e != SmfError::None)
                return e;
            tick += delta;
            if (!c.u8(status))
                return SmfError::Truncated;
            SmfError e = SmfError::None;
            if (status == 0xFF)
                e = meta(c, ended);
            else if (status == 0xF0 || status == 0xF7)
                e = sysex(c, status);
            else if (status > 0xF0)
                e = SmfError::Malformed;
            else
                e = channel(c, status);
            if (e != SmfError::None)
                return e;
        }
        file.endTick = std::max(file.endTick, tick);
        return SmfError::None;
    }
};

bool IsChunk(std::span<const std::uint8_t> id, const char* name) {
    return std::equal(id.begin(), id.end(), name);
}

SmfError ReadHeader(SmfCursor& c, SmfFile& out, std::uint32_t& tracks) {
    std::span<const std::uint8_t> id;
    std::span<const std::uint8_t> body;
    std::uint32_t length = 0;
    if (!c.take(4, id))
        return SmfError::NotMidi;
    if (!IsChunk(id, "MThd"))
        return SmfError::NotMidi;
    if (!c.be(4, length) || !c.take(length, body))
        return SmfError::Truncated;
    if (length < 6)
        return SmfError::Malformed;
    out.format = (body[0] << 8) | body[1];
    tracks = static_cast<std::uint32_t>((body[2] << 8) | body[3]);
    out.division = static_cast<std::uint16_t>((body[4] << 8) | body[5]);
    if (out.format > 1)
        return out.format == 2 ? SmfError::UnsupportedFormat : SmfError::Malformed;
    return tracks == 0 || out.division == 0 ? SmfError::Malformed : SmfError::None;
}

SmfError ReadTracks(SmfCursor& c, SmfFile& out, std::uint32_t tracks,
                    std::vector<SmfTempoChange>& tempos) {
    while (static_cast<std::uint32_t>(out.trackCount) < tracks) {
        std::span<const std::uint8_t> id;
        std::span<const std::uint8_t> body;
        std::uint32_t length = 0;
        if (!c.take(4, id) || !c.be(4, length) || !c.take(length, body))
            return SmfError::Truncated;
        if (!IsChunk(id, "MTrk"))
            continue; // chunks of other kinds are skipped
        SmfCursor track(body);
        TrackReader reader{out, tempos};
        if (const SmfError e = reader.read(track); e != SmfError::None)
            return e;
        ++out.trackCount;
    }
    return SmfError::None;
}

} // namespace

SmfTempoMap::SmfTempoMap() : SmfTempoMap(480, {}) {
}

SmfTempoMap::SmfTempoMap(std::uint16_t division, std::vector<SmfTempoChange> changes) {
    if (division & 0x8000) { // SMPTE: frames per second (29 means 29.97) and ticks per frame
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const double rate = fps == 29 ? 29.97 : std::max(fps, 1);
        m_segments.push_back({0, 0.0, 1e6 / (rate * std::max(division & 0xFF, 1))});
        return;
    }
    const double ticksPerQuarter = std::max<int>(division, 1);
    std::stable_sort(
        changes.begin(), changes.end(),
        [](const SmfTempoChange& a, const SmfTempoChange& b) { return a.tick < b.tick; });
    m_segments.push_back({0, 0.0, 500000.0 / ticksPerQuarter});
    for (const SmfTempoChange& change : changes) {
        if (change.microsPerQuarter == 0)
            continue; // no time would pass at all
        const double perTick = change.microsPerQuarter / ticksPerQuarter;
        if (change.tick == m_segments.back().tick) {
            m_segments.back().microsPerTick = perTick;
            continue;
        }
        m_segments.push_back({change.tick, ticksToMicros(change.tick), perTick});
    }
}

const SmfTempoMap::Segment& SmfTempoMap::segmentForTick(std::uint64_t tick) const {
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), tick,
                               [](std::uint64_t t, const Segment& s) { return t < s.tick; });
    return *(it - 1); // the first segment starts at tick 0
}

double SmfTempoMap::ticksToMicros(std::uint64_t tick) const {
    const Segment& s = segmentForTick(tick);
    return s.micros + static_cast<double>(tick - s.tick) * s.microsPerTick;
}

std::uint64_t SmfTempoMap::microsToTicks(double micros) const {
    if (!(micros > 0.0))
        return 0;
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), micros,
                               [](double m, const Segment& s) { return m < s.micros; });
    const Segment& s = *(it - 1);
    const double ticks = std::floor((micros - s.micros) / s.microsPerTick + 1e-9);
    return s.tick + static_cast<std::uint64_t>(std::min(ticks, 1e18));
}

SmfError ReadSmf(std::span<const std::uint8_t> bytes, SmfFile& out) {
    out = SmfFile();
    if (bytes.size() > SmfFile::MaxBytes)
        return SmfError::TooLarge;
    SmfCursor c(bytes);
    std::uint32_t tracks = 0;
    std::vector<SmfTempoChange> tempos;
    if (SmfError e = ReadHeader(c, out, tracks); e != SmfError::None)
        return e;
    if (SmfError e = ReadTracks(c, out, tracks, tempos); e != SmfError::None)
        return e;
    std::stable_sort(out.events.begin(), out.events.end(),
                     [](const SmfEvent& a, const SmfEvent& b) { return a.tick < b.tick; });
    out.tempoMap = SmfTempoMap(out.division, std::move(tempos));
    if (out.tempoMap.ticksToMicros(out.endTick) > SmfFile::MaxMicros)
        return SmfError::TooLong;
    return SmfError::None;
}

QString SmfErrorText(SmfError error) {
    switch (error) {
    case SmfError::None:
        break;
    case SmfError::NotMidi:
        return QStringLiteral("it is not a standard MIDI file");
    case SmfError::Truncated:
        return QStringLiteral("the file is cut short");
    case SmfError::Malformed:
        return QStringLiteral("its MIDI data is damaged");
    case SmfError::UnsupportedFormat:
        return QStringLiteral("MIDI files of format 2 cannot be played");
    case SmfError::TooLarge:
        return QStringLiteral("it is too large for a MIDI file");
    case SmfError::TooLong:
        return QStringLiteral("it would play for more than 24 hours");
    }
    return QString();
}
