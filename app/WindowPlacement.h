#pragma once

#include <QRect>

class QSettings;
class QWidget;

// The wanted window rectangle moved and, where it must, shrunk into the available area of a screen: a
// window remembered on a monitor that is gone, or larger than this screen, still opens whole and in
// reach. A rectangle that fits is returned as it is.
QRect FitIntoArea(const QRect& wanted, const QRect& available);

// The window's place and size and its selected tab, kept in the settings store beside the report list
// (group "Window"); a null store does nothing. Saving is skipped for a window that is not shown: it has
// no place a user chose. Restoring fits the place into the available area of the screen it was on, or of
// the primary screen; a missing or unreadable entry leaves that part as it is. The tab is returned, -1
// when none is stored.
void SaveWindowPlacement(QSettings* store, const QWidget& window, int selectedTab);
int RestoreWindowPlacement(QSettings* store, QWidget& window);
