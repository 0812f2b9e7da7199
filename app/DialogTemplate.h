#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

// Control ids of the main window.
enum ControlId {
    IDOK_CLOSE = 1,
    IDCANCEL_HIDDEN = 2,
    IDC_TYPE = 1001,
    IDC_DIRECTION = 1002,
    IDC_STATUS = 1003,
    IDC_REPORTS = 1004,
    IDC_OUTSTANDING = 1005,
    IDC_SORT_DIRECTION = 1006,
    IDC_SORT_TYPE = 1007,
    IDC_SORT_SIZE = 1008,
    IDC_SORT_OUTSTANDING = 1009,
    IDC_SORT_IOS = 1010,
    IDC_SORT_MBS = 1011,
    IDC_SORT_MIN_LATENCY = 1012,
    IDC_SORT_AVG_LATENCY = 1013,
    IDC_SORT_MAX_LATENCY = 1014,
    IDC_SORT_NUMBER = 1015,
    IDC_NOTES = 1016,
    IDC_REFRESH = 1017,
    IDC_EXPORT = 1018,
    IDC_LIST_DATA = 1028,
    IDC_LIST_PARTITIONS = 1029,
    IDC_TABS = 1140,
    IDC_CHART = 1201,
    IDC_CHART_AVERAGES = 1202,
};

enum class ControlKind {
    Button,
    DefaultButton,
    Tabs,
    Combo,
    SortedCombo,
    Label,
    GroupBox,
    Chart,
    List,
    Notes
};

// One control of a window template, in dialog units.
struct ControlSpec {
    int id; // -1 for labels and group boxes
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    bool hidden;
};

// The main window (template 102): 673 x 338 dialog units, caption "Trelvane".
inline constexpr int kMainWidthDlu = 673;
inline constexpr int kMainHeightDlu = 338;
const std::vector<ControlSpec>& MainWindowTemplate();

// Dialog units to pixels for a font, as Windows converts them: x by the average character width / 4,
// y by the character height / 8.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};

// A drop-down list's template height includes its open list; the closed box is as high as Windows makes
// it for the template's font (21 pixels for 13), whatever a style would like: the boxes of a template
// stand 14 units apart, and the report list ends where the status line starts.
inline constexpr int kClosedComboHeightDlu = 13;

// Where a control of a template goes, in pixels: its template rectangle, a drop-down list closed.
QRect TemplateRect(const ControlSpec& control, const DialogUnits& units);

// The font of the window templates ("MS Shell Dlg", 8 pt, or the nearest the system has).
QFont DialogFont();
