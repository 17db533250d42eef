#include "transfer/copyengine.h"

#include "transfer/copyrun.h"

#include <QCryptographicHash>

namespace {

const QLatin1String TempPrefix(".sorvane-");
const QLatin1String TempSuffix(".part");
// Longest name most file systems take (FAT, ext4: 255 bytes or characters).
constexpr qsizetype MaxNameLength = 255;

} // namespace

QString CopyTempName(const QString& name) {
    const QString plain = TempPrefix + name + TempSuffix;
    if (plain.size() <= MaxNameLength && plain.toUtf8().size() <= MaxNameLength)
        return plain;
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
    return TempPrefix + QString::fromLatin1(hash.toHex()) + TempSuffix;
}

bool IsCopyTempName(const QString& name) {
    return name.startsWith(TempPrefix) && name.endsWith(TempSuffix) &&
           name.size() > TempPrefix.size() + TempSuffix.size();
}

CopyResult CopyEngine::copy(const CopyRequest& request, CopyObserver& observer) {
    CopyRun run(m_files, m_limits, request, observer);
    return run.execute();
}
