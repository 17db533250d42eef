#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>

// The leftmost x inside `rect` holding a pixel that `hit` accepts; -1 when none.
inline int FirstX(const QImage& image, const QRect& rect, const std::function<bool(QColor)>& hit) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            if (hit(image.pixelColor(x, y)))
                return x;
        }
    }
    return -1;
}
