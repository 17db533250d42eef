#include "card/songinfofile.h"

#include "card/bytecursor.h"
#include "card/cardpath.h"
#include "card/fileimage.h"

#include <QFileInfo>

bool SongInfoImage::read(const QString& path) {
    return ReadFileImage(path, bytes) >= 0;
}

QString SongInfoImage::name() const {
    return ByteCursor(bytes, NameOffset).text(NameWidth);
}

QString SongInfoImage::tag() const {
    return ByteCursor(bytes, TagOffset).text(TagWidth);
}

// Four bytes; a zero byte ends the text early, so that the list and its clipboard text
// never carry NUL characters.
QString SongInfoImage::version() const {
    return ByteCursor(bytes, VersionOffset).text(VersionWidth);
}

bool SongInfoImage::isProtected() const {
    return bytes[ProtectOffset] != 0;
}

std::uint8_t SongInfoImage::recordMode(bool br532) const {
    return bytes[br532 ? RecordModeOffsetBR532 : RecordModeOffset];
}

QString SongInfoPath(const QString& songFolder) {
    const QString preferred = ResolveCardPath(songFolder, QStringLiteral("songinf2.br0"));
    if (QFileInfo(preferred).isFile())
        return preferred;
    return ResolveCardPath(songFolder, QStringLiteral("SONGINFO.BR0"));
}
