#pragma once

#include <QTabBar>

// The tab strip of the "Arrangements" page (TabControl1): five owner-drawn tabs of fixed
// width whose captions are drawn in the button-face fill, centred at three pixels below the
// tab's top, in grey when the strip is disabled.
class ArrangementTabBar : public QTabBar {
    Q_OBJECT
public:
    static constexpr int TabWidth = 105;
    static constexpr int TextTop = 3;

    explicit ArrangementTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void TabControl1DrawTab(QPainter& painter, int index, const QRect& rect, bool active);
};
