#pragma once

#include "widgets/IniStoreFormat.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

// Every value Trelvane keeps in its settings store, and the one form it writes each in (the text
// QSettings writes for the value's type). <list> is the report list's group ("Reports"):
//   <list>/Entries/<n>/Path        a report's path (n = 1, 2, ...)
//   <list>/Entries/<n>/PathBytes   beside Path, the path's bytes in hex when they are not all text
//   <list>/Entries/size            the number of entries
//   <list>/Selected, SelectedBytes the selected report, as an entry's Path and PathBytes
//   Window/Place                   @Rect(x y width height), the window's place
//   Window/Maximized               true or false
//   Window/Tab                     the selected tab's number
//   Folders/Open, Picture, Export  where the last report was opened from, the last chart picture saved
//                                  and the last export went
//   Compare/Reports/<n>/Path       the compared reports in order (n = 1, 2, ...), the first the baseline,
//   Compare/Reports/<n>/PathBytes  each as a report list entry's Path and PathBytes
//   Compare/Reports/size           their number
//   Compare/Measure, Compare/View  the measure shown, by its title; the view shown (0 chart, 1 curves)
// Anything else (another key, another form, "@Variant(...)" above all) was not written by Trelvane, or
// not kept whole: it is damage, and no part of it is ever handed to Qt to decode.

// The keys of a report list entry and of the selection, under the list's group.
inline const QString kEntryPathKey = QStringLiteral("Path");
inline const QString kEntryPathBytesKey = QStringLiteral("PathBytes");
inline const QString kSelectedKey = QStringLiteral("Selected");
inline const QString kSelectedBytesKey = QStringLiteral("SelectedBytes");
inline const QString kWindowGroup = QStringLiteral("Window");
inline const QString kWindowPlaceKey = QStringLiteral("Window/Place");
inline const QString kWindowMaximizedKey = QStringLiteral("Window/Maximized");
inline const QString kWindowTabKey = QStringLiteral("Window/Tab");
inline const QString kFoldersGroup = QStringLiteral("Folders");
inline const QString kOpenFolderKey = QStringLiteral("Folders/Open");
inline const QString kPictureFolderKey = QStringLiteral("Folders/Picture");
inline const QString kExportFolderKey = QStringLiteral("Folders/Export");
inline const QString kCompareGroup = QStringLiteral("Compare");
inline const QString kCompareReportsKey = QStringLiteral("Compare/Reports");
inline const QString kCompareMeasureKey = QStringLiteral("Compare/Measure");
inline const QString kCompareViewKey = QStringLiteral("Compare/View");

// True when the value is one of those above, in its form.
bool IsStoredForm(const StoredValue& value, const QString& listKey);
// Appends the values of group (a first group such as "Window") that are in their forms.
void KeepGroup(const StoredValues& from, const QString& group, const QString& listKey, StoredValues& into);

// The forms, read: nothing when the text is not in the form. A text QSettings wrote for a string begins
// with '@' only as "@@" (for a string beginning with '@').
std::optional<QString> StoredString(const QString& text);
std::optional<int> StoredInt(const QString& text);
std::optional<bool> StoredBool(const QString& text);
std::optional<QRect> StoredRect(const QString& text);
// A path: a string, not empty, without NUL (no file name holds one). With the hex text of its bytes,
// the path those bytes name (platform/PathText.h).
std::optional<QString> StoredPath(const QString& text, const QString* bytesText = nullptr);

// The forms, written.
QString StringForm(const QString& text);
QString IntForm(int value);
QString BoolForm(bool value);
QString RectForm(const QRect& rect);
// A path as key: its text, each byte that is not text shown as U+FFFD (what a reader of the file, or
// an older Trelvane, sees), and then under bytesKey its bytes when they are not all text.
void AppendPath(StoredValues& into, const QString& key, const QString& bytesKey, const QString& path);
