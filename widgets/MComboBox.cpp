#include "widgets/MComboBox.h"

#include "platform/FileNames.h"
#include "widgets/ReportListStore.h"
#include "widgets/StoreSchema.h"

#include <QAbstractItemView>
#include <QDir>
#include <QScrollBar>

#include <algorithm>

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

void MComboBox::showPopup() {
    // A box is as wide as its template made it, often narrower than an entry ("Mixed 70/30" in a
    // filter box): the open list is where the whole entry can be read.
    QAbstractItemView* list = view();
    int wanted = list->sizeHintForColumn(0) + 2 * list->frameWidth();
    if (count() > maxVisibleItems())
        wanted += list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(std::max(wanted, width()));
    QComboBox::showPopup();
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

const QString kLeftAlone = QStringLiteral(" It is left as it is, and changes to the list are not saved.");

// True when every value of the store is one Trelvane writes, in its form.
bool AllInTheirForms(const StoredValues& values, const QString& listKey) {
    for (const StoredValue& value : values)
        if (!IsStoredForm(value, listKey))
            return false;
    return true;
}

} // namespace

SettingsStore MRegCombo::Store() const {
    return SettingsStore(m_regPath.Organisation(), m_regPath.Application());
}

QStringList MRegCombo::Entries() const {
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.append(itemText(i));
    return entries;
}

bool MRegCombo::LoadFromReg() {
    clear();
    m_storeProblem.clear();
    m_leaveStoreAlone = false;
    m_entriesRead.clear();
    m_valuesRead.clear();
    m_copyKept.clear();
    const SettingsStore store = Store();
    const SettingsStore::Contents contents = store.Read();
    switch (contents.state) {
    case SettingsStore::State::Missing:
        return true;
    case SettingsStore::State::NotRegularFile:
        m_leaveStoreAlone = true;
        m_storeProblem = QStringLiteral("The report list cannot be read from %1: not a regular file.")
                             .arg(store.ShownName()) +
                         kLeftAlone;
        return false;
    case SettingsStore::State::Unreadable:
        m_leaveStoreAlone = true;
        m_storeProblem = QStringLiteral("The report list cannot be read from %1: %2.")
                             .arg(store.ShownName(), contents.error) +
                         kLeftAlone;
        return false;
    case SettingsStore::State::Read:
        break;
    }
    const StoredReportList stored = ReadStoredReportList(contents.values, m_regPath.Key());
    const bool whole = contents.whole && stored.complete && AllInTheirForms(contents.values, m_regPath.Key());
    if (!whole) {
        // Saving writes back only what could be read, so the damaged original is kept first.
        m_storeProblem = QStringLiteral("The report list in %1 is damaged; %2 of its entries could be read.")
                             .arg(store.ShownName())
                             .arg(stored.entries.size());
        const QString copy = store.KeepDamagedCopy(contents.bytes);
        if (copy.isEmpty()) {
            m_leaveStoreAlone = true;
            m_storeProblem += QStringLiteral(" No copy of it could be kept, so it is left as it is, and "
                                             "changes to the list are not saved.");
        } else {
            m_storeProblem +=
                QStringLiteral(" The damaged file was kept as %1.").arg(QDir::toNativeSeparators(copy));
            m_copyKept = copy;
        }
    }
    const QString listPrefix = m_regPath.Key() + QLatin1Char('/');
    for (const StoredValue& value : contents.values)
        if (!value.key.startsWith(listPrefix) && IsStoredForm(value, m_regPath.Key()))
            m_valuesRead.push_back(value);

    // One insertion of the whole sorted list: entry by entry, each with its duplicate check and
    // sorted insert, a long list took minutes.
    addItems(stored.entries);
    m_entriesRead = stored.entries;
    const int selected = stored.selected.isEmpty() ? -1 : FindStringExact(stored.selected);
    SetCurSel(selected >= 0 ? selected : (count() > 0 ? 0 : -1));
    return whole;
}

bool MRegCombo::SaveToReg() {
    m_saveProblem.clear();
    if (m_leaveStoreAlone)
        return false; // LoadFromReg said so already
    const SettingsStore store = Store();
    const QStringList mine = Entries();
    const QString selected = GetCurText();
    const QString& key = m_regPath.Key();
    QString damagedCopy;
    QString error;
    const bool saved = store.Replace(
        [&](const SettingsStore::Contents& now) {
            const StoredReportList stored = ReadStoredReportList(now.values, key);
            // Another program wrote what Trelvane cannot read whole since this window read it: kept too.
            if (now.state == SettingsStore::State::Read &&
                !(now.whole && stored.complete && AllInTheirForms(now.values, key)))
                damagedCopy = store.KeepDamagedCopy(now.bytes);
            StoredValues values =
                ReportListValues(MergeReportLists(stored.entries, m_entriesRead, mine), selected, key);
            if (m_besideWriter)
                m_besideWriter(now.values, values);
            return values;
        },
        error);
    if (!saved) {
        m_saveProblem = QStringLiteral("The report list cannot be saved in %1: %2. The file is left as it "
                                       "was, without the changes made to the list since the program started.")
                            .arg(store.ShownName(), error);
        return false;
    }
    if (!damagedCopy.isEmpty() && damagedCopy != m_copyKept)
        m_saveProblem =
            QStringLiteral("The report list in %1 was damaged by another program; the damaged file "
                           "was kept as %2.")
                .arg(store.ShownName(), QDir::toNativeSeparators(damagedCopy));
    m_entriesRead = mine;
    return true;
}

StoredValues MRegCombo::ValuesNow() const {
    const SettingsStore::Contents now = Store().Read();
    StoredValues values;
    for (const StoredValue& value : now.values)
        if (IsStoredForm(value, m_regPath.Key()))
            values.push_back(value);
    return values;
}

bool MRegCombo::SaveGroup(const QString& group, const StoredValues& values) {
    if (m_leaveStoreAlone)
        return false;
    const SettingsStore store = Store();
    const QString& key = m_regPath.Key();
    const QString prefix = group + QLatin1Char('/');
    QString error;
    return store.Replace(
        [&](const SettingsStore::Contents& now) {
            const StoredReportList stored = ReadStoredReportList(now.values, key);
            if (now.state == SettingsStore::State::Read &&
                !(now.whole && stored.complete && AllInTheirForms(now.values, key)))
                store.KeepDamagedCopy(now.bytes);
            StoredValues kept;
            for (const StoredValue& value : now.values)
                if (!value.key.startsWith(prefix) && IsStoredForm(value, key))
                    kept.push_back(value);
            kept.insert(kept.end(), values.begin(), values.end());
            return kept;
        },
        error);
}

int MRegCombo::AddStringData(const QString& text, int data) {
    const int index = AddString(text);
    setItemData(index, data);
    return index;
}

QString MRegCombo::GetCurText() const {
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}
