#pragma once

// Whether the system is set to scroll one screen per wheel notch. Windows offers that setting and Qt
// reports it as 3 lines, so it is read from the system itself; elsewhere there is no such setting.
bool WheelScrollsPages();
