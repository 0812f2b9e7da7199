// The chart of the six chart tabs.
#include "app/TrelvaneDlg.h"

TabChartPlan CTrelvaneDlg::PrepareTabChart(int index) {
    m_chart->Clear(true);
    TabChartPlan plan;
    plan.filters = ReadFilterSelection();
    (void)index;
    m_chart->SetMax(-1.0);
    return plan;
}

void CTrelvaneDlg::BuildTabChart(int, const TabChartPlan&) {}
