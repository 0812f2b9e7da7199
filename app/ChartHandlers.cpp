// The chart of the six chart tabs: the window's side of the chart builder.
#include "app/TrelvaneDlg.h"

#include <QLocale>

#include <new>

TabChartPlan CTrelvaneDlg::PrepareTabChart(int index) {
    m_chart->ClearKeepingRoom(true); // the chart is built again at once
    TabChartPlan plan = PlanTabChart(index, ReadFilterSelection());
    m_chart->SetMax(TabChartMaximum(index, m_maxLatency));
    return plan;
}

void CTrelvaneDlg::BuildTabChart(int index, const TabChartPlan& plan) {
    m_chart->SetRedraw(false);
    // A bar per row: a huge table can need more memory than there is. The chart then stays empty and
    // says why; the table, which the chart only draws, keeps every row.
    try {
        BuildTabChartLines(*m_listData, index, plan, *m_chart);
    } catch (const std::bad_alloc&) {
        m_chart->Clear(true);
        m_chart->SetRedraw(true);
        m_prompts->Message(this,
                           QStringLiteral("Not enough memory to draw the chart of %1 rows. The table keeps "
                                          "every row; a filter draws fewer bars.")
                               .arg(QLocale().toString(m_listData->GetItemCount())),
                           QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    m_chart->SetRedraw(true);
    m_chartSettings.m_labelWidth = kTabChartLabelWidth;
    m_chart->ReCalc(m_chartSettings);
    m_chart->ResizeScrollBars(false);
    m_chart->UpdateResize();
}
