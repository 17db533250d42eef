#include "card/trackusage.h"

#include "card/bytecursor.h"
#include "card/cardpath.h"
#include "card/fileimage.h"
#include "transfer/sizetext.h"

#include <algorithm>
#include <memory>

bool TrackUsage::isUsed(int track, int vtrack) const {
    if (track < 0 || track >= Tracks || vtrack < 0 || vtrack >= VTracks)
        return false;
    return used[static_cast<std::size_t>(track)][static_cast<std::size_t>(vtrack)];
}

int TrackUsage::usedCount() const {
    int count = 0;
    for (const auto& track : used)
        count += static_cast<int>(std::count(track.begin(), track.end(), true));
    return count;
}

QString TakeEvtFile(const QString& folder, const QString& songId) {
    if (IsBlankText(songId))
        return {};
    return ResolveCardPath(folder, u"Roland/BR0/" + songId + u".BR0/TAKE_EVT.BR0");
}

TrackUsage TrackUsageFromImage(std::span<const std::uint8_t> image, std::size_t length) {
    TrackUsage usage;
    length = std::min(length, image.size());
    if (length <= TakeEvtImage::HeaderSize)
        return usage;
    const std::size_t whole = (length - TakeEvtImage::HeaderSize) / TakeEvtImage::RecordSize;
    const std::size_t records = std::min(whole, static_cast<std::size_t>(TakeEvtImage::MaxRecords));
    ByteCursor cursor(image, TakeEvtImage::HeaderSize);
    for (std::size_t r = 0; r < records; ++r) {
        const std::size_t start = cursor.pos();
        const std::uint8_t t = cursor.u8();
        const std::uint8_t v = cursor.u8();
        const std::uint8_t code = cursor.u8();
        const std::uint8_t detail = cursor.u8();
        cursor.seek(start + TakeEvtImage::RecordSize);
        if (t >= TrackUsage::Tracks || v >= TrackUsage::VTracks)
            continue;
        usage.used[t][v] = !(code == TakeEvtImage::EmptiedCode && detail == 0);
    }
    return usage;
}

TrackUsage LoadTrackUsage(const QString& path) {
    if (path.isEmpty())
        return {};
    const auto image = std::make_unique<TakeEvtImage>();
    const qint64 got = ReadFileImage(path, image->bytes);
    if (got <= 0)
        return {};
    return TrackUsageFromImage(image->bytes, static_cast<std::size_t>(got));
}

QList<QStringList> TrackUsageGridTexts() {
    QList<QStringList> rows;
    for (int r = 0; r <= TrackUsage::VTracks; ++r) {
        QStringList row;
        for (int c = 0; c <= TrackUsage::Tracks; ++c) {
            if (r == 0 && c == 0)
                row.append(QStringLiteral("V-Tracks"));
            else if (r == 0)
                row.append(u"Track " + QString::number(c));
            else if (c == 0)
                row.append(u"v-" + QString::number(r));
            else
                row.append(QString());
        }
        rows.append(row);
    }
    return rows;
}
