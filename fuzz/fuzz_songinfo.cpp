// The song information record: every field read from any bytes, and its row of the song
// list as the clipboard takes it.

#include "card/recordermodel.h"
#include "card/songinfofile.h"
#include "card/songlisttext.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SongInfoImage image;
    FillImage(image, data, size);
    SongListItem item;
    item.songId = QStringLiteral("SONG001");
    item.folderName = QStringLiteral("SONG001.BR0");
    item.name = image.name();
    item.version = image.version();
    item.model = RecorderModelFromTag(image.tag());
    item.isBR532 = item.model == RecorderModel::BR532;
    item.isMicroBR = item.model == RecorderModel::MicroBR;
    item.recordMode = image.recordMode(item.isBR532);
    item.isProtected = image.isProtected();
    item.size = size;
    Require(item.name.size() <= 8 && item.version.size() <= 4);
    const std::vector<SongListItem> songs{item};
    const QString text = SongListClipboardText(songs, 2);
    // A damaged name or version never splits the row: heading, song, blank, status lines.
    Require(text.count(QStringLiteral("\r\n")) == 5);
    Require(EveryRowHasTabs(text.section(QStringLiteral("\r\n"), 0, 1), 5));
    return 0;
}
