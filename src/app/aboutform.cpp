#include "app/aboutform.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kPictureWidth = 269;
constexpr int kPictureHeight = 136;

void DrawCard(QPainter& painter) {
    // A memory card with its cut corner and contacts.
    QPainterPath card;
    card.moveTo(20, 18);
    card.lineTo(86, 18);
    card.lineTo(100, 32);
    card.lineTo(100, 118);
    card.lineTo(20, 118);
    card.closeSubpath();
    painter.setPen(QPen(QColor(20, 20, 20), 2));
    painter.setBrush(QColor(40, 44, 52));
    painter.drawPath(card);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(212, 175, 55));
    for (int i = 0; i < 5; ++i) {
        painter.drawRect(28 + i * 13, 24, 8, 16);
    }
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRect(26, 60, 68, 44);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(QRect(26, 60, 68, 44), Qt::AlignCenter, QStringLiteral("BR"));
}

void DrawWave(QPainter& painter) {
    // Eight tracks of a recorder as a row of level bars over a waveform.
    painter.setPen(Qt::NoPen);
    for (int track = 0; track < 8; ++track) {
        const int level = 20 + ((track * 37) % 50);
        painter.setBrush(track % 2 ? QColor(255, 255, 0) : QColor(0, 160, 0));
        painter.drawRect(118 + track * 17, 118 - level, 12, level);
    }
    QPainterPath wave;
    wave.moveTo(114, 50);
    for (int x = 114; x <= 256; x += 2) {
        const double t = (x - 114) / 142.0;
        const double envelope = std::sin(t * 3.14159265);
        wave.lineTo(x, 50 - 26 * envelope * std::sin(t * 40.0));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255), 2));
    painter.drawPath(wave);
}

} // namespace

QPixmap TFormAbout::AboutPicture() {
    QPixmap picture(kPictureWidth, kPictureHeight);
    picture.fill(QColor(0, 64, 0));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPictureHeight);
    sky.setColorAt(0, QColor(0, 96, 0));
    sky.setColorAt(1, QColor(0, 32, 0));
    painter.fillRect(picture.rect(), sky);
    DrawCard(painter);
    DrawWave(painter);
    return picture;
}

TFormAbout::TFormAbout(const QString& versionText, QWidget* parent)
    : QDialog(parent), m_lblAboutVersion(new QLabel(versionText, this)) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About Sorvane"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImageAbout"));
    picture->setPixmap(AboutPicture());
    picture->setFixedSize(kPictureWidth, kPictureHeight);

    auto* name = new QLabel(QStringLiteral("Sorvane"), this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(16);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);

    QFont bold = font();
    bold.setBold(true);
    m_lblAboutVersion->setObjectName(QStringLiteral("lblAboutVersion"));
    m_lblAboutVersion->setFont(bold);
    m_lblAboutVersion->setFixedWidth(385);
    m_lblAboutVersion->setAlignment(Qt::AlignCenter);
    auto* line = new QLabel(QStringLiteral("For the songs on BOSS BR-series recorder cards"), this);
    line->setFont(bold);
    line->setAlignment(Qt::AlignCenter);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnAboutOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(name);
    layout->addWidget(m_lblAboutVersion, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addStretch();
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    resize(411, 285);
}
