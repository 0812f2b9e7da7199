#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Which of the program's windows open at the same time this one is, so that a second window (a second
// "Open with", say: a process of its own) opens offset from the first as a desktop places a new window,
// not on top of it. Each slot is a lock file in the settings folder, held as long as its window is open;
// the slot of a process that ended, even by a crash, is free again.
class WindowSlot {
public:
    WindowSlot();
    ~WindowSlot();
    // Takes the lowest free slot: 0 for the first window. 0 as well when no slot can be taken.
    int Take(const QString& folder);
    void Release();

private:
    std::unique_ptr<QLockFile> m_lock;
};
