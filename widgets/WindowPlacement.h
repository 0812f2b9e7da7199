#pragma once

#include <QRect>

// Where a window goes so that all of it lies inside the available area of a screen (the screen less
// its task bars and docks): at the wanted size where that fits, else at the largest size that fits;
// at the wanted place, else moved just far enough to come inside. Both rectangles are the window's
// outer frame, in the screen's coordinates; an empty area changes nothing.
QRect FitRectInside(const QRect& wanted, const QRect& available);
