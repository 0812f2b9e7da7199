#include "widgets/MComboBox.h"

#include "platform/FileNames.h"

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
        if (itemText(i).compare(text, m_matchCase) == 0)
            return i;
    return -1;
}

MRegCombo::MRegCombo(QWidget* parent) : MComboBox(parent) {
    SetSorted(true);
    SetExactMatchCase(kFileNamesIgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
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
    store.beginGroup(m_regPath.Key());
    const int size = store.beginReadArray(QStringLiteral("Entries"));
    for (int i = 0; i < size; ++i) {
        store.setArrayIndex(i);
        const QString path = store.value(kEntryKey).toString();
        if (!path.isEmpty() && FindStringExact(path) < 0)
            AddString(path);
    }
    store.endArray();
    const QString selected = store.value(kSelectedKey).toString();
    store.endGroup();
    SetCurSel(selected.isEmpty() ? (count() > 0 ? 0 : -1) : FindStringExact(selected));
    if (currentIndex() < 0 && count() > 0)
        SetCurSel(0);
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
