#include "app/mainstatusbar.h"

#include "app/gridutil.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int PanelGap = 2;

QFont PanelFont(const QFont& base, bool bold) {
    QFont font = base;
    font.setBold(bold);
    return font;
}

int PointSizePixels(const QFont& font) {
    return font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
}

} // namespace

MainStatusBar::MainStatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(Height);
}

QString MainStatusBar::panelText(int panel) const {
    return panel == 0 || panel == 1 ? m_texts[panel] : QString();
}

void MainStatusBar::setPanelText(int panel, const QString& text) {
    if (panel != 0 && panel != 1)
        return;
    m_texts[panel] = text;
    update();
}

QRect MainStatusBar::panelRect(int panel) const {
    // Panel 1 takes the width the other panel leaves (MainStatusBarResize).
    const QRect bar = rect().adjusted(0, 2, 0, 0);
    if (panel == 0)
        return QRect(bar.left() + 1, bar.top() + 1, Panel0Width - 2, bar.height() - 2);
    const int left = Panel0Width + PanelGap;
    return QRect(left + 1, bar.top() + 1, std::max(0, bar.width() - left - 2), bar.height() - 2);
}

int MainStatusBar::textLeft(int panel) const {
    const QRect rect = panelRect(panel);
    if (panel == 0 && !m_texts[0].isEmpty()) {
        const int width = QFontMetrics(PanelFont(font(), true)).horizontalAdvance(m_texts[0]);
        return rect.left() + std::max(0, (rect.width() - width) / 2);
    }
    return rect.left() + PointSizePixels(font());
}

void MainStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (int panel = 0; panel < 2; ++panel) {
        const QRect rect = panelRect(panel);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect.adjusted(-1, -1, 0, 0));
        painter.save();
        painter.setClipRect(rect);
        MainStatusBarDrawPanel(painter, panel, rect);
        painter.restore();
    }
}

void MainStatusBar::MainStatusBarDrawPanel(QPainter& painter, int panel, const QRect& rect) {
    const QString& text = m_texts[panel];
    if (panel == 0 && !text.isEmpty()) {
        painter.setFont(PanelFont(font(), true));
        FillCell(painter, rect, QColor(0, 128, 0), QColor(255, 255, 0));
    } else {
        painter.setFont(PanelFont(font(), false));
        FillCell(painter, rect, palette().color(QPalette::Active, QPalette::Button),
                 palette().color(QPalette::Active, QPalette::WindowText));
    }
    TextOut(painter, textLeft(panel), rect.top() + 1, text);
}
