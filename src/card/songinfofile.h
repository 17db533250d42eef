#pragma once

#include "card/recordermodel.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

// songinf2.br0 (or SONGINFO.BR0): the song information record, a 48-byte header and a
// 420-byte body. Offsets are from the start of the file.
struct SongInfoImage {
    static constexpr std::size_t HeaderSize = 48;
    static constexpr std::size_t BodySize = 420;
    static constexpr std::size_t Size = HeaderSize + BodySize;
    static constexpr std::size_t VersionOffset = 28;
    static constexpr std::size_t VersionWidth = 4;
    static constexpr std::size_t TagOffset = 32;
    static constexpr std::size_t TagWidth = 7;
    static constexpr std::size_t NameOffset = 48;
    static constexpr std::size_t NameWidth = 8;
    static constexpr std::size_t ProtectOffset = 80;
    static constexpr std::size_t RecordModeOffset = 97;
    static constexpr std::size_t RecordModeOffsetBR532 = 120;

    std::array<std::uint8_t, Size> bytes{};

    // Fills the image from the file; bytes it lacks read as zero. False when it cannot be
    // opened (the image is then all zeros).
    bool read(const QString& path);

    QString name() const;    // up to 8 bytes, ending before a zero byte
    QString tag() const;     // up to 7 bytes, ending before a zero byte
    QString version() const; // exactly 4 bytes
    bool isProtected() const;
    std::uint8_t recordMode(bool br532) const;
};

// The information file of a song folder: songinf2.br0 when it exists, else SONGINFO.BR0
// (names matched ignoring case).
QString SongInfoPath(const QString& songFolder);
