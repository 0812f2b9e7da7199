#include "widgets/MComboBox.h"

#include "platform/FileNames.h"
#include "platform/SettingsStoreFile.h"
#include "widgets/ReportListStore.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QSettings>

#include <algorithm>
#include <filesystem>

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

const QString kSelectedKey = QStringLiteral("Selected");
const QString kEntryKey = QStringLiteral("Path");

enum class StoreFileKind { Missing, Regular, Other };

// What the store file is, found without opening it: QSettings opens and reads it at once, and opening
// a FIFO waits for a writer that never comes.
StoreFileKind KindOfStoreFile(const QString& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(fileName).constData(), error);
    if (status.type() == std::filesystem::file_type::not_found)
        return StoreFileKind::Missing;
    return std::filesystem::is_regular_file(status) ? StoreFileKind::Regular : StoreFileKind::Other;
}

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

QString MRegCombo::StoreFileName() const {
    return SettingsStoreFile(m_regPath.Organisation(), m_regPath.Application());
}

std::unique_ptr<QSettings> MRegCombo::OpenStore() const {
    const QString fileName = StoreFileName();
    // Naming the file keeps QSettings from also reading the organisation-wide and system-wide
    // fallback files, which no check has looked at.
    if (!fileName.isEmpty())
        return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    return std::make_unique<QSettings>(m_regPath.Organisation(), m_regPath.Application());
}

bool MRegCombo::LoadFromReg() {
    clear();
    m_storeProblem.clear();
    m_leaveStoreAlone = false;
    const QString fileName = StoreFileName();
    if (!fileName.isEmpty()) {
        const StoreFileKind kind = KindOfStoreFile(fileName);
        if (kind == StoreFileKind::Missing)
            return true;
        if (kind == StoreFileKind::Other) {
            m_leaveStoreAlone = true;
            m_storeProblem = QStringLiteral("The report list cannot be read from %1: not a regular file.")
                                 .arg(QDir::toNativeSeparators(fileName)) +
                             kLeftAlone;
            return false;
        }
    }
    const std::unique_ptr<QSettings> store = OpenStore();
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
        const QString copy = fileName.isEmpty() ? QString() : KeepDamagedCopy(fileName);
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
    const QString fileName = StoreFileName();
    if (!fileName.isEmpty() && KindOfStoreFile(fileName) == StoreFileKind::Other)
        return false;
    const std::unique_ptr<QSettings> opened = OpenStore();
    QSettings& store = *opened;
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

std::unique_ptr<QSettings> MRegCombo::OpenStoreBeside(bool forWriting) const {
    const QString fileName = StoreFileName();
    if (!fileName.isEmpty() && KindOfStoreFile(fileName) == StoreFileKind::Other)
        return nullptr;
    if (forWriting && m_leaveStoreAlone)
        return nullptr;
    return OpenStore();
}

QString MRegCombo::GetCurText() const {
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}
