#include "platform/PathText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef _WIN32

std::string PathBytes(const QString& path) {
    const QByteArray bytes = path.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString PathText(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

QString ShownPath(const QString& path) {
    return path;
}

bool PathHoldsRawBytes(const QString&) {
    return false;
}

QString AbsolutePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

QStringList ProgramArguments(int, char*[]) {
    return QCoreApplication::arguments().mid(1);
}

#else

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

constexpr char16_t kFirstRawByte = 0xDC80; // the lone surrogate that stands for byte 0x80
constexpr char16_t kLastRawByte = 0xDCFF;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at text[i] (1 to 4) and its code point; 0 when the byte there
// starts none (a stray continuation byte, an overlong form, a surrogate, a code point above U+10FFFF or
// a sequence cut short).
int ValidSequence(const std::string& text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    int length = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + static_cast<std::size_t>(length) > text.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if (!IsContinuation(byte(i + static_cast<std::size_t>(k))))
            return 0;
        code = (code << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsRawByte(const QString& text, qsizetype i) {
    const char16_t unit = text[i].unicode();
    // A low surrogate that is the second half of a pair is a character, not a byte.
    return unit >= kFirstRawByte && unit <= kLastRawByte && (i == 0 || !text[i - 1].isHighSurrogate());
}

void AppendUtf8(std::string& bytes, char32_t code) {
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (code >> 18));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string PathBytes(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar unit = path[i];
        if (unit.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(unit, path[i + 1]));
            ++i;
        } else if (IsRawByte(path, i)) {
            bytes += static_cast<char>(unit.unicode() - 0xDC00);
        } else if (unit.isSurrogate()) {
            AppendUtf8(bytes, 0xFFFD); // no file name held it: it was typed or pasted
        } else {
            AppendUtf8(bytes, unit.unicode());
        }
    }
    return bytes;
}

QString PathText(const std::string& path) {
    QString text;
    text.reserve(static_cast<qsizetype>(path.size()));
    for (std::size_t i = 0; i < path.size();) {
        char32_t code = 0;
        const int length = ValidSequence(path, i, code);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(path[i])));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += QChar(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(length);
    }
    return text;
}

QString ShownPath(const QString& path) {
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (IsRawByte(path, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

bool PathHoldsRawBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i)
        if (IsRawByte(path, i))
            return true;
    return false;
}

QString AbsolutePath(const QString& path) {
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    // The current folder's own bytes: QDir::currentPath() would lose those that are not UTF-8.
    std::vector<char> folder(4096);
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE)
            return QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + path);
        folder.resize(folder.size() * 2);
    }
    return QDir::cleanPath(PathText(folder.data()) + QLatin1Char('/') + path);
}

QStringList ProgramArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(PathText(argv[i]));
    return arguments;
}

#endif
