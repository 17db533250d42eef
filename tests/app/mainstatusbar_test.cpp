#include "app/mainstatusbar.h"
#include "app/songlistview.h"

#include <QImage>
#include <QTest>

// The main status bar's two owner-drawn panels.
class MainStatusBarTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_bar.reset(); }
    void panelOneTakesTheRestOfTheWidth();
    void brPanelIsGreenWithCentredYellowText();
    void emptyPanelZeroAndPathPanelArePlain();

private:
    // The leftmost and rightmost x inside `rect` holding a pixel of `colour`; -1 when none.
    static std::pair<int, int> spanOf(const QImage& image, const QRect& rect, QRgb colour);

    std::unique_ptr<MainStatusBar> m_bar;
};

void MainStatusBarTest::init() {
    m_bar = std::make_unique<MainStatusBar>();
    m_bar->resize(600, MainStatusBar::Height);
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
}

std::pair<int, int> MainStatusBarTest::spanOf(const QImage& image, const QRect& rect, QRgb colour) {
    int left = -1;
    int right = -1;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (image.pixel(x, y) == colour) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
        }
    }
    return {left, right};
}

void MainStatusBarTest::panelOneTakesTheRestOfTheWidth() {
    QCOMPARE(m_bar->height(), 22);
    const QRect zero = m_bar->panelRect(0);
    const QRect one = m_bar->panelRect(1);
    QVERIFY(zero.right() < MainStatusBar::Panel0Width);
    QVERIFY(one.left() >= MainStatusBar::Panel0Width);
    QVERIFY(one.right() >= 600 - 3);
    m_bar->resize(400, MainStatusBar::Height);
    QVERIFY(m_bar->panelRect(1).right() >= 400 - 3);
    QCOMPARE(m_bar->panelRect(0), zero);
}

void MainStatusBarTest::brPanelIsGreenWithCentredYellowText() {
    m_bar->setPanelText(0, QStringLiteral("BR"));
    const QImage image = m_bar->grab().toImage();
    const QRect zero = m_bar->panelRect(0);
    QCOMPARE(image.pixelColor(zero.left() + 1, zero.bottom() - 1), QColor(0, 128, 0));
    const auto [left, right] = spanOf(image, zero, qRgb(255, 255, 0));
    QVERIFY(left > zero.left());
    // Centred: the yellow text's middle lies at the panel's middle, within a pixel or two.
    QVERIFY2(
        std::abs((left + right) / 2 - zero.center().x()) <= 2,
        qPrintable(QStringLiteral("%1..%2 in %3").arg(left).arg(right).arg(zero.center().x())));
    QFont bold = m_bar->font();
    bold.setBold(true);
    QCOMPARE(m_bar->textLeft(0),
             zero.left() +
                 (zero.width() - QFontMetrics(bold).horizontalAdvance(QStringLiteral("BR"))) / 2);
}

void MainStatusBarTest::emptyPanelZeroAndPathPanelArePlain() {
    m_bar->setPanelText(1, QStringLiteral("/media/card/backup"));
    const QImage image = m_bar->grab().toImage();
    const QColor face = m_bar->palette().color(QPalette::Active, QPalette::Button);
    const QRect zero = m_bar->panelRect(0);
    QCOMPARE(image.pixelColor(zero.center()), face);
    const QRect one = m_bar->panelRect(1);
    QCOMPARE(image.pixelColor(one.right() - 2, one.bottom() - 1), face);
    // The path starts at the font's point size in pixels from the panel's left edge.
    QCOMPARE(m_bar->textLeft(1), one.left() + FontPointPixels(m_bar->font()));
    int left = -1;
    for (int x = one.left() + 1; x < one.right() && left < 0; ++x) {
        for (int y = one.top() + 1; y < one.bottom(); ++y) {
            if (image.pixelColor(x, y) != face) {
                left = x;
                break;
            }
        }
    }
    QVERIFY2(left >= m_bar->textLeft(1) && left <= m_bar->textLeft(1) + 2,
             qPrintable(QString::number(left)));
    QCOMPARE(spanOf(image, one, qRgb(255, 255, 0)).first, -1);
}

QTEST_MAIN(MainStatusBarTest)
#include "mainstatusbar_test.moc"
