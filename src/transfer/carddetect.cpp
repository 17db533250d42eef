#include "transfer/carddetect.h"

#include "transfer/sizetext.h"

#include <QDir>
#include <limits>

namespace {

// Upper-case ASCII letter, or QChar() for anything else.
QChar AsDriveLetter(QChar letter) {
    const QChar upper = letter.toUpper();
    return (upper >= u'A' && upper <= u'Z') ? upper : QChar();
}

// Capacity in decimal megabytes; a product too large for 64 bits saturates.
std::uint64_t TotalMegabytes(const ClusterSpace& space) {
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(space.totalClusters, space.sectorsPerCluster, &bytes) ||
        __builtin_mul_overflow(bytes, space.bytesPerSector, &bytes))
        bytes = std::numeric_limits<std::uint64_t>::max();
    return bytes / 1000000;
}

// Restores what the busy indicator replaced, however the search ends.
class BusyScope {
public:
    explicit BusyScope(BusyIndicator* busy) : m_busy(busy) {
        if (m_busy)
            m_busy->begin();
    }
    ~BusyScope() {
        if (m_busy)
            m_busy->end();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyIndicator* m_busy;
};

} // namespace

QString UnreadableVolumeLabel() {
    return QStringLiteral("xxxx");
}

QString NoDiscInDriveText() {
    return QStringLiteral("\rThere is no disc in the drive.");
}

QString CardNotDetectedText() {
    return QStringLiteral("\rBR memory card not detected.");
}

QString CardTypeText(RecorderModel model) {
    if (model == RecorderModel::None)
        return QString();
    return RecorderModelName(model) + QStringLiteral(" card");
}

QString DriveSelectorText(QChar letter, const QString& label) {
    const QString drive = QString(letter.toUpper()) + u':';
    if (label.isEmpty())
        return drive;
    return drive + QStringLiteral(" [") + label + u']';
}

bool CardDetector::IsDriveReady(const QString& path) {
    if (path.size() >= 2 && path.at(1) == u':' && !AsDriveLetter(path.at(0)).isNull())
        return IsDriveReady(path.at(0));
    const QString folder = path.isEmpty() ? QDir::currentPath() : path;
    return IsDriveReady(m_drives.driveOfPath(folder));
}

bool CardDetector::IsDriveReady(QChar letter) {
    // Linux has no critical-error prompts to suppress around the query.
    const QChar l = AsDriveLetter(letter);
    return !l.isNull() && m_drives.isReady(l);
}

RecorderModel CardDetector::GetCardModel(QChar letter) {
    const QChar l = AsDriveLetter(letter);
    if (l.isNull() || m_drives.driveType(l) != DriveType::Removable)
        return RecorderModel::None;
    const std::optional<VolumeInfo> volume = m_drives.volumeInfo(l);
    const QString label = volume ? volume->label.left(256) : UnreadableVolumeLabel();
    return RecorderModelFromVolumeLabel(label);
}

bool CardDetector::ReadCardInfo(QChar letter) {
    const QChar l = AsDriveLetter(letter);
    if (l.isNull())
        return false;
    const std::optional<ByteSpace> size = m_drives.byteSpace(l);
    if (!size || size->totalBytes < 0)
        return false;
    m_cardInfo.driveRoot = QString(l) + u':' + QDir::separator();
    const std::optional<VolumeInfo> volume = m_drives.volumeInfo(l);
    m_cardInfo.volumeLabel = volume ? volume->label.left(256) : UnreadableVolumeLabel();
    const bool removable = m_drives.driveType(l) == DriveType::Removable;
    m_cardInfo.driveType =
        removable ? QStringLiteral("Removable Drive") : QStringLiteral("Non-removable Drive");
    m_cardInfo.labelModel = RecorderModelFromVolumeLabel(m_cardInfo.volumeLabel);
    m_cardInfo.totalMB = 0;
    if (removable && !IsDriveReady(l))
        return true;
    // A drive lost between the two queries has no capacity to show.
    if (const std::optional<ClusterSpace> clusters = m_drives.clusterSpace(l))
        m_cardInfo.totalMB = TotalMegabytes(*clusters);
    return true;
}

QChar CardDetector::FindCard() {
    const BusyScope busy(m_busy);
    for (char16_t c = u'D'; c <= u'Z'; ++c) {
        const QChar l(c);
        if (!IsDriveReady(l) || m_drives.driveType(l) != DriveType::Removable)
            continue;
        if (ReadCardInfo(l) && m_cardInfo.labelModel != RecorderModel::None)
            return l;
    }
    return QChar();
}

RecorderModel CardDetector::DetectCardModel(const QString& folder) {
    return GetCardModel(m_drives.driveOfPath(folder));
}

CardSpaceTexts CardDetector::CardSpaceLabels(const QString& folder) {
    const QChar l = m_drives.driveOfPath(folder);
    const std::optional<ByteSpace> space = l.isNull() ? std::nullopt : m_drives.byteSpace(l);
    if (!space || space->totalBytes < 0 || space->freeBytes < 0)
        return {};
    return {FormatSizeText(space->totalBytes, SizeUnitAuto),
            FormatSizeText(space->totalBytes - space->freeBytes, SizeUnitAuto),
            FormatSizeText(space->freeBytes, SizeUnitAuto)};
}

QString CardDetector::StartupFolder(const QString& defaultFolder) {
    m_cardDriveLetter = FindCard();
    if (m_cardDriveLetter.isNull())
        return defaultFolder;
    return m_drives.rootOf(m_cardDriveLetter);
}

CardPanel CardDetector::DriveSelected(QChar letter, const QString& folder) {
    ReadCardInfo(letter);
    return PanelFor(folder);
}

CardPanel CardDetector::PanelFor(const QString& folder) {
    CardPanel panel;
    panel.cardModel = DetectCardModel(folder);
    panel.space = CardSpaceLabels(folder);
    panel.brType = CardTypeText(panel.cardModel);
    return panel;
}

GotoCardResult CardDetector::GotoCard() {
    GotoCardResult result;
    if (GetCardModel(m_cardDriveLetter) == RecorderModel::None)
        m_cardDriveLetter = FindCard();
    if (m_cardDriveLetter.isNull()) {
        result.warning = CardNotDetectedText();
        return result;
    }
    result.letter = m_cardDriveLetter;
    result.root = m_drives.rootOf(m_cardDriveLetter);
    return result;
}
