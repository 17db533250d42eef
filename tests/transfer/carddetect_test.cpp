#include "transfer/carddetect.h"

#include "platform/fakedrives.h"
#include "support/cardtest.h"

#include <QDir>

namespace {

constexpr std::int64_t ClusterBytes = 512 * 64;

FakeDrive Reader(QChar letter, const std::optional<QString>& label, bool ready = true) {
    FakeDrive d;
    d.letter = letter;
    d.root = QStringLiteral("/media/reader-") + letter;
    d.type = DriveType::Removable;
    d.label = label;
    d.ready = ready;
    d.totalBytes = 61035 * ClusterBytes; // 1999.98 MB
    d.freeBytes = 1000 * ClusterBytes;
    return d;
}

FakeDrive Disk(QChar letter, const QString& label, const QString& root) {
    FakeDrive d = Reader(letter, label);
    d.type = DriveType::Fixed;
    d.root = root;
    return d;
}

FakeDrive SystemDisk() {
    return Disk(u'C', QStringLiteral("SYSTEM"), QStringLiteral("/"));
}

// Counts the busy indicator's calls.
class CountingBusy : public BusyIndicator {
public:
    void begin() override { ++begun; }
    void end() override { ++ended; }
    int begun = 0;
    int ended = 0;
};

const QList<std::pair<QString, RecorderModel>> CardLabels = {
    {QStringLiteral("BOSS_BR-532"), RecorderModel::BR532},
    {QStringLiteral("BOSS_BR-864"), RecorderModel::BR864},
    {QStringLiteral("BOSS_BR-900"), RecorderModel::BR900},
    {QStringLiteral("BOSS_BR-600"), RecorderModel::BR600},
    {QStringLiteral("MICRO_BR"), RecorderModel::MicroBR},
    {QStringLiteral("BOSS_BR-800"), RecorderModel::BR800},
    {QStringLiteral("BOSS_BR-80"), RecorderModel::BR80},
};

} // namespace

TEST(CardDetect, EveryCardLabelGivesItsModel) {
    for (const auto& [label, model] : CardLabels) {
        SCOPED_TRACE(label.toStdString());
        FakeDrives drives({SystemDisk(), Reader(u'F', label)});
        CardDetector detector(drives);
        EXPECT_EQ(detector.GetCardModel(u'F'), model);
        EXPECT_EQ(detector.GetCardModel(u'f'), model);
        EXPECT_EQ(detector.FindCard(), u'F');
        EXPECT_EQ(detector.cardInfo().labelModel, model);
        EXPECT_EQ(detector.cardInfo().volumeLabel, label);
    }
}

TEST(CardDetect, LabelsAreComparedWholeAndCaseSensitively) {
    for (const auto& entry : CardLabels) {
        const QString& label = entry.first;
        const QStringList others = {label + u'X', label.toLower(), label + u' ', u' ' + label};
        for (const QString& other : others) {
            SCOPED_TRACE(other.toStdString());
            FakeDrives drives({SystemDisk(), Reader(u'E', other)});
            CardDetector detector(drives);
            EXPECT_EQ(detector.GetCardModel(u'E'), RecorderModel::None);
            EXPECT_TRUE(detector.FindCard().isNull());
            // FindCard read the drive: it is no card.
            EXPECT_EQ(detector.cardInfo().volumeLabel, other);
            EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::None);
        }
    }
}

TEST(CardDetect, BR80AndBR800AreNotMistakenForEachOther) {
    FakeDrives drives(
        {Reader(u'E', QStringLiteral("BOSS_BR-80")), Reader(u'F', QStringLiteral("BOSS_BR-800"))});
    CardDetector detector(drives);
    EXPECT_EQ(detector.GetCardModel(u'E'), RecorderModel::BR80);
    EXPECT_EQ(detector.GetCardModel(u'F'), RecorderModel::BR800);
    ASSERT_TRUE(detector.ReadCardInfo(u'F'));
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR800);
    ASSERT_TRUE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR80);
}

TEST(CardDetect, FixedDiskLabelledLikeACardIsNeverACard) {
    TempFolder temp;
    FakeDrives drives({SystemDisk(), Disk(u'D', QStringLiteral("BOSS_BR-864"), temp.path())});
    CardDetector detector(drives);
    EXPECT_TRUE(detector.FindCard().isNull());
    EXPECT_EQ(detector.GetCardModel(u'D'), RecorderModel::None);

    // Chosen in the drive selector: its facts are read and name the model, but the panel
    // shows no card.
    ASSERT_TRUE(detector.DriveSelectorChange(u'D'));
    const CardPanel panel = detector.DriveSelected(u'D', temp.path());
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR864);
    EXPECT_EQ(detector.cardInfo().driveType, QStringLiteral("Non-removable Drive"));
    EXPECT_EQ(detector.cardInfo().driveRoot, QStringLiteral("D:") + QDir::separator());
    EXPECT_EQ(panel.cardModel, RecorderModel::None);
    EXPECT_TRUE(panel.brType.isEmpty());
}

TEST(CardDetect, LowestLetterWinsAndTheBusyIndicatorIsRestored) {
    FakeDrives drives({SystemDisk(), Reader(u'G', QStringLiteral("BOSS_BR-600")),
                       Reader(u'E', QStringLiteral("BOSS_BR-864"))});
    CardDetector detector(drives);
    CountingBusy busy;
    detector.setBusyIndicator(&busy);
    EXPECT_EQ(detector.FindCard(), u'E');
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR864);
    EXPECT_EQ(detector.cardInfo().driveType, QStringLiteral("Removable Drive"));
    EXPECT_FALSE(drives.queriedLetters().contains(u'G'));
    EXPECT_EQ(busy.begun, 1);
    EXPECT_EQ(busy.ended, 1);

    // Without any card the whole range is scanned and the indicator still ends.
    FakeDrives none({SystemDisk()});
    CardDetector empty(none);
    empty.setBusyIndicator(&busy);
    EXPECT_TRUE(empty.FindCard().isNull());
    EXPECT_EQ(busy.begun, 2);
    EXPECT_EQ(busy.ended, 2);
}

TEST(CardDetect, LettersBelowDAreNeverScanned) {
    FakeDrives drives({Reader(u'A', QStringLiteral("BOSS_BR-864")),
                       Reader(u'B', QStringLiteral("MICRO_BR")),
                       Reader(u'C', QStringLiteral("BOSS_BR-80"))});
    CardDetector detector(drives);
    EXPECT_TRUE(detector.FindCard().isNull());
    const QList<QChar> asked = drives.queriedLetters();
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.first(), u'D');
    EXPECT_EQ(asked.last(), u'Z');
    EXPECT_EQ(asked.size(), 23);
    // Chosen in the drive selector, such a reader is still labelled.
    const CardPanel panel = detector.DriveSelected(u'B', QStringLiteral("/media/reader-B"));
    EXPECT_EQ(panel.cardModel, RecorderModel::MicroBR);
    EXPECT_EQ(panel.brType, QStringLiteral("Micro BR card"));
}

TEST(CardDetect, EmptySlotIsSkippedAndRefusedByTheSelector) {
    FakeDrives drives({SystemDisk(), Reader(u'E', std::nullopt, false),
                       Reader(u'H', QStringLiteral("BOSS_BR-900"))});
    CardDetector detector(drives);
    EXPECT_EQ(detector.GetCardModel(u'E'), RecorderModel::None);
    EXPECT_EQ(detector.FindCard(), u'H');
    EXPECT_FALSE(detector.DriveSelectorChange(u'E'));
    EXPECT_EQ(NoDiscInDriveText(), QStringLiteral("\rThere is no disc in the drive."));
    // No medium: the card facts keep describing the last drive.
    EXPECT_FALSE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().driveRoot, QStringLiteral("H:") + QDir::separator());
}

TEST(CardDetect, ReadCardInfoFillsTheRecord) {
    FakeDrive card = Reader(u'E', QStringLiteral("BOSS_BR-864"));
    FakeDrives drives({card, Reader(u'F', std::nullopt)});
    CardDetector detector(drives);
    ASSERT_TRUE(detector.ReadCardInfo(u'e'));
    const CardInfo& info = detector.cardInfo();
    EXPECT_EQ(info.driveRoot, QStringLiteral("E:") + QDir::separator());
    EXPECT_EQ(info.driveType, QStringLiteral("Removable Drive"));
    EXPECT_EQ(info.volumeLabel, QStringLiteral("BOSS_BR-864"));
    EXPECT_EQ(info.totalMB, static_cast<std::uint64_t>(card.totalBytes) / 1000000);
    EXPECT_EQ(info.labelModel, RecorderModel::BR864);

    // A label that cannot be read stays "xxxx" and is no card.
    ASSERT_TRUE(detector.ReadCardInfo(u'F'));
    EXPECT_EQ(detector.cardInfo().volumeLabel, QStringLiteral("xxxx"));
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::None);

    // Not a letter, or no volume: false, and the record keeps the last drive.
    drives.clearQueries();
    EXPECT_FALSE(detector.ReadCardInfo(u'1'));
    EXPECT_TRUE(drives.queries().isEmpty());
    EXPECT_FALSE(detector.ReadCardInfo(u'K'));
    EXPECT_EQ(detector.cardInfo().driveRoot, QStringLiteral("F:") + QDir::separator());
}

// A removable drive found not ready after its size was read: its capacity shows as 0.
TEST(CardDetect, RemovableDriveLostAfterItsSizeHasNoCapacity) {
    class LosingDrives : public FakeDrives {
    public:
        using FakeDrives::FakeDrives;
        bool isReady(QChar) override { return false; }
    };
    LosingDrives drives({Reader(u'E', QStringLiteral("BOSS_BR-864"))});
    CardDetector detector(drives);
    ASSERT_TRUE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().totalMB, 0u);
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR864);
    EXPECT_EQ(drives.queryCount(DriveQuery::Clusters), 0);
}

TEST(CardDetect, TotalMegabytesAreClustersTimesClusterSize) {
    FakeDrive big = Reader(u'E', QStringLiteral("BOSS_BR-80"));
    big.bytesPerSector = 4096;
    big.sectorsPerCluster = 8;
    big.totalBytes = std::int64_t{5000000} * 32768 + 100; // beyond 32 bits of clusters*size
    FakeDrives drives({big});
    CardDetector detector(drives);
    ASSERT_TRUE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().totalMB, std::uint64_t{5000000} * 32768 / 1000000);
}

TEST(CardDetect, LongLabelIsCutTo256Characters) {
    FakeDrives drives({Reader(u'E', QString(300, u'L'))});
    CardDetector detector(drives);
    ASSERT_TRUE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().volumeLabel, QString(256, u'L'));
}

TEST(CardDetect, GotoCardKeepsAPresentCardWithoutANewSearch) {
    FakeDrives drives({SystemDisk(), Reader(u'E', QStringLiteral("BOSS_BR-864")),
                       Reader(u'F', QStringLiteral("BOSS_BR-80"))});
    CardDetector detector(drives);
    EXPECT_EQ(detector.StartupFolder(QStringLiteral("/home/u/backups")),
              QStringLiteral("/media/reader-E/"));
    EXPECT_EQ(detector.cardDriveLetter(), u'E');
    detector.ReadCardInfo(u'F'); // the selector went elsewhere since
    drives.clearQueries();

    GotoCardResult go = detector.GotoCard();
    EXPECT_EQ(go.letter, u'E');
    EXPECT_EQ(go.root, QStringLiteral("/media/reader-E/"));
    EXPECT_TRUE(go.warning.isEmpty());
    EXPECT_EQ(drives.queryCount(DriveQuery::Ready), 0);
    EXPECT_EQ(drives.queriedLetters(), QList<QChar>{u'E'});
    EXPECT_EQ(detector.cardInfo().driveRoot, QStringLiteral("F:") + QDir::separator());

    // The card was taken out: a new search finds the other one.
    drives.removeDrive(u'E');
    go = detector.GotoCard();
    EXPECT_EQ(go.letter, u'F');
    EXPECT_EQ(detector.cardDriveLetter(), u'F');

    // No card at all: the warning, and no letter.
    drives.removeDrive(u'F');
    go = detector.GotoCard();
    EXPECT_TRUE(go.letter.isNull());
    EXPECT_TRUE(go.root.isEmpty());
    EXPECT_EQ(go.warning, QStringLiteral("\rBR memory card not detected."));
}

TEST(CardDetect, StartupWithoutCardOpensTheDefaultFolder) {
    FakeDrives drives({SystemDisk(), Reader(u'E', QStringLiteral("DATA"))});
    CardDetector detector(drives);
    EXPECT_EQ(detector.StartupFolder(QStringLiteral("/home/u/backups")),
              QStringLiteral("/home/u/backups"));
    EXPECT_TRUE(detector.cardDriveLetter().isNull());
}

TEST(CardDetect, PanelShowsModelAndSizesOfTheFoldersDrive) {
    const ScopedDefaultLocale english{QLocale(QLocale::English, QLocale::UnitedStates)};
    TempFolder temp;
    FakeDrive card = Reader(u'E', QStringLiteral("BOSS_BR-864"));
    card.root = temp.path();
    card.totalBytes = 2000000000;
    card.freeBytes = 500000000;
    FakeDrives drives({SystemDisk(), card});
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("Roland/BR0"))));
    CardDetector detector(drives);
    const CardPanel panel = detector.DriveSelected(u'E', temp.path(QStringLiteral("Roland/BR0")));
    EXPECT_EQ(panel.cardModel, RecorderModel::BR864);
    EXPECT_EQ(panel.brType, QStringLiteral("BR-864 card"));
    EXPECT_EQ(panel.space.size, QStringLiteral("2,000 MB"));
    EXPECT_EQ(panel.space.used, QStringLiteral("1,500 MB"));
    EXPECT_EQ(panel.space.free, QStringLiteral("500 MB"));
    EXPECT_EQ(detector.DetectCardModel(temp.path()), RecorderModel::BR864);
    EXPECT_EQ(detector.PanelFor(temp.path()).space.used, QStringLiteral("1,500 MB"));

    // A folder on no drive: no model, no sizes.
    FakeDrives nothing;
    CardDetector lost(nothing);
    const CardPanel none = lost.PanelFor(temp.path());
    EXPECT_EQ(none.cardModel, RecorderModel::None);
    EXPECT_TRUE(none.space.size.isEmpty() && none.space.used.isEmpty() &&
                none.space.free.isEmpty());
}

TEST(CardDetect, ReadinessOfAPath) {
    TempFolder temp;
    FakeDrive card = Reader(u'E', QStringLiteral("BOSS_BR-864"));
    card.root = temp.path();
    FakeDrives drives({card, Reader(u'G', std::nullopt, false)});
    CardDetector detector(drives);
    EXPECT_TRUE(detector.IsDriveReady(QStringLiteral("e:/")));
    EXPECT_FALSE(detector.IsDriveReady(QStringLiteral("G:")));
    EXPECT_TRUE(detector.IsDriveReady(temp.path()));
    EXPECT_FALSE(detector.IsDriveReady(u'7'));
    // An empty path stands for the current folder's drive.
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    EXPECT_TRUE(detector.IsDriveReady(QString()));
    ASSERT_TRUE(QDir::setCurrent(saved));
    EXPECT_FALSE(detector.IsDriveReady(QString()));
}

TEST(CardDetect, PanelAndSelectorTexts) {
    EXPECT_EQ(CardTypeText(RecorderModel::BR864), QStringLiteral("BR-864 card"));
    EXPECT_EQ(CardTypeText(RecorderModel::MicroBR), QStringLiteral("Micro BR card"));
    EXPECT_TRUE(CardTypeText(RecorderModel::None).isEmpty());
    EXPECT_EQ(DriveSelectorText(u'e', QStringLiteral("BOSS_BR-80")),
              QStringLiteral("E: [BOSS_BR-80]"));
    EXPECT_EQ(DriveSelectorText(u'd', QString()), QStringLiteral("D:"));
}
