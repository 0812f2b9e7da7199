#pragma once

#include <QIcon>
#include <QImage>

// The application icon, a disk with three bars, drawn at any size in pixels.
QImage DrawAppIcon(int size);
// The window's icon: that drawing at 16, 32, 48 and 256 pixels.
QIcon MakeAppIcon();
