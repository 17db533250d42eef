#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// TAKE_EVT.BR0: a 608-byte header, then take event records of 32 bytes. Only the first
// 1000 records are read, into a fixed image with one block read.
struct TakeEvtImage {
    static constexpr std::size_t HeaderSize = 608;
    static constexpr std::size_t RecordSize = 32;
    static constexpr int MaxRecords = 1000;
    static constexpr std::size_t Size = HeaderSize + RecordSize * MaxRecords;
    static constexpr std::uint8_t EmptiedCode = 0xE0;

    std::array<std::uint8_t, Size> bytes{};
};

// Which of the 8 tracks x 8 V-tracks hold a take.
struct TrackUsage {
    static constexpr int Tracks = 8;
    static constexpr int VTracks = 8;

    std::array<std::array<bool, VTracks>, Tracks> used{}; // [track][vtrack]

    // False for indexes outside the table.
    bool isUsed(int track, int vtrack) const;
    int usedCount() const;
};

// The take event file of the song `songId` below the folder tree's directory `folder`:
// folder/Roland/BR0/<songId>.BR0/TAKE_EVT.BR0, names matched ignoring case. Empty when
// `songId` is blank.
QString TakeEvtFile(const QString& folder, const QString& songId);

// The usage table from the first `length` bytes of an image (later records override
// earlier ones for the same place; (0xE0, 0) empties it; tracks or V-tracks of 8 or more are
// skipped; a partial last record does not count).
TrackUsage TrackUsageFromImage(std::span<const std::uint8_t> image, std::size_t length);

// Reads the file at `path`; a missing, unreadable or short file gives an empty table.
TrackUsage LoadTrackUsage(const QString& path);

// The fixed texts of the usage grid, 9 rows of 9 cells: "V-Tracks", "Track 1" ... in row 0,
// "v-1" ... in column 0, the body empty.
QList<QStringList> TrackUsageGridTexts();
