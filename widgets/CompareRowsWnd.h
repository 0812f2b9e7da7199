#pragma once

#include "compare/Comparison.h"
#include "compare/GroupedBarGeometry.h"
#include "table/ChartScroll.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QColor>
#include <QImage>
#include <QStringList>

#include <vector>

// What a view of a comparison shows: the tests (indexes into the comparison, in the order shown), the
// measure, and each compared report's name and colour. The comparison belongs to the window, which
// hands the views a new one whenever it changes.
struct CompareViewData {
    const Comparison* comparison = nullptr;
    std::vector<int> tests;
    int measure = 0;
    QStringList labels;
    std::vector<QColor> colours;

    int Reports() const { return comparison != nullptr ? comparison->ReportCount() : 0; }
};

// A view of a comparison drawn as rows of one height under a legend that stays in place: the scroll bar
// counts rows and only the rows in view are painted, so thousands of tests scroll at once. It takes
// the keyboard as the main charts do (arrows a row, Page Up/Down a page, Home/End to the ends, the
// wheel the platform's lines per notch) and offers "Copy Chart" and "Save Chart As..." for a picture of
// every row.
class CompareRowsWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CompareRowsWnd(QWidget* parent = nullptr);

    void SetView(CompareViewData data);
    const CompareViewData& View() const { return m_data; }

    RowView Rows() const;
    int FirstRow() const;
    // The rows painted by the last paint, for checks that only the rows in view are drawn.
    int LastPaintedRows() const { return m_lastPainted; }
    virtual int RowCount() const = 0;

    // The legend and every row (a PNG or a copied picture at most kPictureMaxHeight pixels high, with a
    // last line saying how many rows were left out; an SVG whole), under caption lines, on white.
    static constexpr int kPictureMaxHeight = 16000;
    QImage PictureImage(const QStringList& caption) const;
    bool SavePicture(const QString& path, const QStringList& caption, QString& error) const;
    QAction* CopyChartAction() const { return m_copyChart; }
    QAction* SaveChartAction() const { return m_saveChart; }

protected:
    // The height of a row, given the room for rows below the legend.
    virtual int RowHeight(int room) const = 0;
    // Paints one row into rect, in a picture when forPicture (black text on white).
    virtual void PaintRow(QPainter& painter, int row, const QRect& rect, bool forPicture) const = 0;
    // Told when the data or the width changed, before the next paint.
    virtual void Relayout() {}

    int LegendHeight(int width) const;
    void PaintLegend(QPainter& painter, int width, const QColor& text) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateScrollRange();
    struct PictureLayout {
        int width = 0;
        int captionHeight = 0;
        int legendHeight = 0;
        int rowHeight = 0;
        int rows = 0;
        int omitted = 0;
        int height = 0;
    };
    PictureLayout LayOutPicture(const QStringList& caption, bool limitHeight) const;
    void PaintPicture(QPainter& painter, const PictureLayout& layout, const QStringList& caption) const;

    CompareViewData m_data;
    int m_lastPainted = 0;
    ChartWheel m_wheel;
    QAction* m_copyChart = nullptr;
    QAction* m_saveChart = nullptr;
};
