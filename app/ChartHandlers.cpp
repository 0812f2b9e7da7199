// The chart of the six chart tabs: the window's side of the chart builder.
#include "app/TrelvaneDlg.h"

TabChartPlan CTrelvaneDlg::PrepareTabChart(int index) {
    m_chart->ClearKeepingRoom(true); // the chart is built again at once
    TabChartPlan plan = PlanTabChart(index, ReadFilterSelection());
    m_chart->SetMax(TabChartMaximum(index, m_maxLatency));
    return plan;
}

void CTrelvaneDlg::BuildTabChart(int index, const TabChartPlan& plan) {
    m_chart->SetRedraw(false);
    BuildTabChartLines(*m_listData, index, plan, *m_chart);
    m_chart->SetRedraw(true);
    m_chartSettings.m_labelWidth = kTabChartLabelWidth;
    m_chart->ReCalc(m_chartSettings);
    m_chart->ResizeScrollBars(false);
    m_chart->UpdateResize();
}
