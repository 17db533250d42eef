#include "card/songlisttext.h"

#include "card/vocabulary.h"
#include "transfer/sizetext.h"

namespace {

bool IsRowBlank(const QStringList& row) {
    for (const QString& cell : row) {
        if (!IsBlankText(cell))
            return false;
    }
    return true;
}

} // namespace

QString CellText(const QString& text) {
    QString cell = text;
    for (QChar& c : cell) {
        if (c.unicode() < 0x20)
            c = u' ';
    }
    return cell;
}

QStringList SongListHeadings() {
    return {QStringLiteral("Song"),      QStringLiteral("Name"),
            QStringLiteral("Size"),      QStringLiteral("Data Type"),
            QStringLiteral("Protected"), QStringLiteral("Created with")};
}

QStringList SongListRow(const SongListItem& song) {
    return {song.songId,
            song.name,
            FormatSizeText(static_cast<std::int64_t>(song.size), SizeUnitMB),
            RecordModeText(song.recordMode),
            song.isProtected ? QStringLiteral("Yes") : QStringLiteral("No"),
            RecorderModelName(song.model) + u" v." + song.version};
}

QString SongListStatusText(const std::vector<SongListItem>& songs) {
    if (songs.empty())
        return QString();
    std::uint64_t total = 0;
    for (const SongListItem& song : songs)
        total += song.size;
    const qsizetype count = static_cast<qsizetype>(songs.size());
    return u' ' + QString::number(count) + u" Song" +
           (count == 1 ? QString() : QStringLiteral("s")) + u"     Total Size: " +
           FormatSizeText(static_cast<std::int64_t>(total), SizeUnitAuto);
}

QString GridToText(const QList<QStringList>& rows, int firstRow) {
    qsizetype last = rows.size() - 1;
    while (last > 0 && IsRowBlank(rows[last]))
        --last;
    QString text;
    for (qsizetype r = std::max(0, firstRow); r <= last; ++r) {
        const QStringList& row = rows[r];
        for (qsizetype c = 0; c < row.size(); ++c) {
            text += CellText(row[c]);
            text += (c + 1 < row.size()) ? QStringLiteral("\t") : QStringLiteral("\r\n");
        }
    }
    text += QStringLiteral("\r\n");
    return text;
}

QString SongListClipboardText(const std::vector<SongListItem>& songs, int rowCount) {
    QList<QStringList> rows;
    rows.append(SongListHeadings());
    for (const SongListItem& song : songs)
        rows.append(SongListRow(song));
    const QStringList blank(SongListHeadings().size(), QString());
    while (rows.size() < rowCount)
        rows.append(blank);
    return GridToText(rows, 0) + SongListStatusText(songs) + QStringLiteral("\r\n\r\n");
}
