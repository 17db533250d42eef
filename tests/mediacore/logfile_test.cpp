#include "media/core/logfile.h"
#include "mediacore/mediatest.h"

#include <QDate>
#include <QDir>

// Switched off, or on a folder where the file cannot be made, nothing is written anywhere.
// Switched on, an old log is replaced; the new one starts with the date and a blank line, and
// each line is on disk as soon as it is written, with the object still alive.
TEST(LogFileTest, WritesOnlyWhenSwitchedOnAndFlushesEveryLine) {
    TempFolder temp;
    {
        LogFile off(false, temp.path());
        EXPECT_FALSE(off.isOpen());
        off.WriteEntry(Q("MediaPlayer1Click() "), Q("[PLAY] button pressed"));
        off.WriteLine(Q("text"));
        LogFile nowhere(true, temp.path(Q("no/such/folder")));
        EXPECT_FALSE(nowhere.isOpen());
        nowhere.WriteLine(Q("text"));
    }
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
    ASSERT_TRUE(CardFixture(temp.path()).writeFile(Q("Debug.log"), "an old run\nwith lines\n"));
    LogFile log(true, temp.path());
    EXPECT_EQ(log.fileName(), Q("Debug.log"));
    log.WriteEntry(Q("MediaPlayer1Notify()  Mode"), Q("[1] Stopped"));
    log.WriteLine(QString());
    const QStringList lines =
        QString::fromUtf8(ReadWholeFile(temp.path(Q("Debug.log")))).split(u'\n');
    const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(lines[0].startsWith(Q("Log started:  ") + today + u' ')) << lines[0].toStdString();
    EXPECT_EQ(lines.mid(1), (QStringList{QString(), Q("MediaPlayer1Notify()  Mode:  [1] Stopped"),
                                         QString(), QString()}));
}
