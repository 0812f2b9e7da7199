#include "app/DialogTemplate.h"

#include <QFontMetrics>

const std::vector<ControlSpec>& MainWindowTemplate() {
    using K = ControlKind;
    static const std::vector<ControlSpec> controls = {
        {IDOK_CLOSE, K::DefaultButton, "Close", 618, 315, 52, 20, false},
        {IDCANCEL_HIDDEN, K::Button, "Cancel", 13, 324, 50, 14, true},
        {IDC_TABS, K::Tabs, "", 8, 110, 662, 14, false},
        {IDC_TYPE, K::SortedCombo, "", 106, 52, 50, 30, false},
        {-1, K::Label, "Type", 60, 54, 43, 8, false},
        {IDC_DIRECTION, K::SortedCombo, "", 106, 38, 50, 30, false},
        {-1, K::Label, "Direction", 60, 40, 43, 8, false},
        {IDC_CHART, K::Chart, "", 8, 123, 662, 188, false},
        {IDC_CHART_AVERAGES, K::Chart, "", 305, 2, 365, 106, false},
        {IDC_LIST_DATA, K::List, "", 8, 123, 662, 187, false},
        {IDC_STATUS, K::Label, "", 2, 14, 297, 8, false},
        {IDC_REPORTS, K::SortedCombo, "", 0, 1, 304, 30, false},
        {IDC_OUTSTANDING, K::Combo, "", 106, 66, 50, 30, false},
        {-1, K::Label, "Outstanding", 60, 68, 43, 8, false},
        {-1, K::GroupBox, "Filter", 53, 29, 107, 65, false},
        {-1, K::GroupBox, "Sort", 171, 29, 125, 67, false},
        {IDC_SORT_DIRECTION, K::Button, "Direction", 215, 39, 38, 13, false},
        {IDC_SORT_TYPE, K::Button, "Type", 254, 39, 38, 13, false},
        {IDC_SORT_SIZE, K::Button, "Size", 176, 81, 38, 13, false},
        {IDC_SORT_OUTSTANDING, K::Button, "Outstand", 176, 53, 38, 13, false},
        {IDC_SORT_IOS, K::Button, "IO/sec", 215, 53, 38, 13, false},
        {IDC_SORT_MBS, K::Button, "Mb/Sec", 254, 53, 38, 13, false},
        {IDC_SORT_MIN_LATENCY, K::Button, "Min_Lat", 176, 67, 38, 13, false},
        {IDC_SORT_AVG_LATENCY, K::Button, "Avg_Lat", 215, 67, 38, 13, false},
        {IDC_SORT_MAX_LATENCY, K::Button, "Max_Lat", 254, 67, 38, 13, false},
        {IDC_SORT_NUMBER, K::Button, "#", 176, 40, 38, 13, false},
        {IDC_LIST_PARTITIONS, K::List, "", 8, 123, 662, 95, false},
        {IDC_NOTES, K::Notes, "", 51, 219, 619, 91, false},
        {IDC_REFRESH, K::Button, "Refresh", 10, 229, 38, 20, true},
        {IDC_EXPORT, K::Button, "Export", 7, 31, 36, 59, false},
    };
    return controls;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (alphabet / 26 + 1) / 2;
    m_baseY = metrics.height();
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(x * m_baseX / 4, y * m_baseY / 8, width * m_baseX / 4, height * m_baseY / 8);
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(width * m_baseX / 4, height * m_baseY / 8);
}

QRect TemplateRect(const ControlSpec& control, const DialogUnits& units) {
    const bool combo = control.kind == ControlKind::Combo || control.kind == ControlKind::SortedCombo;
    return units.ToPixels(control.x, control.y, control.width,
                          combo ? kClosedComboHeightDlu : control.height);
}

QFont DialogFont() {
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
