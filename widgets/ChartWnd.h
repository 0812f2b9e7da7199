#pragma once

#include "table/ChartModel.h"
#include "table/ChartScroll.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QImage>
#include <QStringList>

// A horizontal bar chart: a label column, then one bar per line scaled to the chart's maximum; headers
// are bold on a tinted band across the whole width. The scroll bar counts lines and only the visible
// lines are painted, so a chart of any length scrolls at once. The label column widens for long labels
// while the bars keep room; a label still cut short shows whole as a tooltip.
class CChartWnd : public QAbstractScrollArea, public ChartSink {
    Q_OBJECT
public:
    explicit CChartWnd(QWidget* parent = nullptr);

    bool Init(const CChartWnd_Settings& settings);
    void EnableVertScrollBar(bool enable);
    void EnableTitleTips(int enable, int reserved);

    // Removes every line; Clear gives their memory back, ClearKeepingRoom keeps it for a rebuild.
    void Clear(bool redraw);
    void ClearKeepingRoom(bool redraw);
    void SetMax(double maximum) { m_model.SetMax(maximum); }
    void AddHeader(std::string_view text, int colour) override { m_model.AddHeader(text, colour); }
    void AddBarColor(std::string_view label, double length, int colour) override {
        m_model.AddBarColor(label, length, colour);
    }
    void AddFooter(std::string_view text, int colour) override { m_model.AddFooter(text, colour); }
    void SetBarColor(int line, std::string_view label, double length, int colour) override {
        m_model.SetBarColor(line, label, length, colour);
    }
    int LineCount() const override { return m_model.LineCount(); }
    void Reserve(size_t lines) override { m_model.Reserve(lines); }
    // Off: changes are not painted; on again: one repaint shows them all.
    void SetRedraw(bool on);

    // Takes the layout fields and lays the lines out.
    void ReCalc(const CChartWnd_Settings& settings);
    void ResizeScrollBars(bool redraw);
    void UpdateResize();

    const ChartModel& Model() const { return m_model; }
    ChartGeometry Geometry() const;
    int FirstVisibleLine() const;
    // The lines painted by the last paint, for checks that only the visible slice is drawn.
    int LastPaintedLineCount() const { return m_lastPainted; }

    // Pictures of the whole chart for the context menu's "Copy Chart" and "Save Chart As...": every
    // line, not only those in view, under the caption lines, on white (widgets/ChartPicture.cpp).
    // A picture holds at most kPictureMaxHeight pixels of lines; a last line says how many were left
    // out. An SVG has no such limit.
    static constexpr int kPictureMaxHeight = 16000;
    QImage PictureImage(const QStringList& caption) const;
    // Writes the picture as SVG when the path ends in ".svg" (any case), else as PNG; the file appears
    // whole or not at all. False with the reason in error.
    bool SavePicture(const QString& path, const QStringList& caption, QString& error) const;
    QAction* CopyChartAction() const { return m_copyChart; }
    QAction* SaveChartAction() const { return m_saveChart; }

signals:
    // A double-click on a line of the chart (0 is the first line).
    void LineDoubleClicked(int line);

protected:
    // Keyboard and wheel, as a list scrolls: arrows a line, Page Up/Down a page, Home/End to the ends,
    // the wheel the platform's lines per notch. Every other key (Return, Esc, Tab) goes on to the window.
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // What follows a clear: no label to make room for, the scroll range of no lines.
    void Cleared(bool redraw);
    // Paints lines first..last-1 from the y position top downwards.
    void PaintLines(QPainter& painter, const ChartGeometry& geometry, int first, int last, int top,
                    const QColor& textColour) const;
    void CreatePictureActions();
    struct PictureLayout;
    PictureLayout LayOutPicture(const QStringList& caption, bool limitHeight) const;
    void PaintPicture(QPainter& painter, const PictureLayout& layout, const QStringList& caption) const;

    QString ElidedText(const ChartLine& line, const QFont& font, int width) const;
    // Width of the text area of a line: the label column for bars and footers, the whole row for headers.
    int TextWidth(const ChartLine& line, const ChartGeometry& geometry) const;
    int MeasureWidestLabel() const;
    void ScrollToLine(int first);
    void DrawFocusCue(QPainter& painter) const;

    ChartModel m_model;
    CChartWnd_Settings m_settings;
    bool m_titleTips = false;
    int m_widestLabel = 0;
    int m_lastPainted = 0;
    QAction* m_copyChart = nullptr;
    QAction* m_saveChart = nullptr;
    ChartWheel m_wheel;
};
