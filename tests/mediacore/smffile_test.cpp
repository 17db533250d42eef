#include "fixture/mediafixture.h"
#include "media/core/smffile.h"

#include <gtest/gtest.h>

namespace {

SmfError Read(const QByteArray& bytes, SmfFile& file) {
    // A copy of exactly the given length, so that a read past its end is caught by ASan.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    return ReadSmf(copy, file);
}

// A format 0 file with one track written by hand.
QByteArray HandTrack(const QByteArray& body) {
    QByteArray out("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk", 18);
    for (int shift : {24, 16, 8, 0})
        out.append(static_cast<char>((body.size() >> shift) & 0xFF));
    return out + body;
}

QByteArray ValidFile() {
    SmfSpec layout;
    layout.tempos = {{0, 400000}, {96, 300000}};
    layout.noteTracks = {{{0, 0, 60, 100, 96}, {96, 0, 61, 100, 96}, {192, 0, 62, 100, 96}}};
    return SmfBytes(layout);
}

} // namespace

// Format, division, tempo changes and end tick as written, timed by the tempo map both ways.
TEST(SmfFileTest, EndTimeFollowsTheTempoMap) {
    const std::tuple<int, std::uint16_t, QList<MidiTempo>, std::uint32_t, double> cases[] = {
        // No tempo event: 120 beats per minute, 4 quarters of 500 ms.
        {1, 480, {}, 1920, 2000.0},
        {0, 480, {{240, 600000}}, 720, 250.0 + 600.0},
        // Two changes on one tick: the later one holds.
        {1, 100, {{0, 400000}, {0, 800000}}, 500, 4000.0},
        // A zero tempo would stop time: it is left out.
        {1, 480, {{0, 500000}, {480, 0}}, 960, 1000.0},
        // SMPTE: 25 frames per second, 40 ticks per frame = 1 ms per tick; tempos ignored.
        {1, static_cast<std::uint16_t>(0xE728), {{0, 250000}}, 1500, 1500.0},
    };
    for (const auto& [format, division, tempos, endTick, millis] : cases) {
        SmfSpec layout{format, division, tempos,
                       {},     {},       {{{0, 0, 60, 100, 400}}, {{0, 3, 62, 100, 100}}},
                       endTick};
        SmfFile file;
        ASSERT_EQ(Read(SmfBytes(layout), file), SmfError::None);
        EXPECT_EQ(file.format, format);
        EXPECT_EQ(file.endTick, endTick);
        EXPECT_NEAR(file.tempoMap.ticksToMicros(endTick) / 1000.0, millis, 0.001) << division;
        EXPECT_EQ(file.tempoMap.microsToTicks(millis * 1000.0 - 1.0), endTick - 1) << division;
    }
}

// Tracks merge in tick order; running status, sysex without its closing byte, text and
// pitch bend events by hand.
TEST(SmfFileTest, EventsInTickOrder) {
    SmfSpec layout;
    layout.programs = {{0, 0, 5}};
    layout.noteTracks = {{{100, 0, 60, 90, 10}}, {{50, 2, 64, 80, 100}}};
    const QByteArray body("\x00\x90\x3C\x40"         // note on
                          "\x10\x3E\x41"             // running status
                          "\x00\xFF\x01\x02hi"       // text
                          "\x05\xF0\x03\x7E\x7F\xF7" // system exclusive
                          "\x00\xE1\x00\x40"         // pitch bend
                          "\x20\xFF\x2F\x00",
                          27);
    using Events = std::vector<std::pair<std::uint64_t, int>>;
    const std::tuple<QByteArray, int, std::uint64_t, Events> cases[] = {
        {SmfBytes(layout), 3, 150, {{0, 0xC0}, {50, 0x92}, {100, 0x90}, {110, 0x80}, {150, 0x82}}},
        {HandTrack(body), 1, 53, {{0, 0x90}, {16, 0x90}, {21, 0xF0}, {21, 0xE1}}}};
    SmfFile file;
    for (const auto& [bytes, tracks, endTick, expected] : cases) {
        file = SmfFile();
        ASSERT_EQ(Read(bytes, file), SmfError::None);
        Events seen;
        for (const SmfEvent& e : file.events)
            seen.push_back({e.tick, e.status});
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(file.trackCount, tracks);
        EXPECT_EQ(file.endTick, endTick);
    }
    EXPECT_EQ(file.events[1].data1, 0x3E);     // the hand-made track, read last
    ASSERT_EQ(file.events[2].sysexLength, 2u); // the closing 0xF7 is not sent
    EXPECT_EQ(file.sysexBytes[file.events[2].sysexOffset], 0x7E);
}

// Broken and hostile files: the valid file patched at 4 (the header's length) or 18 (the
// first track's), hand-made tracks, and every cut of the valid file.
TEST(SmfFileTest, BrokenFilesAreRecognised) {
    const auto patched = [](qsizetype at, const char* four) {
        return ValidFile().replace(at, 4, QByteArray(four, 4));
    };
    const std::pair<QByteArray, SmfError> cases[] = {
        {QByteArray(), SmfError::NotMidi},
        {QByteArray("MThd\0\0\0\x04\0\0\0\x01", 12), SmfError::Malformed},
        {QByteArray("MThd\0\0\0\x06\0\x02\0\x01\0\x60", 14), SmfError::UnsupportedFormat},
        {QByteArray("MThd\0\0\0\x06\0\x07\0\x01\0\x60", 14), SmfError::Malformed},
        {QByteArray("MThd\0\0\0\x06\0\0\0\0\0\x60", 14), SmfError::Malformed},
        {QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\0", 14), SmfError::Malformed},
        {HandTrack(QByteArray("\x00\x90\x3C", 3)), SmfError::Truncated},
        {HandTrack(QByteArray("\x00\xFF\x01\x7F", 4)), SmfError::Truncated},
        {HandTrack(QByteArray("\x00\x3C\x40", 3)), SmfError::Malformed},
        {HandTrack(QByteArray("\x81\x81\x81\x81\x01\x90\x3C\x40", 8)), SmfError::Malformed},
        {HandTrack(QByteArray("\x00\xF2\x00\x00", 4)), SmfError::Malformed},
        // 0x0FFFFFFF ticks at 0xFFFFFF microseconds per tick: far beyond a day.
        {HandTrack(QByteArray("\x00\xFF\x51\x03\xFF\xFF\xFF\xFF\xFF\xFF\x7F\xFF\x2F\x00", 14)),
         SmfError::TooLong},
        {patched(4, "\xFF\xFF\xFF\xF0"), SmfError::Truncated},
        {patched(18, "\xFF\xFF\xFF\xFF"), SmfError::Truncated},
        {patched(18, "\x7F\xFF\xFF\xFF"), SmfError::Truncated},
    };
    for (const auto& [bytes, expected] : cases) {
        SmfFile file;
        EXPECT_EQ(Read(bytes, file), expected) << bytes.toHex().toStdString();
    }
    const QByteArray whole = ValidFile();
    for (qsizetype n = 0; n <= whole.size(); ++n) { // the last byte ends the track
        SmfFile file;
        const SmfError e = n == whole.size() ? SmfError::None
                           : n < 4           ? SmfError::NotMidi
                                             : SmfError::Truncated;
        EXPECT_EQ(Read(whole.left(n), file), e) << n;
    }
}
