#pragma once

#include <QRect>

class QSettings;
class QWidget;

// What the window remembers of its last run, kept in the settings store beside the report list (group
// "Window"): its place and size (the inside of the frame, in screen coordinates, as before it was
// maximised), whether it was maximised, and the selected tab.
struct RememberedWindow {
    QRect place; // invalid when none is stored or the stored one is unreadable
    bool maximized = false;
    int tab = -1; // -1 when none is stored
};

// A null store does nothing. Saving is skipped for a window that is not shown: it has no place a user
// chose. A valid chosenPlace is kept instead of the window's own (which may be shrunk to fit a screen).
void SaveWindowMemory(QSettings* store, const QWidget& window, int selectedTab,
                      const QRect& chosenPlace = {});
RememberedWindow ReadWindowMemory(QSettings* store);
