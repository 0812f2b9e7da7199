#pragma once

#include <QLabel>
#include <cstdint>

// A text line with its own text and background colours (0xRRGGBB).
class MStatic : public QLabel {
    Q_OBJECT
public:
    explicit MStatic(QWidget* parent = nullptr);

    void SetText(const QString& text) { setText(text); }
    void SetTextColor(std::uint32_t rgb);
    void SetBkColor(std::uint32_t rgb);
    // Back to the window's own background.
    void ClearBkColor();
    std::uint32_t TextColor() const { return m_text; }
    std::uint32_t BkColor() const { return m_background; }

private:
    void ApplyColours();

    std::uint32_t m_text = 0x000000;
    std::uint32_t m_background = 0xF0F0F0;
    bool m_hasBackground = false;
};
