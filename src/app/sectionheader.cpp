#include "app/sectionheader.h"

#include <QMouseEvent>
#include <QPainter>

SectionHeader::SectionHeader(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption) {
    setFixedHeight(Height);
    QFont captionFont(QStringLiteral("Arial"), font().pointSize());
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setBold(true);
    captionFont.setItalic(true);
    setFont(captionFont);
}

QColor SectionHeader::Background() {
    return QColor(0, 128, 0);
}

QColor SectionHeader::CaptionColour() {
    return QColor(255, 255, 0);
}

void SectionHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Background());
    painter.setPen(CaptionColour());
    painter.setFont(font());
    painter.drawText(rect().adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

void SectionHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked();
}
