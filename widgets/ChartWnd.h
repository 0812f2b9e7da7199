#pragma once

#include "widgets/ChartModel.h"

#include <QAbstractScrollArea>

// A horizontal bar chart: a label column, then one bar per line scaled to the chart's maximum. The
// scroll bar counts lines and only the visible lines are painted, so a chart of any length scrolls at
// once. A label cut short shows whole as a tooltip.
class CChartWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CChartWnd(QWidget* parent = nullptr);

    bool Init(const CChartWnd_Settings& settings);
    void EnableVertScrollBar(bool enable);
    void EnableTitleTips(int enable, int reserved);

    void Clear(bool redraw);
    void SetMax(double maximum) { m_model.SetMax(maximum); }
    void AddHeader(const std::string& text, int colour) { m_model.AddHeader(text, colour); }
    void AddBarColor(const std::string& label, long long length, int colour) {
        m_model.AddBarColor(label, length, colour);
    }
    void AddFooter(const std::string& text, int colour) { m_model.AddFooter(text, colour); }

    // Takes the layout fields and lays the lines out.
    void ReCalc(const CChartWnd_Settings& settings);
    void ResizeScrollBars(bool redraw);
    void UpdateResize();

    const ChartModel& Model() const { return m_model; }
    ChartGeometry Geometry() const;
    int FirstVisibleLine() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QString ElidedLabel(const ChartLine& line, int width) const;

    ChartModel m_model;
    CChartWnd_Settings m_settings;
    bool m_titleTips = false;
};
