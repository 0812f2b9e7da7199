#pragma once

#include "analysis/LatencyChart.h"

#include <QAction>
#include <QImage>
#include <QStringList>
#include <QWidget>

class QPainter;

// The latency chart of Run Details: a run's percentiles as one line per direction over a "nines" axis,
// or SQLIO's histogram as bars, with the axes, their units and a legend. The numbers and their places
// are analysis/LatencyChart's; this only draws them. Its context menu copies the picture or saves it as
// PNG or SVG, as the main window's charts do.
class LatencyChartWnd : public QWidget {
    Q_OBJECT
public:
    explicit LatencyChartWnd(QWidget* parent = nullptr);

    void SetChart(LatencyChart chart);
    const LatencyChart& Chart() const { return m_chart; }
    // Where the plot area lies in the widget, as last laid out.
    LatencyChartGeometry Geometry() const { return Layout(rect()); }

    // The picture for "Copy Chart" and "Save Chart As...": the chart under the caption lines, on white,
    // at least 640 by 400 pixels.
    QImage PictureImage(const QStringList& caption) const;
    // Writes it as SVG when the path ends in ".svg" (any case), else as PNG; the file appears whole or
    // not at all. False with the reason in error.
    bool SavePicture(const QString& path, const QStringList& caption, QString& error) const;
    QAction* CopyChartAction() const { return m_copyChart; }
    QAction* SaveChartAction() const { return m_saveChart; }

    // The colour of a direction's line and bars, as 0xRRGGBB.
    static std::uint32_t DirectionColour(LatencyDirection direction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LatencyChartGeometry Layout(const QRect& area) const;
    void Paint(QPainter& painter, const QRect& area, const QColor& text, const QColor& grid) const;
    void PaintPercentiles(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text,
                          const QColor& grid) const;
    void PaintHistogram(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text,
                        const QColor& grid) const;
    void PaintValueAxis(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text,
                        const QColor& grid) const;
    void PaintLegend(QPainter& painter, const LatencyChartGeometry& plot, const QColor& text) const;
    QSize PictureSize(const QStringList& caption) const;
    void PaintPicture(QPainter& painter, const QSize& size, const QStringList& caption) const;

    LatencyChart m_chart;
    QAction* m_copyChart = nullptr;
    QAction* m_saveChart = nullptr;
};
