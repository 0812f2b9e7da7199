#pragma once

#include <QComboBox>
#include <QString>

#include <memory>

class QSettings;

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

// A sorted drop-down list whose entries and selection are kept in Qt's settings store. Its entries are
// paths, so finding one ignores case where file names do (Windows), as CB_FINDSTRINGEXACT always did.
class MRegCombo : public MComboBox {
    Q_OBJECT
public:
    explicit MRegCombo(QWidget* parent = nullptr);

    MRegPath& RegPath() { return m_regPath; }
    void SetRegPath(const QString& organisation, const QString& application, const QString& key) {
        m_regPath.Set(organisation, application, key);
    }
    // Replaces the entries with the stored ones and restores the stored selection. A store that cannot
    // be read whole gives what could be read, and StoreProblem() says what happened to it: a damaged
    // file is first copied aside; one that cannot be read, or not copied, is left as it is and
    // SaveToReg will not replace it. A store that is no regular file (a FIFO) is never opened.
    // False when the store was not read whole.
    bool LoadFromReg();
    // Stores every entry and the selected one. False when the store could not be written, or must be
    // left as it is.
    bool SaveToReg() const;
    // A message for the user about the store LoadFromReg met; empty when it was read whole or missing.
    const QString& StoreProblem() const { return m_storeProblem; }
    // Adds an entry (data is kept with it) and returns its index.
    int AddStringData(const QString& text, int data);
    // The text of the selected entry; empty when none is selected.
    virtual QString GetCurText() const;
    // The same store, for settings kept beside the list (the window's place), under the same rules:
    // null when the store file is no regular file, and for writing also when SaveToReg leaves it alone.
    std::unique_ptr<QSettings> OpenStoreBeside(bool forWriting) const;

private:
    // The file behind the store; empty where the store is not a file (the registry on Windows).
    QString StoreFileName() const;
    std::unique_ptr<QSettings> OpenStore() const;

    MRegPath m_regPath;
    QString m_storeProblem;
    bool m_leaveStoreAlone = false;
};
