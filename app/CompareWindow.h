#pragma once

#include "compare/ComparisonTable.h"
#include "compare/ReportSet.h"
#include "widgets/IniStoreFormat.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CListCtrlEx;
class CompareChartWnd;
class CompareCurvesWnd;
class CompareRowsWnd;
class IPrompts;
class QComboBox;
class QLabel;
class QListView;
class QStandardItemModel;
class QMenu;
class QPushButton;
class QSettings;
class QStackedWidget;
class QTabBar;

// What the window asks of the main window.
struct CompareWindowHost {
    IPrompts* prompts = nullptr;
    // The values the settings store holds now, and the replacement of the window's own group there,
    // under the report list's rules, so the main report list is never lost (false: not written).
    std::function<StoredValues()> readStore;
    std::function<bool(const StoredValues& group)> saveGroup;
    // The main window's report list, and the report it shows.
    std::function<QStringList()> reportList;
    std::function<QString()> currentReport;
};

// The "Compare Reports" window: one to eight reports, the first the baseline, matched run by run. A
// list of the reports, the measure, the order and the filters; the grouped-bar chart or the curves; the
// summary; the comparison table with Export. The comparison itself is the core's (compare/); the window
// keeps each report's tests once read, so reordering or a new baseline reads nothing again.
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompareWindow(CompareWindowHost host, QWidget* parent = nullptr);
    ~CompareWindow() override;

    // Fills the window from the settings store, or with the main window's report when nothing is
    // remembered, and reads the reports. Runs once, before the window is first shown.
    void Restore();

    // The user's actions, as the buttons, menus, keys and drops run them.
    void AddReports(const QStringList& paths);
    void OnAddReports();
    void OnRemove();
    void OnMoveUp();
    void OnMoveDown();
    void OnSetBaseline();
    void SetMeasure(int measure);
    void SetOrder(CompareOrder order);
    // An empty value is "<All>".
    void SetFilter(TestKeyPart part, const QString& value);
    void ShowView(int view); // 0 the chart, 1 the curves
    void OnExport();
    void OnCopyTable();
    void OnCopyChart();
    void OnSaveChartAs();

    // The entry selected in the list of reports, or -1.
    int SelectedReport() const;
    void SelectReport(int index);

    // What the window shows, for its tests.
    const ReportSet& Set() const { return m_set; }
    const Comparison& Current() const { return m_comparison; }
    int Measure() const { return m_measure; }
    QListView* ReportList() const { return m_list; }
    // The text of the list's entry at index.
    QString ReportListText(int index) const;
    CompareChartWnd* Chart() const { return m_chart; }
    CompareCurvesWnd* Curves() const { return m_curves; }
    CompareRowsWnd* ShownView() const;
    CListCtrlEx* Table() const { return m_table; }
    QString Summary() const;
    QString Status() const;
    QComboBox* FilterList(TestKeyPart part) const { return m_filterLists[static_cast<size_t>(part)]; }
    // The caption of a chart picture: what it shows, the baseline and the filters.
    QStringList PictureCaption() const;

    static constexpr int kMaxReports = ReportSet::kMaxReports;

protected:
    // Report files dropped onto the window join the comparison.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    QWidget* CreateReportPanel();
    QWidget* CreateChoices();
    void FillReportListMenu();
    // The set changed: read what is new, compare again, refill the filter lists, show it all, remember.
    void SetChanged();
    // The reports of the set not read yet, one at a time, with the main window's load.
    void ReadNewReports();
    void Recompare();
    // The measure, order or a filter changed: the views, the table and the summary follow.
    void Refresh();
    void ShowComparison();
    // Memory ran out while comparing: an empty comparison that says so.
    void OutOfMemory();
    void UpdateButtons();
    void RefreshReportList();
    void RefillFilterLists();
    void Remember();
    void SetStatus(const QString& text);

    CompareWindowHost m_host;
    ReportSet m_set;
    Comparison m_comparison;
    std::vector<int> m_compared;      // the set's entries in the comparison, in order
    std::vector<std::string> m_names; // the name of every entry of the set
    int m_measure = 0;
    CompareOrder m_order = CompareOrder::ByTest;
    CompareFilters m_filters;
    bool m_restoring = false;

    QListView* m_list = nullptr;
    QStandardItemModel* m_listModel = nullptr;
    QMenu* m_reportListMenu = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_baseline = nullptr;
    QComboBox* m_measureList = nullptr;
    QComboBox* m_orderList = nullptr;
    std::array<QComboBox*, kTestKeyPartCount> m_filterLists{};
    QLabel* m_summary = nullptr;
    QTabBar* m_views = nullptr;
    QStackedWidget* m_viewStack = nullptr;
    CompareChartWnd* m_chart = nullptr;
    CompareCurvesWnd* m_curves = nullptr;
    CListCtrlEx* m_table = nullptr;
    QLabel* m_status = nullptr;
};

// Reads the entries of the set that have not been read yet, one at a time, with the main window's
// load (LoadComparedReport): every report a comparison reads comes through here, so a progress window
// for large reports plugs in at this one place. False when the reading was cancelled; the entries not
// read stay unread.
bool ReadComparedReports(QWidget* owner, ReportSet& set);
