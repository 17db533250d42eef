#pragma once

// Helpers shared by the widget tests that measure painted text on grabbed images: where the
// ink of a text lies and its colour.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstdlib>
#include <functional>

namespace detailstest {

// Calls `visit` with the colour of every pixel of `area` inside the image.
inline void ForEachPixel(const QImage& image, const QRect& area,
                         const std::function<void(int, int, const QColor&)>& visit) {
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            visit(x, y, image.pixelColor(x, y));
    }
}

// The bounding box inside `area` of the pixels that differ from `background`; null when none.
inline QRect InkBox(const QImage& image, const QRect& area, const QColor& background) {
    QRect box;
    ForEachPixel(image, area, [&](int x, int y, const QColor& c) {
        if (c.rgb() != background.rgb())
            box |= QRect(x, y, 1, 1);
    });
    return box;
}

// Where the ink of `text` lies when its top-left corner is drawn at (0, 0) in `font`: the
// glyphs' own bearings, to be added to the position a painter was given.
inline QPoint ReferenceInk(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 40, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, metrics.ascent(), text);
    painter.end();
    return InkBox(image, image.rect(), Qt::white).topLeft() - QPoint(20, 0);
}

// Number of pixels inside `area` of exactly `colour`.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    ForEachPixel(image, area, [&](int, int, const QColor& c) { count += c.rgb() == colour.rgb(); });
    return count;
}

// True when the darkest pixel of `area` (the full-coverage ink of a text darker than its
// background) is `ink`, allowing for the rounding of antialiased edges.
inline bool InkIs(const QImage& image, const QRect& area, const QColor& ink) {
    QColor darkest = Qt::white;
    ForEachPixel(image, area, [&](int, int, const QColor& c) {
        darkest = c.lightness() < darkest.lightness() ? c : darkest;
    });
    return std::abs(darkest.red() - ink.red()) <= 4 &&
           std::abs(darkest.green() - ink.green()) <= 4 &&
           std::abs(darkest.blue() - ink.blue()) <= 4;
}

// The leftmost x inside `rect` holding a pixel that `hit` accepts; -1 when none.
inline int FirstX(const QImage& image, const QRect& rect, const std::function<bool(QColor)>& hit) {
    int first = -1;
    ForEachPixel(image, rect, [&](int x, int, const QColor& c) {
        first = hit(c) && (first < 0 || x < first) ? x : first;
    });
    return first;
}

} // namespace detailstest
