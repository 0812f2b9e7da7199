#include "widgets/MComboBox.h"

#include "widgets/ReportListStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// Copies a damaged store next to itself, under a name no earlier copy has taken. The copy's name, or
// an empty text when no copy could be made.
QString KeepDamagedCopy(const QString& fileName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString copy = fileName + QStringLiteral(".damaged") +
                             (attempt == 0 ? QString() : QStringLiteral(".%1").arg(attempt));
        if (QFileInfo::exists(copy))
            continue;
        return QFile::copy(fileName, copy) ? copy : QString();
    }
    return {};
}

const QString kLeftAlone = QStringLiteral(" It is left as it is, and changes to the list are not saved.");

} // namespace

bool MRegCombo::LoadFromReg() {
    clear();
    m_storeProblem.clear();
    m_leaveStoreAlone = false;
    const std::unique_ptr<QSettings> store =
        std::make_unique<QSettings>(m_regPath.Organisation(), m_regPath.Application());
    if (store->status() == QSettings::AccessError) {
        m_leaveStoreAlone = true;
        m_storeProblem = QStringLiteral("The report list cannot be read from %1: access denied.")
                             .arg(QDir::toNativeSeparators(store->fileName())) +
                         kLeftAlone;
        return false;
    }
    const StoredReportList stored = ReadStoredReportList(*store, m_regPath.Key());
    const bool whole = store->status() == QSettings::NoError && stored.complete;
    if (!whole) {
        // Saving would write back only what could be read, so the damaged original is kept first.
        const QString shownName = QDir::toNativeSeparators(store->fileName());
        m_storeProblem = QStringLiteral("The report list in %1 is damaged; %2 of its entries could be read.")
                             .arg(shownName)
                             .arg(stored.entries.size());
        const QString copy = KeepDamagedCopy(store->fileName());
        if (copy.isEmpty()) {
            m_leaveStoreAlone = true;
            m_storeProblem += QStringLiteral(" No copy of it could be kept, so it is left as it is, and "
                                             "changes to the list are not saved.");
        } else {
            m_storeProblem +=
                QStringLiteral(" The damaged file was kept as %1.").arg(QDir::toNativeSeparators(copy));
        }
    }

    // One insertion of the whole sorted list: entry by entry, each with its duplicate check and
    // sorted insert, a long list took minutes.
    addItems(stored.entries);
    const int selected = stored.selected.isEmpty() ? -1 : FindStringExact(stored.selected);
    SetCurSel(selected >= 0 ? selected : (count() > 0 ? 0 : -1));
    return whole;
}

bool MRegCombo::SaveToReg() const {
    if (m_leaveStoreAlone)
        return false;
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
