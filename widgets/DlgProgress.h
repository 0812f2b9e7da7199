#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QPushButton;

// A small window that tells the user what a long, blocking operation is doing: a heading line and a
// step line, painted at once while the operation keeps the event loop busy, and where the operation can
// be stopped, a bar of the work done and a Cancel button. It lives as long as the object.
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
    // Sets the line of a kind (kHeading, kStep, kDetail) and paints it. False once the user cancelled.
    bool Display(int kind, const QString& text);
    // Before Init5: a bar of the work done below the lines and a "Cancel" button below it. The window
    // then takes the keyboard when shown, so Esc and Enter press the button too.
    void EnableCancel();
    // The part of the bar filled: done of total (nothing when total is 0). Painted by the next Display.
    void SetProgress(unsigned long long done, unsigned long long total);
    bool Cancelled() const { return m_cancelled; }
    QPushButton* CancelButton() const { return m_cancel; }

    QString Text(int kind) const;
    // How many times the window painted itself; tests tell from it that the user saw each step.
    int PaintCount() const { return m_paints; }

protected:
    void paintEvent(QPaintEvent* event) override;

    void keyPressEvent(QKeyEvent* event) override;

private:
    int LineHeight() const;
    QRect BarRect() const;

    std::array<QString, 3> m_lines;
    std::array<std::uint32_t, 5> m_colours{0xFFFFFF, 0xFFFFFF, 0xF6F6F6, 0x000000, 0x000000};
    bool m_byLatency = false;
    bool m_waitCursor = false;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
    double m_done = 0.0; // the part of the bar filled, 0 to 1
    int m_paints = 0;
    QElapsedTimer m_sinceRepaint;
};
