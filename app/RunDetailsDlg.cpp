#include "app/RunDetailsDlg.h"

#include "analysis/RunDetailsFigures.h"
#include "report/ReportParser.h"
#include "table/FormatNumeric.h"
#include "widgets/Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTableWidget* MakeTable(const QStringList& titles, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    return table;
}

// numbers: the columns after the first hold numbers, aligned on the right.
void SetRow(QTableWidget& table, int row, const QStringList& cells, bool numbers) {
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]); // a value cut short by its column reads whole here
        if (column > 0 && numbers)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
    }
}

QLabel* NoteLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

} // namespace

CRunDetailsDlg::CRunDetailsDlg(IPrompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Run Details"));
    // A window of its own beside the main one, not a modal question.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    m_heading = new QLabel(this);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_report = new QLabel(this);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stability = NoteLabel(this);
    m_cut = NoteLabel(this);
    m_errorRow = NoteLabel(this);
    m_noLatency = NoteLabel(this);
    m_noLatency->setText(QStringLiteral("The report gives no latency distribution for this run "
                                        "(DiskSpd without -L, SQLIO without -LS)."));

    m_parameters = MakeTable({QStringLiteral("Name"), QStringLiteral("Value")}, this);
    m_points = MakeTable({}, this);
    // The few columns of numbers share the width: none is cut off.
    m_points->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pointsTitle = new QLabel(this);
    m_showAll = new QCheckBox(QStringLiteral("Show all"), this);
    connect(m_showAll, &QCheckBox::toggled, this, [this] { FillPoints(); });
    m_chart = new LatencyChartWnd(this);
    connect(m_chart->CopyChartAction(), &QAction::triggered, this, &CRunDetailsDlg::OnCopyChart);
    connect(m_chart->SaveChartAction(), &QAction::triggered, this, &CRunDetailsDlg::OnSaveChartAs);

    auto* parameterBox = new QVBoxLayout;
    parameterBox->addWidget(new QLabel(QStringLiteral("Parameters"), this));
    parameterBox->addWidget(m_parameters);
    auto* pointBox = new QVBoxLayout;
    auto* pointHeading = new QHBoxLayout;
    pointHeading->addWidget(m_pointsTitle, 1);
    pointHeading->addWidget(m_showAll);
    pointBox->addLayout(pointHeading);
    pointBox->addWidget(m_points);
    auto* tables = new QHBoxLayout;
    tables->addLayout(parameterBox, 3);
    tables->addLayout(pointBox, 2);

    m_copy = new QPushButton(QStringLiteral("Copy Chart"), this);
    m_save = new QPushButton(QStringLiteral("Save Chart As..."), this);
    connect(m_copy, &QPushButton::clicked, this, &CRunDetailsDlg::OnCopyChart);
    connect(m_save, &QPushButton::clicked, this, &CRunDetailsDlg::OnSaveChartAs);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_report);
    layout->addWidget(m_stability);
    layout->addWidget(m_cut);
    layout->addWidget(m_errorRow);
    layout->addLayout(tables, 2);
    layout->addWidget(m_noLatency);
    layout->addWidget(m_chart, 3);
    layout->addLayout(buttons);
    resize(860, 720);
}

void CRunDetailsDlg::ShowRun(const ListRow& row, const QString& reportPath, const RunDetails* details) {
    const auto cell = [&row](int column) {
        return static_cast<size_t>(column) < row.size() ? FromBytes(row[static_cast<size_t>(column)])
                                                        : QString();
    };
    m_run = row.empty() ? std::string() : row[kColNumber];
    m_details = details != nullptr ? *details : RunDetails();
    m_reportPath = reportPath;
    m_runLabel = QStringLiteral("Run %1: %2 %3 %4, %5 outstanding")
                     .arg(cell(kColNumber), cell(kColDirection), cell(kColType), cell(kColSize),
                          cell(kColOutstanding));
    m_heading->setText(
        cell(kColDiagDetails).isEmpty()
            ? m_runLabel +
                  QStringLiteral(": %1 IO/sec, %2 MB/sec").arg(cell(kColIOsPerSec), cell(kColMBsPerSec))
            : m_runLabel);
    m_report->setText(QStringLiteral("Report: ") + QDir::toNativeSeparators(reportPath));
    setWindowTitle(QStringLiteral("Run Details - Run ") + cell(kColNumber));

    // The row of a run that did not parse says why; its details are what the report held all the same.
    const QString error = cell(kColDiagDetails).section(QLatin1Char('\n'), 0, 0).trimmed();
    m_errorRow->setText(QStringLiteral("This run's row is an error row: ") + error.left(160) +
                        (error.size() > 160 ? QStringLiteral("...") : QString()));
    m_errorRow->setVisible(!error.isEmpty());

    const std::optional<IopsVariation> variation = IopsVariationOf(m_details);
    if (variation) {
        const QString percent = QString::fromStdString(FormatFixed(variation->share * 100.0, 1));
        const bool unsteady = variation->share > kUnsteadyIopsShare;
        m_stability->setText(
            (unsteady ? QStringLiteral("Unsteady: IOPS varied by %1 % over the run, more than 10 % (%2).")
                      : QStringLiteral("IOPS varied by %1 % over the run (%2)."))
                .arg(percent, QString::fromStdString(variation->basis)));
        m_stability->setStyleSheet(unsteady ? QStringLiteral("color: #C00000; font-weight: bold;")
                                            : QString());
        m_stability->setProperty("unsteady", unsteady);
    }
    m_stability->setVisible(variation.has_value());
    m_cut->setText(
        m_details.histogram.empty()
            ? QStringLiteral("The report's percentile table is cut off: the points before the cut "
                             "are shown.")
            : QStringLiteral("The report's histogram is cut off: the buckets before the cut are shown."));
    m_cut->setVisible(m_details.cut);

    m_parameters->setRowCount(static_cast<int>(m_details.parameters.size()));
    for (size_t i = 0; i < m_details.parameters.size(); ++i)
        SetRow(*m_parameters, static_cast<int>(i),
               {FromBytes(m_details.parameters[i].name), FromBytes(m_details.parameters[i].value)}, false);
    m_parameters->resizeColumnToContents(0);

    const bool latency = HasLatencyDistribution(m_details);
    m_noLatency->setVisible(!latency);
    m_chart->setVisible(latency);
    m_points->setVisible(latency);
    m_pointsTitle->setVisible(latency);
    m_copy->setEnabled(latency);
    m_save->setEnabled(latency);
    m_showAll->setVisible(latency && !m_details.percentiles.empty());
    m_chart->SetChart(MakeLatencyChart(m_details));
    FillPoints();
}

void CRunDetailsDlg::Forget() {
    ShowRun({}, QString(), nullptr);
    m_heading->clear();
    m_report->clear();
    hide();
}

void CRunDetailsDlg::FillPoints() {
    m_points->clearContents();
    if (!m_details.percentiles.empty()) {
        m_pointsTitle->setText(QStringLiteral("Latency percentiles (ms)"));
        m_points->setColumnCount(4);
        m_points->setHorizontalHeaderLabels({QStringLiteral("Percentile"), QStringLiteral("Read"),
                                             QStringLiteral("Write"), QStringLiteral("Total")});
        const std::vector<const PercentilePoint*> shown = ShownPercentiles(m_details, m_showAll->isChecked());
        // A direction the report gives no value of anywhere (fio's Total, a write-only run's Read)
        // takes no column.
        for (int d = 0; d < kLatencyDirectionCount; ++d)
            m_points->setColumnHidden(d + 1,
                                      std::none_of(m_details.percentiles.begin(), m_details.percentiles.end(),
                                                   [d](const PercentilePoint& point) {
                                                       return point.ms[static_cast<size_t>(d)].has_value();
                                                   }));
        m_points->setRowCount(static_cast<int>(shown.size()));
        for (size_t i = 0; i < shown.size(); ++i) {
            QStringList cells{QString::fromStdString(PercentileLabel(shown[i]->percentile))};
            for (const std::optional<std::string>& ms : shown[i]->ms)
                cells.push_back(ms ? FromBytes(*ms) : QString());
            SetRow(*m_points, static_cast<int>(i), cells, true);
        }
    } else {
        m_pointsTitle->setText(
            QStringLiteral("Latency histogram (%1)")
                .arg(QString::fromLatin1(LatencyDirectionName(m_details.histogramDirection))));
        m_points->setColumnCount(2);
        m_points->setColumnHidden(1, false);
        m_points->setHorizontalHeaderLabels({QStringLiteral("Bucket (ms)"), QStringLiteral("I/Os (%)")});
        m_points->setRowCount(static_cast<int>(m_details.histogram.size()));
        for (size_t i = 0; i < m_details.histogram.size(); ++i)
            SetRow(*m_points, static_cast<int>(i),
                   {FromBytes(m_details.histogram[i].label), FromBytes(m_details.histogram[i].percent)},
                   true);
    }
}

QStringList CRunDetailsDlg::ChartCaption() const {
    return {QStringLiteral("Run Details"),
            QStringLiteral("Report: ") +
                (m_reportPath.isEmpty() ? QStringLiteral("none") : QFileInfo(m_reportPath).fileName()),
            m_runLabel};
}

void CRunDetailsDlg::OnCopyChart() {
    QApplication::clipboard()->setImage(m_chart->PictureImage(ChartCaption()));
}

void CRunDetailsDlg::OnSaveChartAs() {
    // Proposed: beside the report, named after it and the run ("runs - run 3.png").
    const QString folder =
        m_reportPath.isEmpty() ? QDir::currentPath() : QFileInfo(m_reportPath).absolutePath();
    QString name = QStringLiteral("run ") + FromBytes(m_run);
    if (!m_reportPath.isEmpty())
        name = QFileInfo(m_reportPath).completeBaseName() + QStringLiteral(" - ") + name;
    const QString path = m_prompts.SaveFile(this, QStringLiteral("Save Chart As"),
                                            QStringLiteral("PNG image (*.png);;SVG image (*.svg)"),
                                            QDir(folder).filePath(name + QStringLiteral(".png")));
    if (path.isEmpty())
        return;
    QString error;
    if (!m_chart->SavePicture(path, ChartCaption(), error))
        m_prompts.Message(this, error, QMessageBox::Ok, QMessageBox::Warning);
}
