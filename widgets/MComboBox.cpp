#include "widgets/MComboBox.h"

#include "widgets/ReportListStore.h"

#include <QSettings>

MComboBox::MComboBox(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
}

int MComboBox::AddString(const QString& text) {
    if (!m_sorted) {
        addItem(text);
        return count() - 1;
    }
    // Insert after every entry that orders before or equal to it, so equal entries keep their order.
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(itemText(middle), text, Qt::CaseInsensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    insertItem(low, text);
    return low;
}

int MComboBox::FindStringExact(const QString& text) const {
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == text)
            return i;
    return -1;
}

MRegCombo::MRegCombo(QWidget* parent) : MComboBox(parent) {
    SetSorted(true);
}

namespace {

const QString kSelectedKey = QStringLiteral("Selected");
const QString kEntryKey = QStringLiteral("Path");

} // namespace

bool MRegCombo::LoadFromReg() {
    clear();
    QSettings store(m_regPath.Organisation(), m_regPath.Application());
    if (store.status() != QSettings::NoError)
        return false;
    const StoredReportList stored = ReadStoredReportList(store, m_regPath.Key());

    // One insertion of the whole sorted list: entry by entry, each with its duplicate check and
    // sorted insert, a long list took minutes.
    addItems(stored.entries);
    const int selected = stored.selected.isEmpty() ? -1 : FindStringExact(stored.selected);
    SetCurSel(selected >= 0 ? selected : (count() > 0 ? 0 : -1));
    return true;
}

bool MRegCombo::SaveToReg() const {
    QSettings store(m_regPath.Organisation(), m_regPath.Application());
    store.beginGroup(m_regPath.Key());
    store.remove(QString());
    store.beginWriteArray(QStringLiteral("Entries"), count());
    for (int i = 0; i < count(); ++i) {
        store.setArrayIndex(i);
        store.setValue(kEntryKey, itemText(i));
    }
    store.endArray();
    store.setValue(kSelectedKey, currentIndex() >= 0 ? itemText(currentIndex()) : QString());
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError;
}

int MRegCombo::AddStringData(const QString& text, int data) {
    const int index = AddString(text);
    setItemData(index, data);
    return index;
}

QString MRegCombo::GetCurText() const {
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}
