#include "media/core/mediaplayertext.h"

#include "card/cardpath.h"
#include "media/core/medialist.h"

QString MediaExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return QString();
    const QString extension = name.mid(dot);
    if (extension.contains(u'\\') || extension.contains(u':'))
        return QString();
    return extension.toLower();
}

int PlayerDeviceTypeFor(const QString& name) {
    const QString extension = MediaExtension(name);
    if (extension == u".mid")
        return PlayerDeviceSequencer;
    if (extension == u".wav")
        return PlayerDeviceWaveAudio;
    if (extension == u".mp3")
        return PlayerDeviceOther;
    return PlayerDeviceNone;
}

bool IsPlayableMediaName(const QString& name) {
    return PlayerDeviceTypeFor(name) != PlayerDeviceNone;
}

QString PlayerDeviceTypeName(int deviceType) {
    switch (deviceType) {
    case PlayerDeviceSequencer:
        return QStringLiteral("Sequencer");
    case PlayerDeviceWaveAudio:
        return QStringLiteral("WaveAudio");
    case PlayerDeviceOther:
        return QStringLiteral("Other");
    default:
        return QString();
    }
}

QString PlayerZeroTimeText(int deviceType) {
    return deviceType == PlayerDeviceWaveAudio ? QStringLiteral(" 00:00:00 ")
                                               : QStringLiteral("  000000  ");
}

QString PlayerTimeText(int deviceType, std::int64_t position) {
    if (deviceType == PlayerDeviceWaveAudio) {
        const long long hours = position / 3'600'000;
        const long long minutes = (position / 60'000) % 60;
        const long long seconds = (position / 1000) % 60;
        return QString::asprintf(" %2.2lld:%2.2lld:%2.2lld ", hours, minutes, seconds);
    }
    return QString::asprintf("  %6.6lld  ", static_cast<long long>(position));
}

QString MediaFilePath(const QString& rootPath, int tab, const QString& name) {
    return WithTrailingSeparator(MediaFolderPath(rootPath, tab)) + name;
}
