#pragma once

#include "widgets/IniStoreFormat.h"
#include "widgets/SettingsStore.h"

#include <QComboBox>
#include <QString>
#include <QStringList>

#include <functional>

// A drop-down list. With the sorted style every new entry goes to its place in alphabetical order,
// ignoring case as Windows sorts; without it entries keep the order in which they were added.
class MComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MComboBox(QWidget* parent = nullptr);

    void SetSorted(bool sorted) { m_sorted = sorted; }
    bool IsSorted() const { return m_sorted; }
    void SetItemDataMode(int mode) { m_itemDataMode = mode; }

    // Adds an entry and returns its index.
    int AddString(const QString& text);
    // Index of the entry whose text equals text exactly (in the given case rule), or -1.
    int FindStringExact(const QString& text) const;
    void SetExactMatchCase(Qt::CaseSensitivity matchCase) { m_matchCase = matchCase; }
    // Selects an entry; -1 selects nothing.
    void SetCurSel(int index) { setCurrentIndex(index); }
    int GetCurSel() const { return currentIndex(); }
    int GetCount() const { return count(); }
    QString GetLBText(int index) const { return itemText(index); }
    void DeleteString(int index) { removeItem(index); }
    void ResetContent() { clear(); }

    // Opens the list as wide as its longest entry; the box itself keeps its size.
    void showPopup() override;

private:
    bool m_sorted = false;
    int m_itemDataMode = 0;
    Qt::CaseSensitivity m_matchCase = Qt::CaseSensitive;
};

// Settings location of a control: organisation, application and key.
class MRegPath {
public:
    void SetAppName(const QString& name) { m_appName = name; }
    void Set(const QString& organisation, const QString& application, const QString& key) {
        m_organisation = organisation;
        m_application = application;
        m_key = key;
    }
    const QString& AppName() const { return m_appName; }
    const QString& Organisation() const { return m_organisation; }
    const QString& Application() const { return m_application; }
    const QString& Key() const { return m_key; }

private:
    QString m_appName;
    QString m_organisation;
    QString m_application;
    QString m_key;
};

// A sorted drop-down list whose entries and selection are kept in the program's settings store
// (widgets/SettingsStore.h). Its entries are paths, so finding one ignores case where file names do
// (Windows), as CB_FINDSTRINGEXACT always did.
class MRegCombo : public MComboBox {
    Q_OBJECT
public:
    // Fills the values kept beside the list when it is saved (the window's place, say): with the store
    // as it is at that moment, so what this window does not change stays as another one left it.
    using BesideWriter = std::function<void(const StoredValues& now, StoredValues& into)>;

    explicit MRegCombo(QWidget* parent = nullptr);

    MRegPath& RegPath() { return m_regPath; }
    void SetRegPath(const QString& organisation, const QString& application, const QString& key) {
        m_regPath.Set(organisation, application, key);
    }
    // Replaces the entries with the stored ones and restores the stored selection. A store that cannot
    // be read whole (a line or value in a form Trelvane never writes, anywhere in the store) gives what
    // could be read, and StoreProblem() says what happened to it: a damaged file is first copied aside;
    // one that cannot be read, or not copied, is left as it is and SaveToReg will not replace it. A store
    // that is no regular file (a FIFO) is never opened. False when the store was not read whole.
    bool LoadFromReg();
    // Stores the list and the values beside it. What the store holds now is merged in: entries another
    // window added since LoadFromReg stay, entries removed here stay removed. False when the store could
    // not be written, or must be left as it is; SaveProblem() then says why when the user was not told
    // already.
    bool SaveToReg();
    // A message for the user about the store LoadFromReg met; empty when it was read whole or missing.
    const QString& StoreProblem() const { return m_storeProblem; }
    // A message for the user about the last SaveToReg; empty when it saved, or when StoreProblem() said
    // already that changes are not saved.
    const QString& SaveProblem() const { return m_saveProblem; }
    // The values LoadFromReg read beside the list, each in its form (widgets/StoreSchema.h).
    const StoredValues& ValuesRead() const { return m_valuesRead; }
    void SetBesideWriter(BesideWriter writer) { m_besideWriter = std::move(writer); }
    // The values in their forms that the store holds now (another window may have changed it since
    // LoadFromReg), for a window that keeps its own group beside the list.
    StoredValues ValuesNow() const;
    // Replaces the values of group (a first group beside the list, such as "Compare") at once, under the
    // rules SaveToReg follows: a store LoadFromReg leaves alone is not written, one that another program
    // damaged since is first copied aside, and the list and every other group stay as the store holds
    // them now. False when the store was not written.
    bool SaveGroup(const QString& group, const StoredValues& values);
    // Adds an entry (data is kept with it) and returns its index.
    int AddStringData(const QString& text, int data);
    // The text of the selected entry; empty when none is selected.
    virtual QString GetCurText() const;

private:
    SettingsStore Store() const;
    QStringList Entries() const;

    MRegPath m_regPath;
    QString m_storeProblem;
    QString m_saveProblem;
    bool m_leaveStoreAlone = false;
    QStringList m_entriesRead; // the list as LoadFromReg found it, to tell this window's changes
    QString m_copyKept;        // the copy of a damaged store LoadFromReg told the user of
    StoredValues m_valuesRead;
    BesideWriter m_besideWriter;
};
