#include "app/WindowSlot.h"

#include "widgets/SettingsStore.h"

#include <QDir>
#include <QLockFile>

namespace {

// Beyond this many windows they all open where the last slot does.
constexpr int kSlots = 16;

} // namespace

WindowSlot::WindowSlot() = default;
WindowSlot::~WindowSlot() = default;

int WindowSlot::Take(const QString& folder) {
    Release();
    if (!QDir().mkpath(folder))
        return 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        const QString name = QDir(folder).filePath(QStringLiteral("window-%1.lock").arg(slot));
        // A FIFO or folder in a slot's place would make the lock wait or fail: that slot is passed by.
        if (!IsFileOrMissing(name))
            continue;
        auto lock = std::make_unique<QLockFile>(name);
        lock->setStaleLockTime(0); // a window open for hours still holds its slot
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return slot;
        }
    }
    return 0;
}

void WindowSlot::Release() {
    m_lock.reset();
}
