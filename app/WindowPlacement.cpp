#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("Window");
const QString kPosition = QStringLiteral("Position");
const QString kSize = QStringLiteral("Size");
const QString kMaximized = QStringLiteral("Maximized");
const QString kTab = QStringLiteral("Tab");

// One axis: the length cut to the room, the start moved so the whole length lies inside the room.
void FitAxis(int& start, int& length, int roomStart, int roomLength) {
    length = std::min(length, roomLength);
    start = std::clamp(start, roomStart, roomStart + roomLength - length);
}

} // namespace

QRect FitIntoArea(const QRect& wanted, const QRect& available) {
    if (!available.isValid())
        return wanted;
    int x = wanted.x(), width = wanted.width();
    int y = wanted.y(), height = wanted.height();
    FitAxis(x, width, available.x(), available.width());
    FitAxis(y, height, available.y(), available.height());
    return QRect(x, y, width, height);
}

void SaveWindowPlacement(QSettings* settings, const QWidget& window, int selectedTab) {
    if (settings == nullptr || !window.isVisible())
        return;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    // Position of the frame and size of the inside: what move() and resize() take back, so the window
    // does not creep by its frame at every start.
    const bool maximized = window.isMaximized();
    const QRect normal = maximized ? window.normalGeometry() : window.geometry();
    store.setValue(kPosition, maximized ? normal.topLeft() : window.pos());
    store.setValue(kSize, normal.size());
    store.setValue(kMaximized, maximized);
    store.setValue(kTab, selectedTab);
    store.endGroup();
    store.sync();
}

int RestoreWindowPlacement(QSettings* settings, QWidget& window) {
    if (settings == nullptr)
        return -1;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    const QVariant position = store.value(kPosition);
    const QVariant size = store.value(kSize);
    const QVariant maximized = store.value(kMaximized);
    const QVariant tab = store.value(kTab);
    store.endGroup();

    if (position.typeId() == QMetaType::QPoint && size.typeId() == QMetaType::QSize &&
        size.toSize().isValid()) {
        const QRect wanted(position.toPoint(), size.toSize().expandedTo(window.minimumSize()));
        QScreen* screen = QGuiApplication::screenAt(wanted.center());
        if (screen == nullptr)
            screen = QGuiApplication::primaryScreen();
        const QRect fitted = screen != nullptr ? FitIntoArea(wanted, screen->availableGeometry()) : wanted;
        window.resize(fitted.size());
        window.move(fitted.topLeft());
        if (maximized.toBool())
            window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
    bool isNumber = false;
    const int index = tab.toInt(&isNumber);
    return isNumber ? index : -1;
}
