#pragma once

#include "compare/CurvePlot.h"
#include "widgets/CompareRowsWnd.h"

// The curves of a comparison: a row per Direction, Type and Size, with two plots side by side. On the
// left the measure against Outstanding IOs, on the right IO/sec against Avg_Latency (the latency-
// throughput curve whose knee shows where more queue depth stops paying). One line per report in its
// colour, each point marked; the axes carry their units. It works with one report as well as with eight.
class CompareCurvesWnd : public CompareRowsWnd {
    Q_OBJECT
public:
    explicit CompareCurvesWnd(QWidget* parent = nullptr) : CompareRowsWnd(parent) {}

    int RowCount() const override { return static_cast<int>(m_series.size()); }
    const std::vector<CurveSeries>& Series() const { return m_series; }
    // Where the two plots of a row lie in a row's rectangle (their axes' frames).
    QRect MeasurePlot(const QRect& row) const;
    QRect LatencyPlot(const QRect& row) const;

protected:
    int RowHeight(int room) const override;
    void PaintRow(QPainter& painter, int row, const QRect& rect, bool forPicture) const override;
    void Relayout() override;

private:
    // One plot: its title, axes with ticks and titles, then each report's curve.
    void PaintPlot(QPainter& painter, const QRect& frame, const QString& title, const PlotAxis& x,
                   const PlotAxis& y, const QString& xTitle, const QString& yTitle,
                   const std::vector<std::vector<CurvePoint>>& curves, bool forPicture) const;

    std::vector<CurveSeries> m_series;
};
