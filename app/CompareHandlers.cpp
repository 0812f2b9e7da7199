// File > Compare Reports...: the main window's side of the "Compare Reports" window.
#include "app/TrelvaneDlg.h"

#include "app/CompareWindow.h"
#include "widgets/StoreSchema.h"
#include "widgets/WindowPlacement.h"

#include <QScreen>

void CTrelvaneDlg::OnCompareReports() {
    if (m_compareWindow == nullptr) {
        CompareWindowHost host;
        host.prompts = m_prompts.get();
        // The comparison is kept beside the report list and under its rules.
        host.readStore = [this] { return m_comboReports->ValuesNow(); };
        host.saveGroup = [this](const StoredValues& group) {
            return m_comboReports->SaveGroup(kCompareGroup, group);
        };
        host.reportList = [this] {
            QStringList entries;
            for (int i = 0; i < m_comboReports->GetCount(); ++i)
                entries.append(m_comboReports->GetLBText(i));
            return entries;
        };
        host.currentReport = [this] { return m_comboReports->GetCurText(); };
        // A child of the main window, so the main window's modal loop lets it take input.
        m_compareWindow = new CompareWindow(std::move(host), this);
        m_compareWindow->setWindowIcon(m_hIcon);
        m_compareWindow->Restore();
        // First over the main window, inside the screen it is on.
        QRect place(QPoint(), m_compareWindow->size());
        place.moveCenter(frameGeometry().center());
        if (screen() != nullptr)
            place = FitRectInside(place, screen()->availableGeometry());
        m_compareWindow->setGeometry(place);
    }
    m_compareWindow->show();
    m_compareWindow->raise();
    m_compareWindow->activateWindow();
}
