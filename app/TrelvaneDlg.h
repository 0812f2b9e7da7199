#pragma once

#include "analysis/TabChartBuilder.h"
#include "app/WindowMemory.h"
#include "app/WindowSlot.h"
#include "disks/WmiSource.h"
#include "report/ReportLoad.h"
#include "report/RunDetailsStore.h"
#include "table/FormatNumeric.h"
#include "widgets/ChartWnd.h"
#include "widgets/ListCtrlEx.h"
#include "widgets/MComboBox.h"
#include "widgets/MDialog.h"
#include "widgets/MStatic.h"
#include "widgets/MTabCtrl.h"
#include "widgets/Prompts.h"

#include <QIcon>
#include <QMargins>
#include <QRect>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class CDlgPage1;
class CDlgProgress;
class CompareWindow;
class CRunDetailsDlg;
class LoadProgress;

// The one window of the program. It owns every control and all state; the handlers of each subsystem
// are members defined in app/, one file per subsystem: <Subsystem>Handlers.cpp.
class CTrelvaneDlg : public MDialog {
    Q_OBJECT
public:
    // prompts: the file, folder and message prompts (the real Qt dialogs when null).
    // wmi: the source of partition facts (this machine's when null).
    explicit CTrelvaneDlg(std::unique_ptr<IPrompts> prompts = nullptr,
                          std::unique_ptr<WmiSource> wmi = nullptr, QWidget* parent = nullptr);
    ~CTrelvaneDlg() override;

    // Builds the window's content; runs once before the window is shown. False after a failed
    // security set-up (no report is loaded then).
    bool OnInitDialog();
    long OnTabSelChange(quintptr wParam, qintptr lParam) override;
    void ShowTab(int index);
    // True when the command was the About entry (shown); false leaves it to the system.
    bool OnSysCommand(unsigned id, qintptr lParam);
    void OnDestroy();

    // Report loading.
    void OnFileOpen();
    void OnSelchangeReportCombo();
    // Empties the table and both charts, then loads path with the table's redrawing off; returns what
    // LoadReport returns.
    bool ReloadReport(const std::string& path);
    // Loads one report (nothing for an empty path). True only when the file could not be opened and
    // the user chose to remove it from the report list, so that the caller loads the entry now
    // selected; false in every other case, success included.
    bool LoadReport(const std::string& path);
    // Opens a report the user pointed at (File > Open, the command line, a drop): it enters the report
    // list and loads, or takes the open-failure path.
    void OpenReport(const QString& path);
    // A report named on the command line: opened by OnInitDialog instead of the list's selected entry.
    void SetStartupReport(const QString& path) { m_startupReport = path; }
    // The clock (milliseconds) that times a load for its progress window; a steady one when unset.
    void SetLoadClock(std::function<qint64()> clock) { m_loadClock = std::move(clock); }

    // Filters and sorting.
    void FillFilterCombo(MComboBox& list, int column);
    void OnFilterChange();
    void OnSortNumber();
    void OnSortDirection();
    void OnSortType();
    void OnSortSize();
    void OnSortOutstanding();
    void OnSortIOs();
    void OnSortMBs();
    void OnSortMinLatency();
    void OnSortAvgLatency();
    void OnSortMaxLatency();
    // A click on a column title of "Data".
    void OnDataHeaderClicked(int column);
    FilterSelection ReadFilterSelection() const;

    // Charts.
    TabChartPlan PrepareTabChart(int index);
    void BuildTabChart(int index, const TabChartPlan& plan);

    // Partitions. InitSecurity runs at start-up (false: a partition error row was added); ReleaseSecurity
    // when the window is destroyed.
    bool InitSecurity();
    void ReleaseSecurity();
    void ReadDiskPartitions();
    bool ScanPartitions(CDlgProgress& progress);
    void OnRefresh();

    // Export.
    void OnExport();
    // Shows folder in the desktop's file manager; says so when it cannot.
    void OpenFolderInFileManager(const QString& folder);

    // File > Compare Reports...: the "Compare Reports" window, made at its first use and kept.
    void OnCompareReports();
    CompareWindow* Comparison() const { return m_compareWindow; }

    // Run Details: the window of one run, opened by a double-click on its row or bar, by Ctrl+D or the
    // context menu's "Run Details..." on the selected row of "Data".
    void OnRunDetails();
    void ShowRunDetailsOfRow(int row);
    void ShowRunDetailsOfRun(int run);
    CRunDetailsDlg* RunDetailsWindow() const { return m_runDetailsDlg; }
    QAction* RunDetailsAction() const { return m_runDetailsAction; }

    // Chart pictures: the context menu of both charts.
    QStringList ChartCaption(const CChartWnd& chart) const;
    void OnCopyChart(const CChartWnd& chart);
    void OnSaveChartAs(const CChartWnd& chart);

    // Fits the window into a screen's available area (frame included): the template's size where it
    // fits, else the largest that does, centred; the smallest size the window allows is lowered to fit
    // as well. Runs by itself when the window is first shown, with the screen it opens on.
    void OpenInside(const QRect& available);
    void setVisible(bool visible) override;
    // Where the window is, with the size the user chose: the window's own size unless the program shrank
    // it to fit a screen, which never becomes the size kept for the next start.
    QRect ChosenPlace() const;

    IPrompts& Prompts() { return *m_prompts; }
    WmiSource& Wmi() { return *m_wmi; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    QPushButton* Button(int controlId) const;
    // How many times a chart tab was built; tests count rebuilds with it.
    int ChartBuildCount() const { return m_chartBuilds; }

    // Members, in the order the window builds and destroys them.
    CChartWnd_Settings m_chartSettings;
    CChartWnd* m_chart = nullptr;
    CChartWnd* m_chartAverages = nullptr;
    CListCtrlEx* m_listData = nullptr;
    CListCtrlEx* m_listPartitions = nullptr;
    CFormatNumeric m_formatNumeric;
    MTabCtrl* m_tabCtrl = nullptr;
    std::array<CDlgPage1*, 8> m_pages{};
    QIcon m_hIcon;
    double m_maxLatency = 0.0;
    bool m_partitionsScanned = false;
    MStatic* m_status = nullptr;
    MRegCombo* m_comboReports = nullptr;
    MComboBox* m_comboType = nullptr;
    MComboBox* m_comboDirection = nullptr;
    MComboBox* m_comboOutstanding = nullptr;
    QPlainTextEdit* m_editNotes = nullptr;
    QPushButton* m_btnRefresh = nullptr;
    // What the loaded report says of its runs beyond their rows, under each run's number.
    RunDetailsStore m_runDetails;

protected:
    void done(int result) override;
    // Closing the window while a report loads stops the load.
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // A report file dropped onto the window opens as File > Open opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();
    void ConnectChartPictures();
    void ConnectRunDetails();
    void AddToolTips();
    // The window's remembered tab and maximised state (app/WindowMemory.h), before the start-up load; its
    // place is taken at the first show.
    void RestorePlacement();
    // Fits the window in again when the window manager's frame turns out to differ from what the last
    // fit allowed for; a move or resize soon after the window shows tells.
    void FitAgainForTheFrame();
    void SetStatus(const QString& text, std::uint32_t background, bool whiteText);
    // A name holding NUL names no file (a dropped URL with %00): the user is told, and nothing is opened
    // or listed. True when it was refused.
    bool RefusedAsNoFileName(const QString& pathText);
    // A folder a file dialog was left in, kept for the next one (app/WindowMemory.h).
    void RememberFolder(QString RememberedFolders::*which, const QString& folder);
    // folder when it still is one; empty (the dialog's own choice) when it is gone.
    static QString StartFolder(const QString& folder);
    // Memory ran out while loading path or drawing it: an empty table but for one error row, empty
    // charts, a red status and a message.
    void ReportOutOfMemory(const std::string& path);
    // The steps of LoadReport: select (or add) the report's entry in the report list; after a failed
    // open, offer to remove it from the list (true when removed) or else show the open failure in the
    // status line; with the rows read, show the status, the "Overall Averages" chart and the type and
    // direction filter lists.
    void SelectReportEntry(const QString& pathText);
    bool OfferToForgetReport(const std::string& path);
    void ShowLoadedRows(ReportLoadStatus status);
    // A load the user cancelled: an empty table, charts and filter lists, and a red status that says so.
    void ShowCancelledLoad();

    std::unique_ptr<IPrompts> m_prompts;
    std::unique_ptr<WmiSource> m_wmi;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    bool m_destroyed = false;
    QString m_startupReport;
    QRect m_rememberedPlace;     // the place of the last run, taken at the first show (app/WindowMemory.h)
    RememberedFolders m_folders; // where the file dialogs start
    RememberedFolders m_foldersChosen; // those chosen in this run, saved over the stored ones
    WindowSlot m_slot;                 // which of the windows open at once this is
    int m_slotOffset = 0;              // how far it opens from the first one, right and down
    bool m_placed = false;
    QRect m_openedOn;          // the available area the window was fitted into
    QMargins m_frameAtFit;     // the frame that fit allowed for
    bool m_watchFrame = false; // while the window manager's frame may still arrive
    QSize m_chosenSize;        // the size the user chose (remembered, or the template's)
    QSize m_fittedSize;        // the smaller size a fit gave the window; invalid when none was needed
    QSize m_templateMinimum;
    int m_chartBuilds = 0;
    CompareWindow* m_compareWindow = nullptr;
    CRunDetailsDlg* m_runDetailsDlg = nullptr; // made at its first use
    QAction* m_runDetailsAction = nullptr;
    std::function<qint64()> m_loadClock;
    LoadProgress* m_loading = nullptr; // the load under way, if any
};

// The message of an export that wrote both files: the folder and the two file names.
QString ExportDoneText(const QString& folder);

// The fixed notes text shown beside the partition table: eleven lines, each ending in CR LF.
extern const char* const kPartitionNotes;
