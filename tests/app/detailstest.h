#pragma once

// Helpers shared by the widget tests of the song-details pages: ink measurement on grabbed
// images and a card root holding songs of several models.

#include "fixture/cardfixture.h"
#include "fixture/songfilesfixture.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QTemporaryDir>

namespace detailstest {

// The leftmost and rightmost x inside `area` of a pixel that differs from `background`;
// (-1, -1) when there is none.
struct Ink {
    int left = -1;
    int right = -1;
    bool found() const { return left >= 0; }
};

inline Ink InkExtent(const QImage& image, const QRect& area, const QColor& background) {
    Ink ink;
    const QRgb plain = background.rgb();
    const QRect inside = area.intersected(image.rect());
    for (int x = inside.left(); x <= inside.right(); ++x) {
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            if (image.pixel(x, y) == plain)
                continue;
            if (ink.left < 0)
                ink.left = x;
            ink.right = x;
            break;
        }
    }
    return ink;
}

// The topmost row inside `area` holding a pixel that differs from `background`; -1 when none.
inline int InkTop(const QImage& image, const QRect& area, const QColor& background) {
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) != background.rgb())
                return y;
        }
    }
    return -1;
}

// Where the ink of `text` lies when its top-left corner is drawn at (0, 0) in `font`: the
// glyphs' own bearings, to be added to the position a painter was given.
inline Ink ReferenceInk(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 40, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(20, 0 + metrics.ascent(), text);
    }
    Ink ink = InkExtent(image, image.rect(), Qt::white);
    ink.left -= 20;
    ink.right -= 20;
    return ink;
}

// Reference top of the ink of `text` drawn with its top at 0.
inline int ReferenceInkTop(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 10, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), text);
    }
    return InkTop(image, image.rect(), Qt::white);
}

// Number of pixels inside `area` of exactly `colour`.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                ++count;
        }
    }
    return count;
}

// The darkest pixel of `area` (the full-coverage ink of a text darker than its background).
inline QColor DarkestPixel(const QImage& image, const QRect& area) {
    QColor darkest = Qt::white;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.lightness() < darkest.lightness())
                darkest = c;
        }
    }
    return darkest;
}

// The 8-point font the details grids use.
inline QFont GridFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    return font;
}

} // namespace detailstest
