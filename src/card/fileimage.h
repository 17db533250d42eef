#pragma once

#include <QString>
#include <cstdint>
#include <span>

// Fills `image` from the file at `path`, starting at file offset `offset`, with one block
// read. Bytes the file does not have read as zero. Returns the number of bytes read, or -1
// when the file cannot be opened or positioned (the image is then all zeros).
qint64 ReadFileImage(const QString& path, std::span<std::uint8_t> image, qint64 offset = 0);
