// Run Details: a double-click on a row of "Data" or on a run's bar, Ctrl+D or the context menu's "Run
// Details..." on the selected row open the window of that run. Enter is left to the dialog's Close.
#include "app/TrelvaneDlg.h"

#include "analysis/TabChartBuilder.h"
#include "app/RunDetailsDlg.h"
#include "report/ResultRow.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <charconv>

void CTrelvaneDlg::ConnectRunDetails() {
    m_runDetailsAction = new QAction(QStringLiteral("Run &Details..."), this);
    m_runDetailsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    m_runDetailsAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_runDetailsAction, &QAction::triggered, this, &CTrelvaneDlg::OnRunDetails);
    addAction(m_runDetailsAction);
    m_listData->addAction(m_runDetailsAction);
    // doubleClicked, not activated: on some platforms Enter activates, and Enter closes the dialog.
    connect(m_listData, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { ShowRunDetailsOfRow(index.row()); });
    connect(m_chart, &CChartWnd::LineDoubleClicked, this, [this](int line) {
        if (line < 0 || line >= m_chart->LineCount())
            return;
        const std::optional<int> run = RunOfDetailsBar(m_chart->Model().Line(line).text);
        if (run)
            ShowRunDetailsOfRun(*run);
    });
}

void CTrelvaneDlg::OnRunDetails() {
    const std::vector<int> selected = m_listData->SelectedRows();
    const QModelIndex current = m_listData->currentIndex();
    if (!selected.empty())
        ShowRunDetailsOfRow(current.isValid() && std::find(selected.begin(), selected.end(), current.row()) !=
                                                     selected.end()
                                ? current.row()
                                : selected.front());
}

void CTrelvaneDlg::ShowRunDetailsOfRun(int run) {
    // The run's row, wherever the sorts put it: its "#" is the run's number.
    for (int row = 0; row < m_listData->GetItemCount(); ++row) {
        const std::string_view number = m_listData->CellRef(row, kColNumber);
        int value = -1;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error == std::errc() && end == number.data() + number.size() && value == run) {
            ShowRunDetailsOfRow(row);
            return;
        }
    }
}

void CTrelvaneDlg::ShowRunDetailsOfRow(int row) {
    if (row < 0 || row >= m_listData->GetItemCount())
        return;
    const ListRow cells = m_listData->Row(row);
    int run = -1;
    const std::string& number = cells[kColNumber];
    std::from_chars(number.data(), number.data() + number.size(), run);
    RunDetails details;
    const bool found = run >= 0 && m_runDetails.Find(run, details);
    if (m_runDetailsDlg == nullptr)
        m_runDetailsDlg = new CRunDetailsDlg(*m_prompts, this);
    m_runDetailsDlg->ShowRun(cells, m_comboReports->GetCurText(), found ? &details : nullptr);
    m_runDetailsDlg->show();
    m_runDetailsDlg->raise();
    m_runDetailsDlg->activateWindow();
}
