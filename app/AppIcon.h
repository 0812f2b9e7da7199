#pragma once

#include <QIcon>

// The application icon, a disk with three bars, drawn at 16, 32, 48 and 256 pixels.
QIcon MakeAppIcon();
