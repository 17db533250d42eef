#include "app/core/placement.h"

#include <algorithm>
#include <cstdint>

namespace {

struct Span {
    std::int64_t left;
    std::int64_t top;
    std::int64_t right; // exclusive
    std::int64_t bottom;
};

Span SpanOf(const QRect& rect) {
    const std::int64_t left = rect.x();
    const std::int64_t top = rect.y();
    return {left, top, left + std::max(0, rect.width()), top + std::max(0, rect.height())};
}

bool Overlaps(const Span& a, const Span& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

bool IsSanePlacement(const WindowPlacement& placement, const QList<QRect>& screens) {
    if (placement.width <= 0 || placement.height <= 0 || screens.isEmpty())
        return false;
    Span desktop = SpanOf(screens.front());
    for (const QRect& screen : screens) {
        const Span s = SpanOf(screen);
        desktop = {std::min(desktop.left, s.left), std::min(desktop.top, s.top),
                   std::max(desktop.right, s.right), std::max(desktop.bottom, s.bottom)};
    }
    if (placement.width > desktop.right - desktop.left ||
        placement.height > desktop.bottom - desktop.top)
        return false;
    const std::int64_t left = placement.left;
    const std::int64_t top = placement.top;
    const Span frame{left, top, left + placement.width, top + placement.height};
    return std::any_of(screens.begin(), screens.end(),
                       [&frame](const QRect& screen) { return Overlaps(frame, SpanOf(screen)); });
}

WindowPlacement CentredPlacement(const QSize& size, const QRect& screen) {
    WindowPlacement placement;
    placement.width = size.width();
    placement.height = size.height();
    const QPoint topLeft = screen.center() - QPoint(size.width() / 2, size.height() / 2);
    placement.left = topLeft.x();
    placement.top = topLeft.y();
    return placement;
}
