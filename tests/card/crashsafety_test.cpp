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

using namespace Qt::StringLiterals;

namespace {

struct Subject {
    const char* what;
    QString path;                    // the file that must stay whole
    std::function<void(bool)> write; // writes the first (false) or second (true) content
};

} // namespace

using CrashSafetyTest = CardRootTest;

// Each subject is written once with each content, so that both are known whole; then a child
// writes them in turn until it is killed after a random time, 200 times, and the file must hold
// one of the two whole.
TEST_F(CrashSafetyTest, KilledWritesLeaveOldOrNewContentWhole) {
    SongInfoRecord record = SongInfoRecord::ForModel(RecorderModel::BR864, "OLDNAME", 2);
    record.patch(200, QByteArray(268, '\x5A'));
    ASSERT_TRUE(m_card.writeSongInfo(u"SONG001.BR0"_s, record));
    SOV_Info info;
    info.LoadFolder(m_temp.path());
    const QString songPath = info.songPath();
    // Large enough notes that a save takes a while, so that kills land inside it.
    const QString notesA = QString(200'000, u'x') + u"\nend"_s;
    const Prefs prefs[] = {{u"/backups/first"_s, QString()},
                           {u"/backups/second/folder"_s, u"/opt/brwc.exe"_s}};
    const SettingsFile settings(m_temp.path(u"sorvane.ini"_s));
    const Subject subjects[] = {
        {"title", SongInfoDatPath(songPath),
         [&](bool second) {
             WriteSongTitle(songPath,
                            second ? u"Short title"_s : QString(SongTitleMaxLength, u'a'));
         }},
        {"notes", NotesPath(songPath),
         [&](bool second) { SaveSongNotes(songPath, second ? u"one\ntwo"_s : notesA, true); }},
        {"settings", settings.path(),
         [&](bool second) {
             (void)settings.saveAtClose(prefs[second], {0, 10, 10, 823, 589});
         }},
        {"song name", SongInfoPath(songPath),
         [&](bool second) { info.WriteSongName(second ? u"NEWNAME"_s : u"OLDNAME"_s); }},
    };
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delay(0, 2500);
    for (const Subject& subject : subjects) {
        SCOPED_TRACE(subject.what);
        subject.write(true);
        const QByteArray second = ReadWholeFile(subject.path);
        subject.write(false);
        const QByteArray first = ReadWholeFile(subject.path);
        ASSERT_NE(first, second);
        if (subject.path == SongInfoPath(songPath)) {
            // The new name changes its eight bytes and no other byte of the record.
            ASSERT_EQ(first, record.bytes());
            ASSERT_EQ(second, QByteArray(record.bytes()).replace(48, 8, "NEWNAME "));
        }
        int torn = 0;
        for (int round = 0; round < 200; ++round) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (bool next = true;; next = !next)
                    subject.write(next);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray now = ReadWholeFile(subject.path);
            torn += now != first && now != second;
        }
        EXPECT_EQ(torn, 0);
    }
}
