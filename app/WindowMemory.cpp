#include "app/WindowMemory.h"

#include "platform/PathText.h"
#include "widgets/StoreSchema.h"

#include <QWidget>

namespace {

const QString* Find(const StoredValues& values, const QString& key) {
    for (const StoredValue& value : values)
        if (value.key == key)
            return &value.text;
    return nullptr;
}

QString ReadFolder(const StoredValues& values, const QString& key) {
    const QString* text = Find(values, key);
    const std::optional<QString> folder = text != nullptr ? StoredPath(*text) : std::nullopt;
    return folder.value_or(QString());
}

void AppendFolder(const QString& changed, const QString& key, const StoredValues& now, StoredValues& into) {
    if (changed.isEmpty() || PathHoldsRawBytes(changed)) {
        if (const QString* text = Find(now, key); text != nullptr && StoredPath(*text))
            into.push_back({key, *text});
        return;
    }
    into.push_back({key, StringForm(changed)});
}

} // namespace

RememberedWindow ReadWindowMemory(const StoredValues& values) {
    RememberedWindow remembered;
    if (const QString* place = Find(values, kWindowPlaceKey)) {
        const std::optional<QRect> rect = StoredRect(*place);
        if (rect && rect->isValid())
            remembered.place = *rect;
    }
    if (const QString* maximized = Find(values, kWindowMaximizedKey))
        remembered.maximized = remembered.place.isValid() && StoredBool(*maximized).value_or(false);
    if (const QString* tab = Find(values, kWindowTabKey))
        remembered.tab = StoredInt(*tab).value_or(-1);
    return remembered;
}

RememberedFolders ReadRememberedFolders(const StoredValues& values) {
    return {ReadFolder(values, kOpenFolderKey), ReadFolder(values, kPictureFolderKey),
            ReadFolder(values, kExportFolderKey)};
}

void AppendWindowMemory(const QWidget& window, int selectedTab, const StoredValues& now, StoredValues& into,
                        const QRect& chosenPlace) {
    if (!window.isVisible()) {
        KeepGroup(now, kWindowGroup, QString(), into);
        return;
    }
    // The inside of the frame: what setGeometry takes back, so the window does not creep by its frame.
    const bool maximized = window.isMaximized();
    const QRect place = chosenPlace.isValid() ? chosenPlace
                        : maximized           ? window.normalGeometry()
                                              : window.geometry();
    into.push_back({kWindowPlaceKey, RectForm(place)});
    into.push_back({kWindowMaximizedKey, BoolForm(maximized)});
    into.push_back({kWindowTabKey, IntForm(selectedTab)});
}

void AppendRememberedFolders(const RememberedFolders& changed, const StoredValues& now, StoredValues& into) {
    AppendFolder(changed.open, kOpenFolderKey, now, into);
    AppendFolder(changed.picture, kPictureFolderKey, now, into);
    AppendFolder(changed.exportTo, kExportFolderKey, now, into);
}
