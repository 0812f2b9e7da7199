#pragma once

#include "widgets/IniStoreFormat.h"

#include <QRect>
#include <QString>

class QWidget;

// What the window remembers of its last run, kept in the settings store beside the report list (group
// "Window"): its place and size (the inside of the frame, in screen coordinates, as before it was
// maximised), whether it was maximised, and the selected tab.
struct RememberedWindow {
    QRect place; // invalid when none is stored
    bool maximized = false;
    int tab = -1; // -1 when none is stored
};

// The folders the file dialogs start in (group "Folders"): where the last report was opened from, the
// last chart picture saved and the last export went. Empty when none is known.
struct RememberedFolders {
    QString open;
    QString picture;
    QString exportTo;
};

// From the values the report list read from the store, each in its form (widgets/StoreSchema.h).
RememberedWindow ReadWindowMemory(const StoredValues& values);
RememberedFolders ReadRememberedFolders(const StoredValues& values);

// The window's values, for the store as it is now. A window that is not shown has no place a user
// chose: the stored one is kept. A folder not chosen in this run (empty in changed) keeps what the
// store holds now, which another window may have changed; one whose name is not all text (a Linux name
// in another encoding) is not kept.
// A valid chosenPlace is kept instead of the window's own place (which may be shrunk to fit a screen).
void AppendWindowMemory(const QWidget& window, int selectedTab, const StoredValues& now, StoredValues& into,
                        const QRect& chosenPlace = {});
void AppendRememberedFolders(const RememberedFolders& changed, const StoredValues& now, StoredValues& into);
