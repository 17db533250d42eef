#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Shared pieces of the fuzz targets.

// Fills a recorder file image with the input as a single block read would: bytes the input
// lacks are zero.
template <typename Image> void FillImage(Image& image, const std::uint8_t* data, std::size_t size) {
    image.bytes.fill(0);
    std::copy_n(data, std::min(size, image.bytes.size()), image.bytes.begin());
}

// A property of the reader that must hold for every input: a failure is a finding.
inline void Require(bool holds) {
    if (!holds)
        std::abort();
}

// The rows of a tab-separated text (CR LF line ends) each hold `tabs` tabs.
inline bool EveryRowHasTabs(const QString& text, int tabs) {
    const QStringList rows = text.split(QStringLiteral("\r\n"));
    for (const QString& row : rows) {
        if (!row.isEmpty() && row.count(u'\t') != tabs)
            return false;
    }
    return true;
}
