#include "widgets/StoreSchema.h"

#include "platform/PathText.h"

namespace {

const QString kEntriesGroup = QStringLiteral("Entries");

bool IsDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// An entry's number as QSettings writes array indexes: 1, 2, ... without leading zeros.
bool IsEntryNumber(QStringView text) {
    return IsDigits(text) && text.front() != u'0' && text.size() <= 18;
}

std::optional<QByteArray> StoredBytes(const QString& text) {
    if (text.isEmpty() || text.size() % 2 != 0)
        return std::nullopt;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    if (bytes.contains('\0'))
        return std::nullopt;
    return bytes;
}

// An array of paths as the report list keeps its entries: <n>/Path, <n>/PathBytes and size.
bool IsPathArrayForm(QStringView key, const QString& text) {
    if (key == u"size")
        return StoredInt(text).has_value();
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    if (slash < 0 || !IsEntryNumber(key.first(slash)))
        return false;
    const QStringView leaf = key.sliced(slash + 1);
    if (leaf == kEntryPathKey)
        return StoredPath(text).has_value();
    if (leaf == kEntryPathBytesKey)
        return StoredBytes(text).has_value();
    return false;
}

bool IsListForm(QStringView key, const QString& text) {
    if (key == kSelectedKey)
        return StoredString(text) && !StoredString(text)->contains(QChar(0));
    if (key == kSelectedBytesKey)
        return StoredBytes(text).has_value();
    if (!key.startsWith(kEntriesGroup + QLatin1Char('/')))
        return false;
    return IsPathArrayForm(key.sliced(kEntriesGroup.size() + 1), text);
}

} // namespace

bool IsStoredForm(const StoredValue& value, const QString& listKey) {
    const QString& key = value.key;
    const QString& text = value.text;
    if (key.startsWith(listKey + QLatin1Char('/')))
        return IsListForm(QStringView(key).sliced(listKey.size() + 1), text);
    if (key == kWindowPlaceKey)
        return StoredRect(text).has_value();
    if (key == kWindowMaximizedKey)
        return StoredBool(text).has_value();
    if (key == kWindowTabKey)
        return StoredInt(text).has_value();
    if (key == kOpenFolderKey || key == kPictureFolderKey || key == kExportFolderKey)
        return StoredPath(text).has_value();
    if (key.startsWith(kCompareReportsKey + QLatin1Char('/')))
        return IsPathArrayForm(QStringView(key).sliced(kCompareReportsKey.size() + 1), text);
    if (key == kCompareMeasureKey)
        return StoredString(text).has_value();
    if (key == kCompareViewKey)
        return StoredInt(text).has_value();
    return false;
}

void KeepGroup(const StoredValues& from, const QString& group, const QString& listKey, StoredValues& into) {
    const QString prefix = group + QLatin1Char('/');
    for (const StoredValue& value : from)
        if (value.key.startsWith(prefix) && IsStoredForm(value, listKey))
            into.push_back(value);
}

std::optional<QString> StoredString(const QString& text) {
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.startsWith(QStringLiteral("@@")))
        return text.sliced(1);
    return std::nullopt;
}

std::optional<int> StoredInt(const QString& text) {
    const QStringView digits = text.startsWith(QLatin1Char('-')) ? QStringView(text).sliced(1) : text;
    if (!IsDigits(digits) || (digits.size() > 1 && digits.front() == u'0') || digits.size() > 10)
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> StoredBool(const QString& text) {
    if (text == QStringLiteral("true"))
        return true;
    if (text == QStringLiteral("false"))
        return false;
    return std::nullopt;
}

std::optional<QRect> StoredRect(const QString& text) {
    if (!text.startsWith(QStringLiteral("@Rect(")) || !text.endsWith(QLatin1Char(')')))
        return std::nullopt;
    const QStringList parts = text.sliced(6, text.size() - 7).split(QLatin1Char(' '));
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> number = StoredInt(parts[i]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

std::optional<QString> StoredPath(const QString& text, const QString* bytesText) {
    const std::optional<QString> path = StoredString(text);
    if (!path || path->isEmpty() || path->contains(QChar(0)))
        return std::nullopt;
    if (bytesText == nullptr)
        return path;
    const std::optional<QByteArray> bytes = StoredBytes(*bytesText);
    if (!bytes)
        return std::nullopt;
    return PathText(bytes->toStdString());
}

QString StringForm(const QString& text) {
    return text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
}

QString IntForm(int value) {
    return QString::number(value);
}

QString BoolForm(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString RectForm(const QRect& rect) {
    return QStringLiteral("@Rect(%1 %2 %3 %4)")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

void AppendPath(StoredValues& into, const QString& key, const QString& bytesKey, const QString& path) {
    into.push_back({key, StringForm(ShownPath(path))});
    if (PathHoldsRawBytes(path)) {
        const std::string bytes = PathBytes(path);
        into.push_back(
            {bytesKey,
             QString::fromLatin1(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex())});
    }
}
