#include "app/arrangementtabbar.h"

#include "app/gridutil.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// Room for the caption at three pixels below the top and as much below it.
constexpr int TabExtraHeight = 2 * ArrangementTabBar::TextTop + 2;

} // namespace

ArrangementTabBar::ArrangementTabBar(QWidget* parent) : QTabBar(parent) {
    setObjectName(QStringLiteral("TabControl1"));
    setExpanding(false);
    setUsesScrollButtons(false);
    setDrawBase(false);
    setElideMode(Qt::ElideNone);
}

QSize ArrangementTabBar::tabSizeHint(int) const {
    return QSize(TabWidth, fontMetrics().height() + TabExtraHeight);
}

QSize ArrangementTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void ArrangementTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    for (int i = 0; i < count(); ++i) {
        const QRect rect = tabRect(i);
        if (!rect.isEmpty())
            TabControl1DrawTab(painter, i, rect, i == currentIndex());
    }
}

// The active tab gets a frame so the user sees which arrangement is shown; the fill and the
// caption are the same for every tab.
void ArrangementTabBar::TabControl1DrawTab(QPainter& painter, int index, const QRect& rect,
                                           bool active) {
    const QPalette& colours = palette();
    const QColor text = isEnabled() ? colours.color(QPalette::Active, QPalette::WindowText)
                                    : colours.color(QPalette::Disabled, QPalette::Text);
    painter.save();
    painter.setClipRect(rect);
    FillCell(painter, rect, colours.color(QPalette::Active, QPalette::Button), text);
    const QString caption = tabText(index);
    const int width = painter.fontMetrics().horizontalAdvance(caption);
    TextOut(painter, rect.left() + std::max(0, (rect.width() - width) / 2), rect.top() + TextTop,
            caption);
    painter.setPen(colours.color(QPalette::Active, active ? QPalette::Dark : QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, active ? 0 : -1));
    painter.restore();
}
