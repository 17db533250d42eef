// The program killed at any moment while it saves: the title, the notes, the settings file
// and a song name each hold their old or their new content, whole.

#include "app/core/settings.h"
#include "card/songinfofile.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "support/cardtest.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kRounds = 200;

struct Subject {
    const char* what;
    QString path;                    // the file that must stay whole
    std::function<void(bool)> write; // writes the first (false) or second (true) content
    QByteArray first;
    QByteArray second;
};

// Writes the two contents in turn in a child until it is killed after a random time, `rounds`
// times; returns the rounds after which the file held neither content whole.
int TornRounds(const Subject& subject, std::mt19937& random) {
    std::uniform_int_distribution<int> delay(0, 2500);
    int torn = 0;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (bool second = true;; second = !second)
                subject.write(second);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const QByteArray now = ReadWholeFile(subject.path);
        if (now != subject.first && now != subject.second)
            ++torn;
    }
    return torn;
}

} // namespace

using CrashSafetyTest = CardRootTest;

TEST_F(CrashSafetyTest, KilledWritesLeaveOldOrNewContentWhole) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "OLDNAME", 2);
    record.patch(200, QByteArray(268, '\x5A'));
    ASSERT_TRUE(m_card.writeSongInfo(QStringLiteral("SONG001.BR0"), record));
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    const QString songPath = info.songPath();
    ASSERT_FALSE(songPath.isEmpty());

    const QString titleA(SongTitleMaxLength, u'a');
    const QString titleB = QStringLiteral("Short title");
    // Large enough notes that a save takes a while, so that kills land inside it.
    const QString notesA = QString(200'000, u'x') + QStringLiteral("\nend");
    const QString notesB = QStringLiteral("one\ntwo");
    Prefs prefsA{QStringLiteral("/backups/first"), QString()};
    Prefs prefsB{QStringLiteral("/backups/second/folder"), QStringLiteral("/opt/brwc.exe")};
    WindowPlacement placement;
    placement.width = 823;
    placement.height = 589;
    const SettingsFile settings(m_temp.path(QStringLiteral("sorvane.ini")));

    QByteArray recordB = record.bytes();
    recordB.replace(48, 8, "NEWNAME ");
    const Subject subjects[] = {
        {"title", SongInfoDatPath(songPath),
         [&](bool second) { WriteSongTitle(songPath, second ? titleB : titleA); },
         "SOV 1.05" + titleA.toLatin1(), "SOV 1.05" + titleB.toLatin1()},
        {"notes", NotesPath(songPath),
         [&](bool second) { SaveSongNotes(songPath, second ? notesB : notesA, true); },
         notesA.toLatin1().replace("\n", "\r\n") + "\r\n", "one\r\ntwo\r\n"},
        {"settings", settings.path(),
         [&](bool second) { (void)settings.saveAtClose(second ? prefsB : prefsA, placement); },
         QByteArray(), QByteArray()},
        {"song name", SongInfoPath(songPath),
         [&](bool second) {
             info.WriteSongName(second ? QStringLiteral("NEWNAME") : QStringLiteral("OLDNAME"));
         },
         record.bytes(), recordB},
    };
    std::mt19937 random(20261207);
    for (Subject subject : subjects) {
        SCOPED_TRACE(subject.what);
        // Each content once in turn, so that both are known whole before the kills start.
        subject.write(true);
        const QByteArray second = ReadWholeFile(subject.path);
        subject.write(false);
        const QByteArray first = ReadWholeFile(subject.path);
        if (subject.first.isNull()) {
            subject.first = first;
            subject.second = second;
        }
        ASSERT_EQ(first, subject.first);
        ASSERT_EQ(second, subject.second);
        ASSERT_NE(first, second);
        EXPECT_EQ(TornRounds(subject, random), 0);
    }
}
