#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

// Where the parts of a group box go inside its rectangle, drawn the way Windows draws one: the title
// at the top left, an etched frame (a shadow line with a light line beside it) whose top runs through
// the middle of the title, broken where the title stands. The box's rectangle is the template's, so
// the controls the template places inside it stay clear of every line.
struct GroupFrameLayout {
    QRect title;                    // the title text
    std::vector<QRect> shadowLines; // one pixel wide or high; painted over the light lines
    std::vector<QRect> lightLines;

    // size: the box; titleWidth, textHeight: the title's advance and the font's line height.
    static GroupFrameLayout For(QSize size, int titleWidth, int textHeight);
    // Every line and the title: what no other control may touch.
    std::vector<QRect> Occupied() const;
};

// A group box: a frame with a title that sits behind the controls it frames and takes no input.
class MGroupBox : public QWidget {
    Q_OBJECT
public:
    MGroupBox(const QString& title, QWidget* parent = nullptr);

    QString Title() const { return m_title; }
    // The frame's parts in the box's own coordinates, for its current size and font.
    GroupFrameLayout Layout() const;
    QColor ShadowColour() const;
    QColor LightColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
};
