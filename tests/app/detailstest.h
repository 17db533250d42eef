#pragma once

// Helpers shared by the widget tests that measure painted text on grabbed images: where the
// ink of a text lies, its colour, and the 8-point font the grids use.

#include "fixture/cardfixture.h"
#include "fixture/songfilesfixture.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <initializer_list>

namespace detailstest {

// Cell texts written as UTF-8 literals.
inline QStringList Texts(std::initializer_list<const char*> items) {
    QStringList texts;
    for (const char* item : items)
        texts.append(QString::fromUtf8(item));
    return texts;
}

// The bounding box inside `area` of the pixels that differ from `background`; null when none.
inline QRect InkBox(const QImage& image, const QRect& area, const QColor& background) {
    QRect box;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (image.pixel(x, y) != background.rgb())
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The leftmost and rightmost x inside `area` of a pixel that differs from `background`;
// (-1, -1) when there is none.
struct Ink {
    int left = -1;
    int right = -1;
    bool found() const { return left >= 0; }
};

inline Ink InkExtent(const QImage& image, const QRect& area, const QColor& background) {
    const QRect box = InkBox(image, area, background);
    return box.isNull() ? Ink{} : Ink{box.left(), box.right()};
}

// The topmost row inside `area` holding a pixel that differs from `background`; -1 when none.
inline int InkTop(const QImage& image, const QRect& area, const QColor& background) {
    const QRect box = InkBox(image, area, background);
    return box.isNull() ? -1 : box.top();
}

// Where the ink of `text` lies when its top-left corner is drawn at (0, 0) in `font`: the
// glyphs' own bearings, to be added to the position a painter was given.
struct ReferenceInkOf {
    int left = -1;
    int top = -1;
};

inline ReferenceInkOf ReferenceInk(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 40, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(20, metrics.ascent(), text);
    painter.end();
    return {InkExtent(image, image.rect(), Qt::white).left - 20,
            InkTop(image, image.rect(), Qt::white)};
}

// Number of pixels inside `area` of exactly `colour`.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    }
    return count;
}

// True when the darkest pixel of `area` (the full-coverage ink of a text darker than its
// background) is `ink`, allowing for the rounding of antialiased edges.
inline bool InkIs(const QImage& image, const QRect& area, const QColor& ink) {
    QColor darkest = Qt::white;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            darkest = c.lightness() < darkest.lightness() ? c : darkest;
        }
    }
    return std::abs(darkest.red() - ink.red()) <= 4 &&
           std::abs(darkest.green() - ink.green()) <= 4 &&
           std::abs(darkest.blue() - ink.blue()) <= 4;
}

// The 8-point font the details grids use.
inline QFont GridFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    return font;
}

} // namespace detailstest
