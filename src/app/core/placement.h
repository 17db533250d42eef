#pragma once

#include "app/core/settings.h"

#include <QList>
#include <QRect>
#include <QSize>

// Whether a stored window placement may be applied on the screens at hand (their available
// areas, without task bars): the frame's width and height positive and within the desktop
// the screens span, and the frame at least partly on one of them. Worked out in 64 bits, so
// that no stored value can overflow.
bool IsSanePlacement(const WindowPlacement& placement, const QList<QRect>& screens);

// The frame of `size` centred on `screen`, in the normal state.
WindowPlacement CentredPlacement(const QSize& size, const QRect& screen);
