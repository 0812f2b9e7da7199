#include "widgets/MStatic.h"

MStatic::MStatic(QWidget* parent) : QLabel(parent) {}

void MStatic::SetTextColor(std::uint32_t rgb) {
    m_text = rgb;
    ApplyColours();
}

void MStatic::SetBkColor(std::uint32_t rgb) {
    m_background = rgb;
    m_hasBackground = true;
    ApplyColours();
}

void MStatic::ClearBkColor() {
    m_hasBackground = false;
    ApplyColours();
}

void MStatic::ApplyColours() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(QRgb(m_text)));
    if (m_hasBackground)
        colours.setColor(QPalette::Window, QColor(QRgb(m_background)));
    setPalette(colours);
    setAutoFillBackground(m_hasBackground);
}
