#include "app/detailstest.h"
#include "app/mainstatusbar.h"
#include "app/shortenpath.h"
#include "app/songlistview.h"

#include <QImage>
#include <QTest>
#include <tuple>

using namespace Qt::StringLiterals;

// The main status bar's two owner-drawn panels, and the shortening of the path it shows. Panel 0
// has a fixed width and is green with centred yellow bold text when it has any; panel 1 takes
// the rest, its text in black on the button face starting the font's point size in pixels from
// its left edge.
class MainStatusBarTest : public QObject {
    Q_OBJECT
private slots:
    void panelsAreDrawnByTheirTextAndPathsShortened();
};

void MainStatusBarTest::panelsAreDrawnByTheirTextAndPathsShortened() {
    MainStatusBar bar;
    bar.resize(600, MainStatusBar::Height);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const auto yellow = [](QColor c) { return c == QColor(255, 255, 0); };
    QCOMPARE(bar.height(), 22);
    const QRect zero = bar.panelRect(0);
    bar.resize(400, MainStatusBar::Height);
    const QRect one = bar.panelRect(1);
    QVERIFY(zero == bar.panelRect(0) && zero.right() < MainStatusBar::Panel0Width);
    QVERIFY(one.left() >= MainStatusBar::Panel0Width && one.right() >= 400 - 3);
    bar.setPanelText(0, u"BR"_s);
    bar.setPanelText(1, u"/media/card/backup"_s);
    QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(zero.left() + 1, zero.bottom() - 1), QColor(0, 128, 0));
    QFont bold = bar.font();
    bold.setBold(true);
    QCOMPARE(bar.textLeft(0),
             zero.left() + (zero.width() - QFontMetrics(bold).horizontalAdvance(u"BR"_s)) / 2);
    QVERIFY(detailstest::FirstX(image, zero, yellow) >= bar.textLeft(0));
    const QColor face = bar.palette().color(QPalette::Active, QPalette::Button);
    QCOMPARE(image.pixelColor(one.right() - 2, one.bottom() - 1), face);
    QCOMPARE(bar.textLeft(1), one.left() + FontPointPixels(bar.font()));
    const int ink = detailstest::FirstX(image, one.adjusted(1, 1, -1, -1),
                                        [face](QColor c) { return c != face; });
    QVERIFY2(ink >= bar.textLeft(1) && ink <= bar.textLeft(1) + 2,
             qPrintable(QString::number(ink)));
    QCOMPARE(detailstest::FirstX(image, one, yellow), -1);
    bar.setPanelText(0, QString());
    image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(zero.center()), face);

    // Leading folders go one by one until the path fits; the root and the last name always stay,
    // with a trailing separator, and paths of fewer than two names cannot shrink.
    const QFontMetrics metrics{QFont()};
    const QString path = u"/home/player/backups/2024/october/SONGS"_s;
    const QString withoutTwo = u"/.../backups/2024/october/SONGS"_s;
    const int room = metrics.horizontalAdvance(withoutTwo);
    const std::tuple<QString, int, QString> cases[] = {
        {path, metrics.horizontalAdvance(path), path},
        {path, room, withoutTwo},
        {path, room - 1, u"/.../2024/october/SONGS"_s},
        {path, 1, u"/.../SONGS"_s},
        {u"/media/card/ROLAND/"_s, 1, u"/.../ROLAND/"_s},
        {u"/"_s, 0, u"/"_s},
        {u"/home"_s, 0, u"/home"_s},
    };
    for (const auto& [full, width, expected] : cases)
        QCOMPARE(ShortenPath(full, metrics, width), expected);
}

QTEST_MAIN(MainStatusBarTest)
#include "mainstatusbar_test.moc"
