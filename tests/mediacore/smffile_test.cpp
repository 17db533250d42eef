#include "fixture/mediafixture.h"
#include "media/core/smffile.h"

#include <gtest/gtest.h>

namespace {

SmfError Read(const QByteArray& bytes, SmfFile& file) {
    // A copy of exactly the given length, so that a read past its end is caught by ASan.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    return ReadSmf(copy, file);
}

QList<MidiNote> Scale(std::uint8_t channel, int count, std::uint32_t step) {
    QList<MidiNote> notes;
    for (int i = 0; i < count; ++i)
        notes.append({static_cast<std::uint32_t>(i) * step, channel,
                      static_cast<std::uint8_t>(60 + i), 100, step});
    return notes;
}

TEST(SmfFileTest, EndTimeFollowsTheTempoMap) {
    const struct {
        int format;
        std::uint16_t division;
        QList<MidiTempo> tempos;
        std::uint32_t endTick;
        double expectedMillis;
    } cases[] = {
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
    for (const auto& c : cases) {
        SmfSpec layout;
        layout.format = c.format;
        layout.division = c.division;
        layout.tempos = c.tempos;
        layout.noteTracks = {Scale(0, 4, 100), Scale(3, 2, 50)};
        layout.endTick = c.endTick;
        SmfFile file;
        ASSERT_EQ(Read(SmfBytes(layout), file), SmfError::None);
        EXPECT_EQ(file.format, c.format);
        EXPECT_EQ(file.endTick, c.endTick);
        EXPECT_NEAR(file.tempoMap.ticksToMicros(file.endTick) / 1000.0, c.expectedMillis, 0.001)
            << c.division;
    }
}

TEST(SmfTempoMapTest, TicksAndMicrosRoundTripAcrossChanges) {
    const SmfTempoMap map(480, {{960, 250000}, {480, 1000000}}); // given out of order
    const struct {
        std::uint64_t tick;
        double micros;
    } points[] = {{0, 0}, {480, 500000}, {720, 1000000}, {1440, 1750000}};
    for (const auto& p : points) {
        EXPECT_DOUBLE_EQ(map.ticksToMicros(p.tick), p.micros) << p.tick;
        EXPECT_EQ(map.microsToTicks(p.micros), p.tick) << p.micros;
    }
    EXPECT_EQ(map.microsToTicks(-5.0), 0u);
    EXPECT_EQ(map.microsToTicks(1500000.0 - 1.0), 959u);
}

TEST(SmfFileTest, EventsOfAllTracksMergeInTickOrder) {
    SmfSpec layout;
    layout.programs = {{0, 0, 5}};
    layout.noteTracks = {{{100, 0, 60, 90, 10}}, {{50, 2, 64, 80, 100}}};
    SmfFile file;
    ASSERT_EQ(Read(SmfBytes(layout), file), SmfError::None);
    EXPECT_EQ(file.trackCount, 3);
    std::vector<std::pair<std::uint64_t, int>> seen;
    for (const SmfEvent& e : file.events)
        seen.push_back({e.tick, e.status});
    const std::vector<std::pair<std::uint64_t, int>> expected = {
        {0, 0xC0}, {50, 0x92}, {100, 0x90}, {110, 0x80}, {150, 0x82}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(file.endTick, 150u);
}

// A format 0 file with one track written by hand.
QByteArray HandTrack(const QByteArray& body) {
    QByteArray out("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk", 18);
    for (int shift : {24, 16, 8, 0})
        out.append(static_cast<char>((body.size() >> shift) & 0xFF));
    return out + body;
}

TEST(SmfFileTest, RunningStatusSysexAndMetaEvents) {
    const QByteArray body("\x00\x90\x3C\x40"         // note on
                          "\x10\x3E\x41"             // running status
                          "\x00\xFF\x01\x02hi"       // text
                          "\x05\xF0\x03\x7E\x7F\xF7" // system exclusive
                          "\x00\xE1\x00\x40"         // pitch bend
                          "\x20\xFF\x2F\x00",
                          27);
    SmfFile file;
    ASSERT_EQ(Read(HandTrack(body), file), SmfError::None);
    ASSERT_EQ(file.events.size(), 4u);
    EXPECT_EQ(file.events[1].tick, 16u);
    EXPECT_EQ(file.events[1].status, 0x90);
    EXPECT_EQ(file.events[1].data1, 0x3E);
    EXPECT_EQ(file.events[2].status, 0xF0);
    ASSERT_EQ(file.events[2].sysexLength, 2u); // the closing 0xF7 is not sent
    EXPECT_EQ(file.sysexBytes[file.events[2].sysexOffset], 0x7E);
    EXPECT_EQ(file.events[3].status, 0xE1);
    EXPECT_EQ(file.endTick, 53u);
}

struct ErrorCase {
    const char* name;
    QByteArray bytes;
    SmfError expected;
};

QByteArray ValidFile() {
    SmfSpec layout;
    layout.tempos = {{0, 400000}, {96, 300000}};
    layout.noteTracks = {Scale(0, 3, 96)};
    return SmfBytes(layout);
}

// The valid file with four bytes at `at` replaced: 4 is the header's length, 18 the first
// track's.
QByteArray Patched(qsizetype at, const char* four) {
    return ValidFile().replace(at, 4, QByteArray(four, 4));
}

class SmfErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SmfErrorTest, IsRecognised) {
    SmfFile file;
    EXPECT_EQ(Read(GetParam().bytes, file), GetParam().expected);
    EXPECT_FALSE(SmfErrorText(GetParam().expected).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SmfErrorTest,
    ::testing::Values(
        ErrorCase{"Empty", QByteArray(), SmfError::NotMidi},
        ErrorCase{"HeaderTooShort", QByteArray("MThd\0\0\0\x04\0\0\0\x01", 12),
                  SmfError::Malformed},
        ErrorCase{"Format2", QByteArray("MThd\0\0\0\x06\0\x02\0\x01\0\x60", 14),
                  SmfError::UnsupportedFormat},
        ErrorCase{"Format7", QByteArray("MThd\0\0\0\x06\0\x07\0\x01\0\x60", 14),
                  SmfError::Malformed},
        ErrorCase{"NoTracks", QByteArray("MThd\0\0\0\x06\0\0\0\0\0\x60", 14), SmfError::Malformed},
        ErrorCase{"DivisionZero", QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\0", 14),
                  SmfError::Malformed},
        ErrorCase{"EventCut", HandTrack(QByteArray("\x00\x90\x3C", 3)), SmfError::Truncated},
        ErrorCase{"MetaLengthBeyondTrack", HandTrack(QByteArray("\x00\xFF\x01\x7F", 4)),
                  SmfError::Truncated},
        ErrorCase{"DataWithoutStatus", HandTrack(QByteArray("\x00\x3C\x40", 3)),
                  SmfError::Malformed},
        ErrorCase{"FiveByteDelta", HandTrack(QByteArray("\x81\x81\x81\x81\x01\x90\x3C\x40", 8)),
                  SmfError::Malformed},
        ErrorCase{"SystemCommonByte", HandTrack(QByteArray("\x00\xF2\x00\x00", 4)),
                  SmfError::Malformed},
        // 0x0FFFFFFF ticks at 0xFFFFFF microseconds per tick: far beyond a day.
        ErrorCase{
            "EndsAfterADay",
            HandTrack(QByteArray("\x00\xFF\x51\x03\xFF\xFF\xFF\xFF\xFF\xFF\x7F\xFF\x2F\x00", 14)),
            SmfError::TooLong},
        ErrorCase{"HeaderLengthHuge", Patched(4, "\xFF\xFF\xFF\xF0"), SmfError::Truncated},
        ErrorCase{"TrackLengthHuge", Patched(18, "\xFF\xFF\xFF\xFF"), SmfError::Truncated},
        ErrorCase{"TrackLengthMax", Patched(18, "\x7F\xFF\xFF\xFF"), SmfError::Truncated},
        ErrorCase{"TrackLengthShort", Patched(18, "\x00\x00\x00\x09"), SmfError::Truncated}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(SmfHostileTest, EveryCutOfAFileStopsAtItsEnd) {
    const QByteArray whole = ValidFile();
    for (qsizetype n = 0; n < whole.size(); ++n) {
        SmfFile file;
        const SmfError e = Read(whole.left(n), file); // the last byte ends the track
        EXPECT_EQ(e, n < 4 ? SmfError::NotMidi : SmfError::Truncated) << n;
    }
    SmfFile file;
    EXPECT_EQ(Read(whole, file), SmfError::None);
}

} // namespace
