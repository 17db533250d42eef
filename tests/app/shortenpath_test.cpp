#include "app/shortenpath.h"

#include <QDir>
#include <QFontMetrics>
#include <QTest>

class ShortenPathTest : public QObject {
    Q_OBJECT

private slots:
    void pathThatFitsIsUnchanged();
    void leadingFoldersGiveWayFirst();
    void shortestFormKeepsRootAndLastName();
    void trailingSeparatorIsKept();
    void shortPathsCannotShrink();

private:
    QFontMetrics m_metrics{QFont()};
    int width(const QString& text) const { return m_metrics.horizontalAdvance(text); }
};

void ShortenPathTest::pathThatFitsIsUnchanged() {
    const QString path = QStringLiteral("/home/player/backups/SONGS");
    QCOMPARE(ShortenPath(path, m_metrics, width(path)), path);
    QCOMPARE(ShortenPath(path, m_metrics, width(path) + 100), path);
}

void ShortenPathTest::leadingFoldersGiveWayFirst() {
    const QString path = QStringLiteral("/home/player/backups/2024/october/SONGS");
    // Room for the form without the first two folders, but not for one without only the
    // first.
    const QString expected = QStringLiteral("/.../backups/2024/october/SONGS");
    const int room = width(expected);
    QVERIFY(width(QStringLiteral("/.../player/backups/2024/october/SONGS")) > room);
    QCOMPARE(ShortenPath(path, m_metrics, room), expected);
    QCOMPARE(ShortenPath(path, m_metrics, room - 1), QStringLiteral("/.../2024/october/SONGS"));
}

void ShortenPathTest::shortestFormKeepsRootAndLastName() {
    const QString path = QStringLiteral("/home/player/backups/2024/october/SONGS");
    QCOMPARE(ShortenPath(path, m_metrics, 1), QStringLiteral("/.../SONGS"));
    QCOMPARE(ShortenPath(QStringLiteral("/media/card/ROLAND"), m_metrics, 0),
             QStringLiteral("/.../ROLAND"));
}

void ShortenPathTest::trailingSeparatorIsKept() {
    QCOMPARE(ShortenPath(QStringLiteral("/media/card/ROLAND/"), m_metrics, 1),
             QStringLiteral("/.../ROLAND/"));
}

void ShortenPathTest::shortPathsCannotShrink() {
    QCOMPARE(ShortenPath(QStringLiteral("/"), m_metrics, 0), QStringLiteral("/"));
    QCOMPARE(ShortenPath(QStringLiteral("/home"), m_metrics, 0), QStringLiteral("/home"));
    QCOMPARE(ShortenPath(QStringLiteral("SONGS"), m_metrics, 0), QStringLiteral("SONGS"));
}

QTEST_MAIN(ShortenPathTest)
#include "shortenpath_test.moc"
