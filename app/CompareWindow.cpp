#include "app/CompareWindow.h"

#include "app/CompareMemory.h"
#include "platform/PathText.h"
#include "table/ListTsv.h"
#include "widgets/CompareChartWnd.h"
#include "widgets/CompareCurvesWnd.h"
#include "widgets/ListCtrlEx.h"
#include "widgets/Prompts.h"
#include "widgets/Text.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace {

const QString kAll = QStringLiteral("<All>");
const char* const kKeyPartTitles[kTestKeyPartCount] = {"Direction", "Type", "Size", "Outstanding"};

QColor ReportColour(int colour) {
    return QColor(QRgb(CompareReportColour(colour)));
}

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QString Plural(long long count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

// A name fit for a file: no folder separators.
QString FileNamePart(QString text) {
    text.replace(QLatin1Char('/'), QLatin1Char('-'));
    text.replace(QLatin1Char('\\'), QLatin1Char('-'));
    return text;
}

} // namespace

bool ReadComparedReports(QWidget*, ReportSet& set) {
    bool waiting = false;
    for (int entry = 0; entry < set.Count(); ++entry) {
        if (set.Report(entry) != nullptr)
            continue;
        if (!waiting) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            waiting = true;
        }
        set.SetReport(entry, LoadComparedReport(set.Path(entry)));
    }
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return true;
}

CompareWindow::CompareWindow(CompareWindowHost host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(std::move(host)) {
    setWindowTitle(QStringLiteral("Compare Reports"));
    setAcceptDrops(true);
    CreateControls();
    resize(1200, 820);
}

CompareWindow::~CompareWindow() = default;

void CompareWindow::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    QAction* add = file->addAction(QStringLiteral("&Add Reports..."), this, &CompareWindow::OnAddReports);
    add->setShortcut(QKeySequence::Open);
    QAction* exportTable =
        file->addAction(QStringLiteral("&Export Table as CSV..."), this, &CompareWindow::OnExport);
    exportTable->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    close->setShortcut(QKeySequence::Close);
    layout->setMenuBar(menuBar);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(CreateReportPanel());
    auto* right = new QWidget(split);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(CreateChoices());
    // A line per candidate: with seven of them the lines scroll rather than squeeze the chart.
    auto* summaryArea = new QScrollArea(right);
    summaryArea->setFrameShape(QFrame::NoFrame);
    summaryArea->setWidgetResizable(true);
    summaryArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_summary = new QLabel(summaryArea);
    m_summary->setWordWrap(true);
    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summaryArea->setWidget(m_summary);
    summaryArea->setMaximumHeight(m_summary->fontMetrics().lineSpacing() * 4 + 2);
    rightLayout->addWidget(summaryArea);

    auto* views = new QSplitter(Qt::Vertical, right);
    auto* chartPanel = new QWidget(views);
    auto* chartLayout = new QVBoxLayout(chartPanel);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);
    m_views = new QTabBar(chartPanel);
    m_views->addTab(QStringLiteral("Chart"));
    m_views->addTab(QStringLiteral("Curves"));
    m_views->setDrawBase(false);
    chartLayout->addWidget(m_views);
    m_viewStack = new QStackedWidget(chartPanel);
    m_chart = new CompareChartWnd(m_viewStack);
    m_curves = new CompareCurvesWnd(m_viewStack);
    m_viewStack->addWidget(m_chart);
    m_viewStack->addWidget(m_curves);
    chartLayout->addWidget(m_viewStack, 1);
    connect(m_views, &QTabBar::currentChanged, this, &CompareWindow::ShowView);
    for (CompareRowsWnd* view :
         {static_cast<CompareRowsWnd*>(m_chart), static_cast<CompareRowsWnd*>(m_curves)}) {
        connect(view->CopyChartAction(), &QAction::triggered, this, &CompareWindow::OnCopyChart);
        connect(view->SaveChartAction(), &QAction::triggered, this, &CompareWindow::OnSaveChartAs);
    }

    auto* tablePanel = new QWidget(views);
    auto* tableLayout = new QVBoxLayout(tablePanel);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    m_table = new CListCtrlEx(tablePanel);
    m_table->horizontalHeader()->setSectionsClickable(false);
    tableLayout->addWidget(m_table, 1);
    auto* tableButtons = new QHBoxLayout;
    m_status = new QLabel(tablePanel);
    tableButtons->addWidget(m_status, 1);
    auto* copy = new QPushButton(QStringLiteral("Copy Table"), tablePanel);
    auto* exportButton = new QPushButton(QStringLiteral("Export as CSV..."), tablePanel);
    connect(copy, &QPushButton::clicked, this, &CompareWindow::OnCopyTable);
    connect(exportButton, &QPushButton::clicked, this, &CompareWindow::OnExport);
    tableButtons->addWidget(copy);
    tableButtons->addWidget(exportButton);
    tableLayout->addLayout(tableButtons);
    views->addWidget(chartPanel);
    views->addWidget(tablePanel);
    views->setStretchFactor(0, 3);
    views->setStretchFactor(1, 2);
    rightLayout->addWidget(views, 1);

    split->addWidget(right);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 900});
    layout->addWidget(split, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    bottom->addWidget(closeButton);
    layout->addLayout(bottom);
}

QWidget* CompareWindow::CreateReportPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Reports (the first is the baseline):"), panel));
    // A view over a model of its own: the Qt built for Windows has no item widgets.
    m_list = new QListView(panel);
    m_listModel = new QStandardItemModel(m_list);
    m_list->setModel(m_listModel);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setWordWrap(true);
    layout->addWidget(m_list, 1);
    auto* buttons = new QGridLayout;
    auto* add = new QPushButton(QStringLiteral("Add..."), panel);
    auto* fromList = new QPushButton(QStringLiteral("From Report List"), panel);
    m_reportListMenu = new QMenu(fromList);
    fromList->setMenu(m_reportListMenu);
    connect(m_reportListMenu, &QMenu::aboutToShow, this, &CompareWindow::FillReportListMenu);
    m_remove = new QPushButton(QStringLiteral("Remove"), panel);
    m_up = new QPushButton(QStringLiteral("Move Up"), panel);
    m_down = new QPushButton(QStringLiteral("Move Down"), panel);
    m_baseline = new QPushButton(QStringLiteral("Set as Baseline"), panel);
    buttons->addWidget(add, 0, 0);
    buttons->addWidget(fromList, 0, 1);
    buttons->addWidget(m_up, 1, 0);
    buttons->addWidget(m_down, 1, 1);
    buttons->addWidget(m_remove, 2, 0);
    buttons->addWidget(m_baseline, 2, 1);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &CompareWindow::OnAddReports);
    connect(m_remove, &QPushButton::clicked, this, &CompareWindow::OnRemove);
    connect(m_up, &QPushButton::clicked, this, &CompareWindow::OnMoveUp);
    connect(m_down, &QPushButton::clicked, this, &CompareWindow::OnMoveDown);
    connect(m_baseline, &QPushButton::clicked, this, &CompareWindow::OnSetBaseline);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CompareWindow::UpdateButtons);
    UpdateButtons();
    // The list's own keys: Delete removes, Ctrl+Up and Ctrl+Down move.
    const auto listKey = [this](QKeySequence key, void (CompareWindow::*handler)()) {
        auto* action = new QAction(m_list);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, handler);
        m_list->addAction(action);
    };
    listKey(QKeySequence::Delete, &CompareWindow::OnRemove);
    listKey(QKeySequence(Qt::CTRL | Qt::Key_Up), &CompareWindow::OnMoveUp);
    listKey(QKeySequence(Qt::CTRL | Qt::Key_Down), &CompareWindow::OnMoveDown);
    return panel;
}

QWidget* CompareWindow::CreateChoices() {
    // Two lines, so the window still fits a small screen: what is shown, then the filters.
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* shown = new QHBoxLayout;
    shown->addWidget(new QLabel(QStringLiteral("Measure:"), panel));
    m_measureList = new QComboBox(panel);
    for (const CompareMeasure& measure : kCompareMeasures)
        m_measureList->addItem(QString::fromLatin1(measure.title));
    connect(m_measureList, qOverload<int>(&QComboBox::activated), this, &CompareWindow::SetMeasure);
    shown->addWidget(m_measureList);
    shown->addSpacing(12);
    shown->addWidget(new QLabel(QStringLiteral("Order:"), panel));
    m_orderList = new QComboBox(panel);
    m_orderList->addItem(QStringLiteral("By test"));
    m_orderList->addItem(QStringLiteral("By largest change"));
    connect(m_orderList, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        SetOrder(index == 1 ? CompareOrder::ByLargestChange : CompareOrder::ByTest);
    });
    shown->addWidget(m_orderList);
    shown->addStretch(1);
    layout->addLayout(shown);
    auto* filters = new QHBoxLayout;
    for (int part = 0; part < kTestKeyPartCount; ++part) {
        if (part > 0)
            filters->addSpacing(12);
        filters->addWidget(new QLabel(QString::fromLatin1(kKeyPartTitles[part]) + QLatin1Char(':'), panel));
        QComboBox* list = new QComboBox(panel);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        list->setMinimumContentsLength(6);
        list->addItem(kAll);
        connect(list, qOverload<int>(&QComboBox::activated), this, [this, part, list](int index) {
            SetFilter(static_cast<TestKeyPart>(part), index <= 0 ? QString() : list->itemText(index));
        });
        m_filterLists[static_cast<size_t>(part)] = list;
        filters->addWidget(list);
    }
    filters->addStretch(1);
    layout->addLayout(filters);
    return panel;
}

void CompareWindow::Restore() {
    m_restoring = true;
    const RememberedComparison remembered =
        ReadCompareMemory(m_host.readStore ? m_host.readStore() : StoredValues(), kMaxReports);
    for (int measure = 0; measure < kCompareMeasureCount; ++measure)
        if (remembered.measure == QString::fromLatin1(kCompareMeasures[measure].title))
            m_measure = measure;
    m_measureList->setCurrentIndex(m_measure);
    QStringList reports = remembered.reports;
    // A first comparison starts with the report the main window shows: its curves at once.
    if (reports.isEmpty() && m_host.currentReport && !m_host.currentReport().isEmpty())
        reports.append(m_host.currentReport());
    m_views->setCurrentIndex(remembered.view);
    AddReports(reports);
    m_restoring = false;
    if (m_set.Count() == 0)
        SetChanged();
}

void CompareWindow::AddReports(const QStringList& paths) {
    std::vector<std::string> bytes;
    for (const QString& path : paths)
        if (!path.isEmpty())
            bytes.push_back(PathBytes(QDir::toNativeSeparators(path)));
    const ReportSet::Added added = m_set.Add(bytes);
    if (added.overLimit > 0)
        SetStatus(QStringLiteral("A comparison holds at most %1 reports: %2 left out.")
                      .arg(kMaxReports)
                      .arg(Plural(added.overLimit, "report was", "reports were")));
    else if (added.duplicates > 0)
        SetStatus(QStringLiteral("%1 already in the comparison.")
                      .arg(Plural(added.duplicates, "report is", "reports are")));
    if (added.entries.empty())
        return;
    SetChanged();
    SelectReport(added.entries.back());
}

void CompareWindow::OnAddReports() {
    AddReports(m_host.prompts->OpenFiles(this, QStringLiteral("Compare Reports"),
                                         QStringLiteral("Reports (*.txt *.xml *.json);;All files (*)")));
}

void CompareWindow::FillReportListMenu() {
    m_reportListMenu->clear();
    const QStringList reports = m_host.reportList ? m_host.reportList() : QStringList();
    for (const QString& path : reports) {
        QAction* action = m_reportListMenu->addAction(path);
        connect(action, &QAction::triggered, this, [this, path] { AddReports({path}); });
    }
    if (reports.isEmpty())
        m_reportListMenu->addAction(QStringLiteral("The report list is empty"))->setEnabled(false);
}

int CompareWindow::SelectedReport() const {
    return m_list->currentIndex().row();
}

void CompareWindow::SelectReport(int index) {
    m_list->setCurrentIndex(m_listModel->index(index, 0));
}

QString CompareWindow::ReportListText(int index) const {
    return m_listModel->index(index, 0).data().toString();
}

void CompareWindow::OnRemove() {
    const int index = SelectedReport();
    if (index < 0)
        return;
    m_set.Remove(index);
    SetChanged();
    SelectReport(std::min(index, m_set.Count() - 1));
}

void CompareWindow::OnMoveUp() {
    const int index = SelectedReport();
    if (index <= 0)
        return;
    m_set.Move(index, index - 1);
    SetChanged();
    SelectReport(index - 1);
}

void CompareWindow::OnMoveDown() {
    const int index = SelectedReport();
    if (index < 0 || index + 1 >= m_set.Count())
        return;
    m_set.Move(index, index + 1);
    SetChanged();
    SelectReport(index + 1);
}

void CompareWindow::OnSetBaseline() {
    const int index = SelectedReport();
    if (index <= 0)
        return;
    m_set.SetBaseline(index);
    SetChanged();
    SelectReport(0);
}

void CompareWindow::SetMeasure(int measure) {
    if (measure < 0 || measure >= kCompareMeasureCount)
        return;
    m_measure = measure;
    m_measureList->setCurrentIndex(measure);
    Refresh();
    Remember();
}

void CompareWindow::SetOrder(CompareOrder order) {
    m_order = order;
    m_orderList->setCurrentIndex(order == CompareOrder::ByLargestChange ? 1 : 0);
    Refresh();
}

void CompareWindow::SetFilter(TestKeyPart part, const QString& value) {
    m_filters.values[static_cast<size_t>(part)] = ToBytes(value);
    QComboBox* list = FilterList(part);
    const int index = value.isEmpty() ? 0 : list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentIndex(std::max(0, index));
    Refresh();
}

void CompareWindow::ShowView(int view) {
    view = view == 1 ? 1 : 0;
    if (m_views->currentIndex() != view)
        m_views->setCurrentIndex(view); // comes back here
    m_viewStack->setCurrentIndex(view);
    Remember();
}

CompareRowsWnd* CompareWindow::ShownView() const {
    return m_viewStack->currentIndex() == 1 ? static_cast<CompareRowsWnd*>(m_curves) : m_chart;
}

void CompareWindow::UpdateButtons() {
    const int row = SelectedReport();
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_set.Count());
    m_baseline->setEnabled(row > 0);
}

void CompareWindow::SetChanged() {
    // The views read the comparison until it is made again below. Reading may let them paint (a progress
    // window), which is safe: reading only adds entries, and a move or a removal reads nothing.
    try {
        ReadNewReports();
        Recompare();
        RefillFilterLists();
        RefreshReportList();
        ShowComparison();
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
    Remember();
}

void CompareWindow::Refresh() {
    try {
        ShowComparison();
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    }
}

void CompareWindow::OutOfMemory() {
    // What was built so far goes, so there is memory again to say so; the list of reports stays.
    m_comparison = Comparison();
    m_compared.clear();
    m_chart->SetView({});
    m_curves->SetView({});
    m_table->DeleteAllColumns();
    m_summary->setText(QStringLiteral("Not enough memory to compare these reports."));
    SetStatus(m_summary->text());
}

void CompareWindow::ReadNewReports() {
    if (!ReadComparedReports(this, m_set)) {
        // Cancelled: the reports not read leave the comparison, so what it shows was all read.
        for (int entry = m_set.Count() - 1; entry >= 0; --entry)
            if (m_set.Report(entry) == nullptr)
                m_set.Remove(entry);
    }
}

void CompareWindow::Recompare() {
    m_names = m_set.Labels();
    m_compared = m_set.Compared();
    m_comparison = m_set.Compare();
}

void CompareWindow::RefillFilterLists() {
    for (int part = 0; part < kTestKeyPartCount; ++part) {
        QComboBox* list = m_filterLists[static_cast<size_t>(part)];
        std::string& value = m_filters.values[static_cast<size_t>(part)];
        list->clear();
        list->addItem(kAll);
        bool kept = false;
        for (const std::string& text : KeyPartValues(m_comparison, static_cast<TestKeyPart>(part))) {
            if (text.empty())
                continue;
            list->addItem(FromBytes(text));
            if (text == value) {
                kept = true;
                list->setCurrentIndex(list->count() - 1);
            }
        }
        // A value no report holds any more is no filter.
        if (!kept) {
            value.clear();
            list->setCurrentIndex(0);
        }
    }
}

void CompareWindow::RefreshReportList() {
    const int selected = SelectedReport();
    m_listModel->clear();
    const int baseline = m_compared.empty() ? -1 : m_compared.front();
    for (int entry = 0; entry < m_set.Count(); ++entry) {
        const ComparedReport* report = m_set.Report(entry);
        QString text =
            QStringLiteral("%1. %2").arg(entry + 1).arg(PathText(m_names[static_cast<size_t>(entry)]));
        bool trouble = false;
        if (report == nullptr) {
            text += QStringLiteral(": not read");
            trouble = true;
        } else if (report->status == ReportLoadStatus::CannotOpen) {
            text += QStringLiteral(": cannot be opened: ") + FromBytes(report->problem);
            trouble = true;
        } else if (report->status == ReportLoadStatus::OutOfMemory) {
            text += QStringLiteral(": not enough memory to read it");
            trouble = true;
        } else {
            QStringList facts;
            if (entry == baseline)
                facts.append(entry == 0 ? QStringLiteral("baseline")
                                        : QStringLiteral("baseline in place of the first"));
            facts.append(Plural(report->tests.Runs(), "run", "runs"));
            if (report->tests.ErrorRows() > 0)
                facts.append(Plural(report->tests.ErrorRows(), "error row", "error rows"));
            text += QStringLiteral(" (") + facts.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        auto* item = new QStandardItem(Swatch(ReportColour(m_set.Colour(entry))), text);
        item->setToolTip(QDir::toNativeSeparators(PathText(m_set.Path(entry))));
        if (trouble)
            item->setForeground(QColor(QRgb(kWorseColour)));
        m_listModel->appendRow(item);
    }
    SelectReport(std::min(selected, m_set.Count() - 1));
}

void CompareWindow::ShowComparison() {
    CompareViewData data;
    data.comparison = &m_comparison;
    data.measure = m_measure;
    for (const int entry : m_compared) {
        data.labels.append(PathText(m_names[static_cast<size_t>(entry)]));
        data.colours.push_back(ReportColour(m_set.Colour(entry)));
    }
    // The curves follow the queue depths, so they keep the order of the tests whatever the chart's order.
    CompareViewData curves = data;
    data.tests = ShownTests(m_comparison, m_filters, m_order, m_measure);
    curves.tests = ShownTests(m_comparison, m_filters, CompareOrder::ByTest, m_measure);
    std::vector<std::string> labels;
    for (const int entry : m_compared)
        labels.push_back(m_names[static_cast<size_t>(entry)]);
    m_table->SetRedraw(false);
    FillComparisonTable(*m_table, m_comparison, labels, data.tests, {m_measure});
    m_table->SetRedraw(true);
    // Every title reads whole: the report names in them are what tells the columns apart.
    const QFontMetrics header(m_table->horizontalHeader()->font());
    for (int column = 0; column < m_table->GetColumnCount(); ++column)
        m_table->setColumnWidth(
            column, std::max(m_table->Column(column).width,
                             header.horizontalAdvance(FromBytes(m_table->Column(column).title)) + 24));
    m_chart->SetView(std::move(data));
    m_curves->SetView(std::move(curves));

    QStringList lines;
    if (m_compared.empty()) {
        lines.append(m_set.Count() == 0 ? QStringLiteral("Add reports to compare: the first is the baseline.")
                                        : QStringLiteral("None of the reports could be read."));
    } else if (m_compared.size() == 1) {
        lines.append(QStringLiteral("%1 alone: its means and its curves. Add a report to compare it with.")
                         .arg(PathText(labels.front())));
    } else {
        lines.append(QStringLiteral("Against the baseline %1:").arg(PathText(labels.front())));
        for (int report = 1; report < m_comparison.ReportCount(); ++report)
            lines.append(
                PathText(SummaryText(labels[static_cast<size_t>(report)], m_comparison.Summary(report))));
    }
    m_summary->setText(lines.join(QLatin1Char('\n')));
}

QString CompareWindow::Summary() const {
    return m_summary->text();
}

QString CompareWindow::Status() const {
    return m_status->text();
}

void CompareWindow::SetStatus(const QString& text) {
    m_status->setText(text);
}

void CompareWindow::Remember() {
    if (m_restoring || !m_host.saveGroup)
        return;
    RememberedComparison remembered;
    for (int entry = 0; entry < m_set.Count(); ++entry)
        remembered.reports.append(PathText(m_set.Path(entry)));
    remembered.measure = QString::fromLatin1(kCompareMeasures[m_measure].title);
    remembered.view = m_viewStack->currentIndex();
    m_host.saveGroup(CompareMemoryValues(remembered));
}

void CompareWindow::OnCopyTable() {
    std::vector<int> rows(static_cast<size_t>(m_table->GetItemCount()));
    for (int row = 0; row < m_table->GetItemCount(); ++row)
        rows[static_cast<size_t>(row)] = row;
    QApplication::clipboard()->setText(FromBytes(ListRowsTsv(*m_table, rows)));
}

void CompareWindow::OnExport() {
    const QString measure = FileNamePart(QString::fromLatin1(kCompareMeasures[m_measure].title));
    const QString folder =
        m_set.Count() > 0 ? QFileInfo(PathText(m_set.Path(0))).absolutePath() : QDir::currentPath();
    const QString path = m_host.prompts->SaveFile(
        this, QStringLiteral("Export Comparison"), QStringLiteral("CSV file (*.csv)"),
        QDir(folder).filePath(QStringLiteral("Comparison - ") + measure + QStringLiteral(".csv")));
    if (path.isEmpty())
        return;
    const QFileInfo target(path);
    m_table->m_exportFolder = PathBytes(target.absolutePath());
    m_table->m_exportFileName = PathBytes(target.fileName());
    if (!m_table->ProcessContextMenu(CListBase::kListExportCsv)) {
        m_host.prompts->Message(this, FromBytes(m_table->ExportError()), QMessageBox::Ok,
                                QMessageBox::Warning);
        return;
    }
    SetStatus(QStringLiteral("The table was exported to %1").arg(QDir::toNativeSeparators(path)));
}

QStringList CompareWindow::PictureCaption() const {
    const QString measure = QString::fromLatin1(kCompareMeasures[m_measure].title);
    const QString title = m_viewStack->currentIndex() == 1
                              ? QStringLiteral("Curves: %1, and IO/sec against Avg_Latency").arg(measure)
                              : QStringLiteral("Compare Reports: %1").arg(measure);
    const QString baseline = m_compared.empty() ? QStringLiteral("none")
                                                : PathText(m_names[static_cast<size_t>(m_compared.front())]);
    QStringList filters;
    for (int part = 0; part < kTestKeyPartCount; ++part) {
        const std::string& value = m_filters.values[static_cast<size_t>(part)];
        filters.append(QString::fromLatin1(kKeyPartTitles[part]) + QLatin1Char(' ') +
                       (value.empty() ? kAll : FromBytes(value)));
    }
    return {title, QStringLiteral("Baseline: ") + baseline,
            QStringLiteral("Filter: ") + filters.join(QStringLiteral(", "))};
}

void CompareWindow::OnCopyChart() {
    QApplication::clipboard()->setImage(ShownView()->PictureImage(PictureCaption()));
}

void CompareWindow::OnSaveChartAs() {
    const QStringList caption = PictureCaption();
    const QString folder =
        m_set.Count() > 0 ? QFileInfo(PathText(m_set.Path(0))).absolutePath() : QDir::currentPath();
    const QString name =
        (m_viewStack->currentIndex() == 1 ? QStringLiteral("Curves - ") : QStringLiteral("Comparison - ")) +
        FileNamePart(QString::fromLatin1(kCompareMeasures[m_measure].title));
    const QString path = m_host.prompts->SaveFile(this, QStringLiteral("Save Chart As"),
                                                  QStringLiteral("PNG image (*.png);;SVG image (*.svg)"),
                                                  QDir(folder).filePath(name + QStringLiteral(".png")));
    if (path.isEmpty())
        return;
    QString error;
    if (!ShownView()->SavePicture(path, caption, error))
        m_host.prompts->Message(this, error, QMessageBox::Ok, QMessageBox::Warning);
}

void CompareWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data != nullptr && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void CompareWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first: the file manager that sent it waits until it does.
    QTimer::singleShot(0, this, [this, paths] { AddReports(paths); });
}
