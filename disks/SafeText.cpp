#include "disks/SafeText.h"

namespace {

bool IsPadding(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

std::string Escape(std::string_view raw, bool escapeBackslash) {
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(raw.size());
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || (escapeBackslash && c == '\\')) {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace

// A cell escapes its backslashes too, so that "\x0a" in a cell always means the byte and never text.
std::string EscapeControlBytes(std::string_view raw) {
    return Escape(raw, true);
}

std::string EscapeForMessage(std::string_view raw) {
    return Escape(raw, false);
}

std::string CleanDeviceText(std::string_view raw) {
    std::size_t begin = 0;
    std::size_t end = raw.size();
    while (begin < end && IsPadding(raw[begin]))
        ++begin;
    while (end > begin && IsPadding(raw[end - 1]))
        --end;
    return EscapeControlBytes(raw.substr(begin, end - begin));
}
