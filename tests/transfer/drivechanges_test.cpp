#include "transfer/drivechanges.h"

#include <gtest/gtest.h>

namespace {

struct CompareCase {
    const char* what;
    DriveSnapshot before;
    DriveSnapshot after;
    QList<QChar> added;
    QList<QChar> removed;
};

const QString Root = QStringLiteral("/");
const QString CardRoot = QStringLiteral("/media/u/BOSS_BR-80/");
const QString OtherRoot = QStringLiteral("/media/u/BOSS_BR-801/");

} // namespace

TEST(DriveChanges, ComparesSnapshots) {
    const QList<CompareCase> cases = {
        {"nothing changed",
         {{u'C', Root}, {u'E', CardRoot}},
         {{u'C', Root}, {u'E', CardRoot}},
         {},
         {}},
        {"a card came", {{u'C', Root}}, {{u'C', Root}, {u'E', CardRoot}}, {u'E'}, {}},
        {"a card went", {{u'C', Root}, {u'E', CardRoot}}, {{u'C', Root}}, {}, {u'E'}},
        {"another volume took the letter",
         {{u'C', Root}, {u'E', CardRoot}},
         {{u'C', Root}, {u'E', OtherRoot}},
         {u'E'},
         {u'E'}},
        {"several at once, ascending",
         {{u'C', Root}, {u'D', CardRoot}, {u'G', OtherRoot}},
         {{u'C', Root}, {u'E', CardRoot}, {u'F', OtherRoot}},
         {u'E', u'F'},
         {u'D', u'G'}},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(c.what);
        const DriveChanges changes = CompareDriveSnapshots(c.before, c.after);
        EXPECT_EQ(changes.added, c.added);
        EXPECT_EQ(changes.removed, c.removed);
    }
}

TEST(DriveChanges, StatusTexts) {
    EXPECT_EQ(CardFoundText(u'e', RecorderModel::BR80),
              QStringLiteral("BR memory card found in drive E: (BR-80)"));
    EXPECT_EQ(CardFoundText(u'G', RecorderModel::MicroBR),
              QStringLiteral("BR memory card found in drive G: (Micro BR)"));
    EXPECT_EQ(CardFoundText(u'D', RecorderModel::BR800),
              QStringLiteral("BR memory card found in drive D: (BR-800)"));
    EXPECT_EQ(DriveRemovedText(u'E', RecorderModel::BR864),
              QStringLiteral("BR memory card removed from drive E:"));
    EXPECT_EQ(DriveRemovedText(u'f', RecorderModel::None), QStringLiteral("Drive F: removed"));
}

TEST(DriveChanges, UnsavedEditsListEachEditOnce) {
    UnsavedSongEdits none;
    none.songId = QStringLiteral("SONG001");
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(UnsavedEditsText(none), QString());

    UnsavedSongEdits all = none;
    all.name = QStringLiteral("Intro");
    all.title = QString(); // a title emptied by the user is an edit too
    all.notes = QStringLiteral("one\ntwo");
    EXPECT_FALSE(all.isEmpty());
    EXPECT_EQ(UnsavedEditsText(all),
              QStringLiteral("\rThe card was removed before these changes to SONG001 were saved. "
                             "They were not written:\r\rSong Name: Intro\rSong Title: "
                             "\rNotes:\rone\rtwo"));

    UnsavedSongEdits notesOnly = none;
    notesOnly.notes = QStringLiteral("x");
    const QString text = UnsavedEditsText(notesOnly);
    EXPECT_FALSE(text.contains(QStringLiteral("Song Name:")));
    EXPECT_FALSE(text.contains(QStringLiteral("Song Title:")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\rNotes:\rx")));
}
