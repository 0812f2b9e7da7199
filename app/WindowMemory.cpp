#include "app/WindowMemory.h"

#include <QSettings>
#include <QWidget>

namespace {

const QString kGroup = QStringLiteral("Window");
const QString kPlace = QStringLiteral("Place");
const QString kMaximized = QStringLiteral("Maximized");
const QString kTab = QStringLiteral("Tab");

} // namespace

void SaveWindowMemory(QSettings* settings, const QWidget& window, int selectedTab, const QRect& chosenPlace) {
    if (settings == nullptr || !window.isVisible())
        return;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    // The inside of the frame: what setGeometry takes back, so the window does not creep by its frame.
    const bool maximized = window.isMaximized();
    const QRect place = chosenPlace.isValid() ? chosenPlace
                        : maximized           ? window.normalGeometry()
                                              : window.geometry();
    store.setValue(kPlace, place);
    store.setValue(kMaximized, maximized);
    store.setValue(kTab, selectedTab);
    store.endGroup();
    store.sync();
}

RememberedWindow ReadWindowMemory(QSettings* settings) {
    RememberedWindow remembered;
    if (settings == nullptr)
        return remembered;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    const QVariant place = store.value(kPlace);
    const QVariant maximized = store.value(kMaximized);
    const QVariant tab = store.value(kTab);
    store.endGroup();
    if (place.typeId() == QMetaType::QRect && place.toRect().isValid())
        remembered.place = place.toRect();
    remembered.maximized = remembered.place.isValid() && maximized.toBool();
    bool isNumber = false;
    const int index = tab.toInt(&isNumber);
    remembered.tab = isNumber ? index : -1;
    return remembered;
}
