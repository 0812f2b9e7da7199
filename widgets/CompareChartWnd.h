#pragma once

#include "widgets/CompareRowsWnd.h"

// The grouped-bar chart of a comparison: one group per test, its caption, then one bar per report in
// the report's colour, scaled to the largest value shown. Each bar reads its value and, for a
// candidate, its change against the baseline in the colour of better or worse, and how many runs made
// the mean when there were several. A report without the test shows "no runs", never a bar of 0.
class CompareChartWnd : public CompareRowsWnd {
    Q_OBJECT
public:
    explicit CompareChartWnd(QWidget* parent = nullptr) : CompareRowsWnd(parent) {}

    int RowCount() const override;
    // The geometry of the bars at a width, and the value a full bar stands for.
    GroupedBarGeometry Geometry(int width) const;
    double Scale() const { return m_scale; }
    // The texts right of a bar: its value, its change ("+12.4 %", with a real minus sign) and runs.
    QString ValueText(int test, int report) const;
    QString ChangeText(int test, int report) const;

protected:
    int RowHeight(int room) const override;
    void PaintRow(QPainter& painter, int row, const QRect& rect, bool forPicture) const override;
    void Relayout() override;

private:
    double m_scale = 1.0;
    int m_labelWidth = 0; // wanted widths, before they are fitted into a width
    int m_valueWidth = 0;
};
