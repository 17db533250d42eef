#include "media/core/logfile.h"
#include "support/cardtest.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

QStringList LogLines(const QString& path) {
    QString text = QString::fromUtf8(ReadWholeFile(path));
    EXPECT_TRUE(text.isEmpty() || text.endsWith(u'\n'));
    text.chop(1);
    return text.split(u'\n');
}

// Switches the process's current folder for the object's lifetime.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const QString& folder) : m_saved(QDir::currentPath()) {
        EXPECT_TRUE(QDir::setCurrent(folder));
    }
    ~ScopedCurrentFolder() { QDir::setCurrent(m_saved); }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    QString m_saved;
};

} // namespace

TEST(LogFileTest, SwitchedOffCreatesAndWritesNothing) {
    TempFolder temp;
    const ScopedCurrentFolder here(temp.path());
    {
        LogFile log(false);
        EXPECT_FALSE(log.enabled());
        EXPECT_FALSE(log.isOpen());
        EXPECT_TRUE(log.fileName().isEmpty());
        log.WriteEntry(S("MediaPlayer1Click() "), S("[PLAY] button pressed"));
        log.WriteLine(S("text"));
    }
    EXPECT_TRUE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(LogFileTest, SwitchedOnReplacesAnOldLogStartsWithTheDateAndFlushesEveryLine) {
    TempFolder temp;
    const ScopedCurrentFolder here(temp.path());
    const QString path = temp.path(S("Debug.log"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("an old run\nwith lines\n") > 0);
    }
    LogFile log(true);
    EXPECT_EQ(log.fileName(), S("Debug.log"));
    ASSERT_TRUE(log.isOpen());
    QStringList lines = LogLines(path);
    ASSERT_EQ(lines.size(), 2);
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(lines[0].startsWith(S("Log started:  ") + today + u' ')) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString());

    // Each line is on disk as soon as it is written, with the object still alive.
    log.WriteEntry(S("MediaPlayer1Click() "), S("[PLAY] button pressed  (Filename = \"a.wav\""));
    log.WriteLine(QString());
    log.WriteLine(S("plain"));
    log.WriteEntry(S("MediaPlayer1Notify()  Mode"), S("[1] Stopped"));
    lines = LogLines(path);
    EXPECT_EQ(lines.mid(2),
              (QStringList{S("MediaPlayer1Click() :  [PLAY] button pressed  (Filename = \"a.wav\""),
                           QString(), S("plain"), S("MediaPlayer1Notify()  Mode:  [1] Stopped")}));
}

TEST(LogFileTest, FileThatCannotBeCreatedKeepsTheLogSilent) {
    TempFolder temp;
    LogFile log(true, temp.path(S("no/such/folder")));
    EXPECT_TRUE(log.enabled());
    EXPECT_FALSE(log.isOpen());
    log.WriteEntry(S("label"), S("text")); // nothing to write to, and no failure either
    log.WriteLine(S("text"));
    EXPECT_FALSE(QFile::exists(temp.path(S("no/such/folder/Debug.log"))));
}
