#include "app/support/cardsongs.h"

QString NumberedSongFolder(int i) {
    return QStringLiteral("SONG%1.BR0").arg(i, 3, 10, QLatin1Char('0'));
}

bool WriteNumberedSongs(const CardFixture& card, int count) {
    for (int i = 1; i <= count; ++i) {
        const QString folder = NumberedSongFolder(i);
        const SongInfoRecord record = SongInfoRecord::ForModel(
            RecorderModel::BR864, "Song " + QByteArray::number(i), 0, "1.03");
        if (!card.writeSongInfo(folder, record) ||
            !card.writeSongSizedFile(folder, QStringLiteral("TAKE0001.BR0"), i * 100000LL))
            return false;
    }
    return true;
}
