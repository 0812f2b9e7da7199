#include "app/RunDetailsDlg.h"

#include "analysis/RunDetailsFigures.h"
#include "report/ResultRow.h"
#include "table/FormatNumeric.h"
#include "widgets/Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct ColumnSpec {
    const char* title;
    int width;
    int format; // 0 aligns left; 1 right, for numbers
};

CListCtrlEx* MakeList(std::initializer_list<ColumnSpec> columns, QWidget* parent) {
    auto* list = new CListCtrlEx(parent);
    for (const ColumnSpec& column : columns)
        list->AddCol(ColSortText, column.title, column.width, column.format);
    return list;
}

void Fill(CListCtrlEx& list, const std::vector<ListRow>& rows) {
    list.SetRedraw(false);
    list.DeleteAllItems(false);
    for (const ListRow& row : rows)
        list.InsertRow(row);
    list.SetRedraw(true);
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

    // Widths that fill the window's first size without a scroll bar across; fio's six decimals fit.
    m_parameters = MakeList({{"Name", 110, 0}, {"Value", 360, 0}}, this);
    m_points = MakeList({{"Percentile", 66, 0}, {"Read", 82, 1}, {"Write", 82, 1}, {"Total", 82, 1}}, this);
    m_buckets = MakeList({{"Bucket (ms)", 100, 0}, {"I/Os (%)", 100, 1}}, this);
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
    pointBox->addWidget(m_buckets);
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
        // Red and bold through the palette and the font: the Qt built for Windows has no style sheets.
        QPalette palette = this->palette();
        if (unsteady)
            palette.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
        m_stability->setPalette(palette);
        QFont font = this->font();
        font.setBold(unsteady);
        m_stability->setFont(font);
        m_stability->setProperty("unsteady", unsteady);
    }
    m_stability->setVisible(variation.has_value());
    m_cut->setText(
        m_details.histogram.empty()
            ? QStringLiteral("The report's percentile table is cut off: the points before the cut "
                             "are shown.")
            : QStringLiteral("The report's histogram is cut off: the buckets before the cut are shown."));
    m_cut->setVisible(m_details.cut);

    std::vector<ListRow> parameters;
    for (const RunParameter& parameter : m_details.parameters)
        parameters.push_back({parameter.name, parameter.value});
    Fill(*m_parameters, parameters);

    const bool latency = HasLatencyDistribution(m_details);
    m_noLatency->setVisible(!latency);
    m_chart->setVisible(latency);
    m_points->setVisible(latency && !m_details.percentiles.empty());
    m_buckets->setVisible(latency && m_details.percentiles.empty());
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
    std::vector<ListRow> rows;
    if (!m_details.percentiles.empty()) {
        m_pointsTitle->setText(QStringLiteral("Latency percentiles (ms)"));
        // A direction the report gives no value of anywhere (fio's Total, a write-only run's Read)
        // takes no column.
        for (int d = 0; d < kLatencyDirectionCount; ++d)
            m_points->setColumnHidden(d + 1,
                                      std::none_of(m_details.percentiles.begin(), m_details.percentiles.end(),
                                                   [d](const PercentilePoint& point) {
                                                       return point.ms[static_cast<size_t>(d)].has_value();
                                                   }));
        for (const PercentilePoint* point : ShownPercentiles(m_details, m_showAll->isChecked())) {
            ListRow row{PercentileLabel(point->percentile)};
            for (const std::optional<std::string>& ms : point->ms)
                row.push_back(ms.value_or(std::string()));
            rows.push_back(std::move(row));
        }
        Fill(*m_points, rows);
        return;
    }
    m_pointsTitle->setText(QStringLiteral("Latency histogram (%1)")
                               .arg(QString::fromLatin1(LatencyDirectionName(m_details.histogramDirection))));
    for (const HistogramBucket& bucket : m_details.histogram)
        rows.push_back({bucket.label, bucket.percent});
    Fill(*m_buckets, rows);
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
