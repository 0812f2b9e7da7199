#pragma once

#include "report/RunDetails.h"
#include "table/ListBase.h"
#include "widgets/LatencyChartWnd.h"
#include "widgets/ListCtrlEx.h"
#include "widgets/Prompts.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

// The "Run Details" window: one run of the loaded report, with what its report says of it beyond its
// row: its parameters as a two-column list, its latency percentiles (50, 90, 95, 99, 99.9, 99.99 and
// max; every point on "Show all") or SQLIO's histogram, and the latency chart. A run whose IOPS varied
// by more than 10 % is marked; a table the report cut off, and a run without any latency distribution,
// say so in a line. A window of its own beside the main one, shown again for the next run asked for.
class CRunDetailsDlg : public QDialog {
    Q_OBJECT
public:
    CRunDetailsDlg(IPrompts& prompts, QWidget* parent);

    // Shows a run: the row's cells (its "#" names it), the report's file, and its details (null when
    // the report says nothing more of it).
    void ShowRun(const ListRow& row, const QString& reportPath, const RunDetails* details);
    // Empties the window, as when its report is closed.
    void Forget();

    // Copy Chart and Save Chart As..., as the main window's charts.
    QStringList ChartCaption() const;
    void OnCopyChart();
    void OnSaveChartAs();

    QLabel* Heading() const { return m_heading; }
    QLabel* StabilityNote() const { return m_stability; }
    QLabel* CutNote() const { return m_cut; }
    QLabel* NoLatencyNote() const { return m_noLatency; }
    // The lists are the main window's own list control: Ctrl+C copies their lines as it does.
    CListCtrlEx* ParameterList() const { return m_parameters; }
    CListCtrlEx* PointTable() const { return m_points; }
    CListCtrlEx* BucketTable() const { return m_buckets; }
    QCheckBox* ShowAll() const { return m_showAll; }
    LatencyChartWnd* Chart() const { return m_chart; }

private:
    void FillPoints();

    IPrompts& m_prompts;
    RunDetails m_details;
    std::string m_run;  // the run's "#"
    QString m_runLabel; // "Run 3: Read random 8KB, 8 outstanding"
    QString m_reportPath;
    QLabel* m_heading = nullptr;
    QLabel* m_report = nullptr;
    QLabel* m_stability = nullptr;
    QLabel* m_cut = nullptr;
    QLabel* m_errorRow = nullptr;
    QLabel* m_noLatency = nullptr;
    QLabel* m_pointsTitle = nullptr;
    CListCtrlEx* m_parameters = nullptr;
    CListCtrlEx* m_points = nullptr;  // the percentiles
    CListCtrlEx* m_buckets = nullptr; // or SQLIO's histogram
    QCheckBox* m_showAll = nullptr;
    LatencyChartWnd* m_chart = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
};
