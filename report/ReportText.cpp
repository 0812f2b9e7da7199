#include "report/ReportText.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

void ReportTextDecoder::AppendCodePoint(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void ReportTextDecoder::DecodeUnits(std::string& out) {
    const bool little = m_mode == Mode::Utf16LE;
    size_t i = 0;
    for (; i + 1 < m_pending.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(m_pending[i]);
        const auto b1 = static_cast<unsigned char>(m_pending[i + 1]);
        const auto unit = static_cast<char16_t>(little ? (b0 | (b1 << 8)) : ((b0 << 8) | b1));
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (m_highSurrogate != 0)
                AppendCodePoint(kReplacement, out);
            m_highSurrogate = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (m_highSurrogate != 0) {
                AppendCodePoint(0x10000 + ((static_cast<char32_t>(m_highSurrogate) - 0xD800) << 10) +
                                    (unit - 0xDC00),
                                out);
                m_highSurrogate = 0;
            } else {
                AppendCodePoint(kReplacement, out);
            }
            continue;
        }
        if (m_highSurrogate != 0) {
            AppendCodePoint(kReplacement, out);
            m_highSurrogate = 0;
        }
        AppendCodePoint(unit, out);
    }
    m_pending.erase(0, i);
}

void ReportTextDecoder::Feed(std::string_view chunk, std::string& out) {
    if (m_mode == Mode::Bytes) {
        out.append(chunk);
        return;
    }
    m_pending.append(chunk);
    if (m_mode == Mode::Detect) {
        const auto starts = [&](std::string_view bom) {
            return m_pending.size() >= bom.size() && std::string_view(m_pending).substr(0, bom.size()) == bom;
        };
        const auto couldStart = [&](std::string_view bom) {
            return m_pending.size() < bom.size() && bom.substr(0, m_pending.size()) == m_pending;
        };
        const std::string_view utf8 = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
        if (couldStart(utf8) || couldStart(le) || couldStart(be))
            return; // too few bytes to tell yet
        if (starts(utf8)) {
            m_mode = Mode::Bytes;
            m_pending.erase(0, utf8.size());
        } else if (starts(le)) {
            m_mode = Mode::Utf16LE;
            m_pending.erase(0, le.size());
        } else if (starts(be)) {
            m_mode = Mode::Utf16BE;
            m_pending.erase(0, be.size());
        } else {
            m_mode = Mode::Bytes;
        }
        if (m_mode == Mode::Bytes) {
            out.append(m_pending);
            m_pending.clear();
            return;
        }
    }
    DecodeUnits(out);
}

std::string_view ReportTextDecoder::Decode(std::string_view chunk, std::string& scratch) {
    if (m_mode == Mode::Bytes && m_pending.empty())
        return chunk;
    scratch.clear();
    Feed(chunk, scratch);
    return scratch;
}

void ReportTextDecoder::Finish(std::string& out) {
    if (m_mode == Mode::Detect || m_mode == Mode::Bytes) {
        out.append(m_pending);
    } else {
        if (m_highSurrogate != 0 || !m_pending.empty())
            AppendCodePoint(kReplacement, out);
    }
    m_pending.clear();
    m_highSurrogate = 0;
}
