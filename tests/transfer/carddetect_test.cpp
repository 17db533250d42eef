#include "transfer/carddetect.h"

#include "platform/fakedrives.h"
#include "support/cardtest.h"

#include <QDir>

namespace {

FakeDrive Reader(QChar letter, const std::optional<QString>& label, bool ready = true) {
    FakeDrive d;
    d.letter = letter;
    d.root = QStringLiteral("/media/reader-") + letter;
    d.type = DriveType::Removable;
    d.label = label;
    d.ready = ready;
    d.totalBytes = 2'000'000'000;
    d.freeBytes = 500'000'000;
    return d;
}

FakeDrive Disk(QChar letter, const QString& label, const QString& root) {
    FakeDrive d = Reader(letter, label);
    d.type = DriveType::Fixed;
    d.root = root;
    return d;
}

const FakeDrive SystemDisk = Disk(u'C', QStringLiteral("SYSTEM"), QStringLiteral("/"));

QString RootOf(char16_t letter) {
    return QString(QChar(letter)) + u':' + QDir::separator();
}

// Counts the busy indicator's calls.
class CountingBusy : public BusyIndicator {
public:
    void begin() override { ++begun; }
    void end() override { ++ended; }
    int begun = 0;
    int ended = 0;
};

} // namespace

// Each label names its model only whole and in its own case ("BOSS_BR-800" is no BR-80).
TEST(CardDetect, CardLabelsAreComparedWholeAndCaseSensitively) {
    using M = RecorderModel;
    const std::pair<const char*, RecorderModel> labels[] = {
        {"BOSS_BR-532", M::BR532}, {"BOSS_BR-864", M::BR864}, {"BOSS_BR-900", M::BR900},
        {"BOSS_BR-600", M::BR600}, {"MICRO_BR", M::MicroBR},  {"BOSS_BR-800", M::BR800},
        {"BOSS_BR-80", M::BR80}};
    for (const auto& [text, model] : labels) {
        const QString label = QString::fromUtf8(text);
        const QString variants[] = {label, label + u'X', label.toLower(), label + u' ',
                                    u' ' + label};
        for (const QString& shown : variants) {
            SCOPED_TRACE(shown.toStdString());
            const bool card = shown == label;
            FakeDrives drives({SystemDisk, Reader(u'F', shown)});
            CardDetector detector(drives);
            EXPECT_EQ(detector.GetCardModel(u'f'), card ? model : RecorderModel::None);
            EXPECT_EQ(detector.FindCard(), card ? QChar(u'F') : QChar());
            // FindCard read the drive either way.
            EXPECT_EQ(detector.cardInfo().volumeLabel, shown);
        }
    }
}

// The search runs from D to Z, skips empty slots, stops at the lowest card and always
// restores the indicator; a reader below D is still labelled when chosen in the selector. A
// card still present is kept without a new search, whatever the selector read since; a card
// taken out is searched for again; without any card, the warning.
TEST(CardDetect, SearchFromDToZAndGotoCard) {
    FakeDrives drives(
        {Reader(u'B', QStringLiteral("MICRO_BR")), SystemDisk, Reader(u'E', std::nullopt, false),
         Reader(u'G', QStringLiteral("BOSS_BR-600")), Reader(u'F', QStringLiteral("BOSS_BR-864"))});
    CardDetector detector(drives);
    CountingBusy busy;
    detector.setBusyIndicator(&busy);
    EXPECT_EQ(detector.StartupFolder(QStringLiteral("/home/u")),
              QStringLiteral("/media/reader-F/"));
    EXPECT_EQ(drives.queriedLetters(), (QList<QChar>{u'D', u'E', u'F'}));
    // No medium: refused by the selector, and the card facts keep the last drive.
    EXPECT_EQ(detector.GetCardModel(u'E'), RecorderModel::None);
    EXPECT_FALSE(detector.DriveSelectorChange(u'E'));
    EXPECT_EQ(NoDiscInDriveText(), QStringLiteral("\rThere is no disc in the drive."));
    EXPECT_FALSE(detector.ReadCardInfo(u'E'));
    EXPECT_EQ(detector.cardInfo().driveRoot, RootOf(u'F'));
    detector.ReadCardInfo(u'G');
    drives.clearQueries();
    GotoCardResult go = detector.GotoCard();
    EXPECT_EQ(go.letter, u'F');
    EXPECT_EQ(go.root, QStringLiteral("/media/reader-F/"));
    EXPECT_TRUE(go.warning.isEmpty());
    EXPECT_EQ(drives.queryCount(DriveQuery::Ready), 0);
    EXPECT_EQ(drives.queriedLetters(), QList<QChar>{u'F'});
    EXPECT_EQ(detector.cardInfo().driveRoot, RootOf(u'G'));

    drives.removeDrive(u'F');
    EXPECT_EQ(detector.GotoCard().letter, u'G');
    drives.removeDrive(u'G');
    drives.clearQueries();
    go = detector.GotoCard();
    EXPECT_EQ(drives.queriedLetters().size(), 23);
    EXPECT_EQ(drives.queriedLetters().value(0), u'D');
    EXPECT_TRUE(go.letter.isNull() && go.root.isEmpty());
    EXPECT_EQ(go.warning, QStringLiteral("\rBR memory card not detected."));
    EXPECT_EQ(detector.StartupFolder(QStringLiteral("/home/u")), QStringLiteral("/home/u"));
    EXPECT_TRUE(detector.cardDriveLetter().isNull());
    EXPECT_EQ(busy.begun, 4);
    EXPECT_EQ(busy.ended, 4);
    const CardPanel panel = detector.DriveSelected(u'B', QStringLiteral("/media/reader-B"));
    EXPECT_EQ(panel.cardModel, RecorderModel::MicroBR);
    EXPECT_EQ(panel.brType, QStringLiteral("Micro BR card"));
}

// Capacity is clusters times cluster size in 64 bits; a label that cannot be read is "xxxx";
// a long one is cut to 256 characters; a non-letter or a missing volume changes nothing. A
// removable drive found not ready after its size was read has no capacity.
TEST(CardDetect, ReadCardInfoFillsTheRecord) {
    FakeDrive card = Reader(u'E', QStringLiteral("BOSS_BR-864"));
    card.bytesPerSector = 4096;
    card.sectorsPerCluster = 8;
    card.totalBytes = std::int64_t{5000000} * 32768 + 100;
    FakeDrives drives({card, Reader(u'F', std::nullopt), Reader(u'G', QString(300, u'L'))});
    CardDetector detector(drives);
    ASSERT_TRUE(detector.ReadCardInfo(u'e'));
    const CardInfo& info = detector.cardInfo();
    EXPECT_EQ(info.driveRoot, RootOf(u'E'));
    EXPECT_EQ(info.driveType, QStringLiteral("Removable Drive"));
    EXPECT_EQ(info.volumeLabel, QStringLiteral("BOSS_BR-864"));
    EXPECT_EQ(info.totalMB, std::uint64_t{5000000} * 32768 / 1000000);
    EXPECT_EQ(info.labelModel, RecorderModel::BR864);
    ASSERT_TRUE(detector.ReadCardInfo(u'G'));
    EXPECT_EQ(info.volumeLabel, QString(256, u'L'));
    ASSERT_TRUE(detector.ReadCardInfo(u'F'));
    EXPECT_EQ(info.volumeLabel, QStringLiteral("xxxx"));
    EXPECT_EQ(info.labelModel, RecorderModel::None);
    drives.clearQueries();
    EXPECT_FALSE(detector.ReadCardInfo(u'1'));
    EXPECT_TRUE(drives.queries().isEmpty());
    EXPECT_FALSE(detector.ReadCardInfo(u'K'));
    EXPECT_EQ(info.driveRoot, RootOf(u'F'));
    class LosingDrives : public FakeDrives {
    public:
        using FakeDrives::FakeDrives;
        bool isReady(QChar) override { return false; }
    };
    LosingDrives losing({card});
    CardDetector lost(losing);
    ASSERT_TRUE(lost.ReadCardInfo(u'E'));
    EXPECT_EQ(lost.cardInfo().totalMB, 0u);
    EXPECT_EQ(losing.queryCount(DriveQuery::Clusters), 0);
}

// The panel of a folder names its drive's model and sizes. A fixed disk labelled like a card
// is never found; chosen in the selector its facts are read but its panel shows no card. A
// folder on no drive has no panel. Readiness: "X:" paths name their drive, in either case;
// other paths the drive holding them; an empty path the current folder's drive.
TEST(CardDetect, PanelAndReadinessFollowTheFoldersDrive) {
    const ScopedDefaultLocale english{QLocale(QLocale::English, QLocale::UnitedStates)};
    TempFolder temp;
    TempFolder disk;
    FakeDrive card = Reader(u'E', QStringLiteral("BOSS_BR-864"));
    card.root = temp.path();
    FakeDrives drives({Disk(u'D', QStringLiteral("BOSS_BR-864"), disk.path()), card,
                       Reader(u'G', std::nullopt, false)});
    ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("Roland/BR0"))));
    CardDetector detector(drives);
    EXPECT_EQ(detector.FindCard(), u'E');
    EXPECT_EQ(detector.GetCardModel(u'D'), RecorderModel::None);
    ASSERT_TRUE(detector.DriveSelectorChange(u'D'));
    const CardPanel none = detector.DriveSelected(u'D', disk.path());
    EXPECT_EQ(detector.cardInfo().labelModel, RecorderModel::BR864);
    EXPECT_EQ(detector.cardInfo().driveType, QStringLiteral("Non-removable Drive"));
    EXPECT_EQ(none.cardModel, RecorderModel::None);
    EXPECT_TRUE(none.brType.isEmpty());

    const CardPanel panel = detector.DriveSelected(u'E', temp.path(QStringLiteral("Roland/BR0")));
    EXPECT_EQ(panel.cardModel, RecorderModel::BR864);
    EXPECT_EQ(panel.brType, QStringLiteral("BR-864 card"));
    EXPECT_EQ((QStringList{panel.space.size, panel.space.used, panel.space.free}),
              (QStringList{QStringLiteral("2,000 MB"), QStringLiteral("1,500 MB"),
                           QStringLiteral("500 MB")}));
    FakeDrives nothing;
    const CardPanel lost = CardDetector(nothing).PanelFor(temp.path());
    EXPECT_EQ(lost.cardModel, RecorderModel::None);
    EXPECT_TRUE(QString(lost.space.size + lost.space.used + lost.space.free).isEmpty());
    EXPECT_EQ(DriveSelectorText(u'e', QStringLiteral("BOSS_BR-80")),
              QStringLiteral("E: [BOSS_BR-80]"));
    EXPECT_EQ(DriveSelectorText(u'd', QString()), QStringLiteral("D:"));
    EXPECT_TRUE(detector.IsDriveReady(QStringLiteral("e:/")));
    EXPECT_FALSE(detector.IsDriveReady(QStringLiteral("G:")));
    EXPECT_TRUE(detector.IsDriveReady(temp.path()));
    EXPECT_FALSE(detector.IsDriveReady(u'7'));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    EXPECT_TRUE(detector.IsDriveReady(QString()));
    ASSERT_TRUE(QDir::setCurrent(saved));
    EXPECT_FALSE(detector.IsDriveReady(QString()));
}
