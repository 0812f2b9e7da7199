#include "widgets/IniStoreFormat.h"

#include <QSet>
#include <QStringDecoder>

#include <optional>

namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// A section or key of the forms QSettings writes for plain names: names of IsNameCharacter joined by
// separator, none empty. QSettings writes every other character as a %XX escape, which Trelvane never
// needs; a key holding one ("Entries%5C2%5CPath") is read by QSettings as another key than it looks.
bool IsPlainName(QByteArrayView name, char separator) {
    if (name.isEmpty() || name.front() == separator || name.back() == separator)
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == separator) {
            if (name[i - 1] == separator)
                return false;
        } else if (!IsNameCharacter(c)) {
            return false;
        }
    }
    return true;
}

QByteArrayView TrimmedFront(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    return text;
}

QByteArrayView Trimmed(QByteArrayView text) {
    text = TrimmedFront(text);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A value's text as QSettings reads it (its escapes, quotes and blanks), or nothing when the value is in
// a form that QSettings reads otherwise than this line shows or that it never writes for one text: a
// list (a comma outside quotes), a ';' outside quotes (QSettings ends the line there), a quote left
// open or a trailing backslash (QSettings reads on into the next line), an escape it does not write.
std::optional<QString> ReadValue(QByteArrayView raw) {
    QString text;
    text.reserve(raw.size());
    bool inQuotes = false;
    bool quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
    };
    skipBlanks();
    // One decoder for the whole value, as QSettings reads it: a byte-order mark is dropped only where the
    // value's first bytes begin with one, and kept as U+FEFF after an escape or a quote.
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    // QSettings drops the blanks that end a value without quotes, back to its last escape.
    qsizetype keep = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            if (i + 1 >= raw.size())
                return std::nullopt;
            const char escape = raw[i + 1];
            i += 2;
            switch (escape) {
            case 'a':
                text += u'\a';
                break;
            case 'b':
                text += u'\b';
                break;
            case 'f':
                text += u'\f';
                break;
            case 'n':
                text += u'\n';
                break;
            case 'r':
                text += u'\r';
                break;
            case 't':
                text += u'\t';
                break;
            case 'v':
                text += u'\v';
                break;
            case '"':
            case '?':
            case '\'':
            case '\\':
                text += QLatin1Char(escape);
                break;
            case 'x': {
                // QSettings writes one character per \x escape, at most four digits.
                int value = 0;
                int digits = 0;
                while (i < raw.size() && HexValue(raw[i]) >= 0) {
                    if (++digits > 4)
                        return std::nullopt;
                    value = value * 16 + HexValue(raw[i++]);
                }
                if (digits == 0)
                    return std::nullopt;
                text += QChar(static_cast<char16_t>(value));
                break;
            }
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                int value = escape - '0';
                while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7') {
                    value = value * 8 + (raw[i++] - '0');
                    if (value > 0xFFFF)
                        return std::nullopt;
                }
                text += QChar(static_cast<char16_t>(value));
                break;
            }
            default:
                return std::nullopt;
            }
            keep = text.size();
            continue;
        }
        if (c == '"') {
            inQuotes = !inQuotes;
            quoted = true;
            ++i;
            if (!inQuotes) { // QSettings skips the blanks after a closing quote
                skipBlanks();
                keep = text.size();
            }
            continue;
        }
        if (!inQuotes && (c == ',' || c == ';'))
            return std::nullopt;
        qsizetype end = i + 1;
        while (end < raw.size() && raw[end] != '\\' && raw[end] != '"' &&
               (inQuotes || (raw[end] != ',' && raw[end] != ';')))
            ++end;
        text += fromUtf8(raw.sliced(i, end - i));
        i = end;
    }
    if (inQuotes)
        return std::nullopt;
    if (!quoted)
        while (text.size() > keep && (text.back() == u' ' || text.back() == u'\t'))
            text.chop(1);
    return text;
}

bool HasControlBytes(QByteArrayView line) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return true;
    return false;
}

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

void AppendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendHex(QByteArray& out, char16_t unit) {
    out += "\\x";
    out += QByteArray::number(unit, 16);
}

// A text as QSettings writes a string value: its escapes, UTF-8, and quotes around a value holding ';',
// ',' or '=' or beginning or ending with a blank.
void AppendText(QByteArray& out, const QString& text) {
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false; // after \0 and \xNN, a hex digit would be read as part of them
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u';' || unit == u',' || unit == u'=')
            needsQuotes = true;
        if (escapeNextIfDigit && IsHexDigit(unit)) {
            AppendHex(out, unit);
            continue;
        }
        escapeNextIfDigit = false;
        if (i == 0 && unit == 0xFEFF) { // raw, QSettings would drop it as a byte-order mark
            AppendHex(out, unit);
            escapeNextIfDigit = true;
            continue;
        }
        switch (unit) {
        case u'\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        default:
            if (unit <= 0x1F) {
                AppendHex(out, unit);
                escapeNextIfDigit = true;
            } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                AppendUtf8(out, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
                ++i;
            } else if (QChar::isSurrogate(unit)) {
                AppendUtf8(out, QChar::ReplacementCharacter); // as QSettings' encoder writes it
            } else {
                AppendUtf8(out, unit);
            }
        }
    }
    if (needsQuotes || (out.size() > start && (out.at(start) == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

} // namespace

IniRead ReadIniStore(QByteArrayView bytes) {
    IniRead read;
    if (bytes.startsWith("\xEF\xBB\xBF")) // QSettings skips a UTF-8 byte-order mark
        bytes = bytes.sliced(3);
    QString section;           // with its '/', empty for the general section
    bool sectionIsRead = true; // false under a section that could not be read: its keys are lost
    QSet<QString> seen;
    qsizetype position = 0;
    while (position < bytes.size()) {
        qsizetype end = position;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        // Blanks that end the line belong to a value (QSettings keeps them within quotes).
        const QByteArrayView untrimmed = TrimmedFront(bytes.sliced(position, end - position));
        const QByteArrayView line = Trimmed(untrimmed);
        position = end + 1;
        if (line.isEmpty() || line.front() == ';')
            continue;
        if (!line.isValidUtf8() || HasControlBytes(line)) {
            read.whole = false;
            continue;
        }
        if (line.front() == '[') {
            const QByteArrayView name = line.back() == ']' ? Trimmed(line.sliced(1, line.size() - 2)) : line;
            sectionIsRead = line.back() == ']' && IsPlainName(name, '\0');
            if (!sectionIsRead) {
                read.whole = false;
                continue;
            }
            section = name.compare("general", Qt::CaseInsensitive) == 0
                          ? QString()
                          : QString::fromLatin1(name) + QLatin1Char('/');
            continue;
        }
        const qsizetype equals = untrimmed.indexOf('=');
        const QByteArrayView key = equals < 0 ? QByteArrayView() : Trimmed(untrimmed.first(equals));
        const std::optional<QString> text =
            equals < 0 ? std::nullopt : ReadValue(untrimmed.sliced(equals + 1));
        if (!sectionIsRead || !IsPlainName(key, '\\') || !text) {
            read.whole = false;
            continue;
        }
        QString fullKey = section + QString::fromLatin1(key);
        fullKey.replace(QLatin1Char('\\'), QLatin1Char('/'));
        // QSettings keeps the last of two values of one key (two sections of one name, say), and the
        // first is lost: both are returned, and the file is not whole.
        if (seen.contains(fullKey))
            read.whole = false;
        seen.insert(fullKey);
        read.values.push_back({std::move(fullKey), *text});
    }
    return read;
}

QByteArray WriteIniStore(const StoredValues& values) {
    std::vector<QString> sections;
    QSet<QString> known;
    for (const StoredValue& value : values) {
        const QString section = value.key.section(QLatin1Char('/'), 0, 0);
        if (!known.contains(section)) {
            known.insert(section);
            sections.push_back(section);
        }
    }
    QByteArray out;
    for (const QString& section : sections) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + section.toLatin1() + "]\n";
        for (const StoredValue& value : values) {
            if (value.key.section(QLatin1Char('/'), 0, 0) != section)
                continue;
            QString key = value.key.section(QLatin1Char('/'), 1);
            key.replace(QLatin1Char('/'), QLatin1Char('\\'));
            out += key.toLatin1() + '=';
            AppendText(out, value.text);
            out += '\n';
        }
    }
    return out;
}
