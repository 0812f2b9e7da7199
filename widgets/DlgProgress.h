#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

// A small window that tells the user what a long, blocking operation is doing: a heading line and a
// step line, painted at once while the operation keeps the event loop busy. It lives as long as the
// object.
class CDlgProgress : public QWidget {
    Q_OBJECT
public:
    enum Kind { kStep = 0, kDetail = 1, kHeading = 2 };

    explicit CDlgProgress(QWidget* owner = nullptr);
    ~CDlgProgress() override;

    // Colours as Windows colour values (0x00BBGGRR): heading background, body background, frame,
    // heading text, step text.
    void PreInit(std::uint32_t headingBack, std::uint32_t bodyBack, std::uint32_t frame,
                 std::uint32_t headingText, std::uint32_t stepText);
    // Width in pixels, modal (input to the other windows is blocked), font size in points, kept above
    // other windows, centred over the owner, a wait cursor while the window lives. Shows the window.
    void Init5(int width, bool modal, int fontPoints, bool topMost, bool centred, bool waitCursor);
    // true: repaint at most every 100 ms; false: every Display paints at once.
    void DisplayByLatency(bool byLatency);
    // Sets the line of a kind (kHeading, kStep, kDetail) and paints it. Always true: the operation
    // cannot be cancelled.
    bool Display(int kind, const QString& text);

    QString Text(int kind) const;
    // How many times the window painted itself; tests tell from it that the user saw each step.
    int PaintCount() const { return m_paints; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int LineHeight() const;

    std::array<QString, 3> m_lines;
    std::array<std::uint32_t, 5> m_colours{0xFFFFFF, 0xFFFFFF, 0xF6F6F6, 0x000000, 0x000000};
    bool m_byLatency = false;
    bool m_waitCursor = false;
    int m_paints = 0;
    QElapsedTimer m_sinceRepaint;
};
