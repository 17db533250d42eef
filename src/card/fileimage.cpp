#include "card/fileimage.h"

#include <QFile>
#include <algorithm>

qint64 ReadFileImage(const QString& path, std::span<std::uint8_t> image, qint64 offset) {
    std::fill(image.begin(), image.end(), std::uint8_t{0});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    if (offset != 0 && !file.seek(offset))
        return -1;
    const qint64 got =
        file.read(reinterpret_cast<char*>(image.data()), static_cast<qint64>(image.size()));
    if (got < 0) {
        std::fill(image.begin(), image.end(), std::uint8_t{0});
        return -1;
    }
    return got;
}
