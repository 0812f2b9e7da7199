#pragma once

// The application object: runs the main window and returns when it closes.
class CTrelvaneApp {
public:
    // Runs the window modally; always false, so nothing else runs after it.
    bool InitInstance();
};
