// WAV files: opened, played a little, sought and played again, from any bytes.

#include "fuzzinput.h"
#include "media/core/wavesource.h"

#include <QFile>
#include <QString>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path =
        QStringLiteral("/tmp/sorvane-fuzz-wav-%1.wav").arg(static_cast<qint64>(::getpid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    QString reason;
    const std::unique_ptr<WaveSource> source = WaveSource::open(path, 44100, &reason);
    if (!source) {
        Require(!reason.isEmpty());
        return 0;
    }
    const std::int64_t length = source->length(TimeUnit::Milliseconds);
    Require(length >= 0);
    std::vector<float> block(2 * 4096);
    for (int i = 0; i < 4 && !source->atEnd(); ++i) {
        const int frames = source->render(block.data(), 4096);
        Require(frames >= 0 && frames <= 4096);
    }
    source->seek(length / 2, TimeUnit::Milliseconds);
    Require(source->position(TimeUnit::Milliseconds) <= length);
    const int frames = source->render(block.data(), 4096);
    Require(frames >= 0 && frames <= 4096);
    return 0;
}
