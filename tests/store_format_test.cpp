// The settings store's INI file as Trelvane reads and writes it, held against QSettings itself: what
// one writes the other reads as the same texts, and what QSettings would read otherwise than the line
// shows is never taken as whole.
#include "widgets/IniStoreFormat.h"
#include "widgets/StoreSchema.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Texts that need every escape and quoting rule: control characters (a hex digit after one), quotes,
// backslashes, the separators, blanks at either end, a leading '@', text beyond Latin-1 and beyond the
// BMP. No NUL: QSettings writes a string holding one in a form of its own ("@String(") that Trelvane,
// which never keeps one, takes as damage.
QString HostileText(QRandomGenerator& random) {
    static const QString pool = QStringLiteral("ab1F ;,=\"\\@\t\n\r\a\x01\x1f\x7f\u00e9\u20ac") +
                                QString::fromUtf8("\xF0\x9F\x98\x80");
    QString text;
    const int length = random.bounded(1, 12);
    for (int i = 0; i < length; ++i) {
        const int at = random.bounded(pool.size());
        text += pool[at].isSurrogate() ? pool.sliced(pool.size() - 2, 2) : QString(pool[at]);
    }
    return text;
}

class StoreFormatTest : public ::testing::Test {
protected:
    QString WriteFile(const QByteArray& bytes) {
        const QString name = m_folder.filePath(QStringLiteral("store-%1.conf").arg(++m_files));
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return name;
    }
    static QByteArray ReadFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir m_folder;
    int m_files = 0;
};

TEST_F(StoreFormatTest, WhatEitherWritesTheOtherReadsAsTheSameTexts) {
    QRandomGenerator random(2024);
    for (int round = 0; round < 200; ++round) {
        StoredValues values;
        QStringList texts;
        for (int i = 1; i <= 5; ++i) {
            texts << HostileText(random);
            values.push_back({QStringLiteral("Reports/Entries/%1/Path").arg(i), StringForm(texts.back())});
        }
        values.push_back({kWindowPlaceKey, RectForm(QRect(-7, 3, 800, 600))});

        // Trelvane writes, QSettings reads.
        const QString ours = WriteFile(WriteIniStore(values));
        {
            QSettings settings(ours, QSettings::IniFormat);
            ASSERT_EQ(settings.status(), QSettings::NoError);
            ASSERT_EQ(settings.allKeys().size(), 6);
            for (int i = 1; i <= 5; ++i)
                ASSERT_EQ(settings.value(QStringLiteral("Reports/Entries/%1/Path").arg(i)).toString(),
                          texts[i - 1])
                    << round;
            EXPECT_EQ(settings.value(kWindowPlaceKey).toRect(), QRect(-7, 3, 800, 600));
        }
        const IniRead back = ReadIniStore(ReadFile(ours));
        EXPECT_TRUE(back.whole);
        EXPECT_EQ(back.values, values);

        // QSettings writes, Trelvane reads: the same texts, and written again the same bytes.
        const QString theirs = m_folder.filePath(QStringLiteral("qt-%1.conf").arg(round));
        {
            QSettings settings(theirs, QSettings::IniFormat);
            for (int i = 1; i <= 5; ++i)
                settings.setValue(QStringLiteral("Reports/Entries/%1/Path").arg(i), texts[i - 1]);
            settings.setValue(kWindowPlaceKey, QRect(-7, 3, 800, 600));
        }
        const QByteArray bytes = ReadFile(theirs);
        const IniRead read = ReadIniStore(bytes);
        ASSERT_TRUE(read.whole) << bytes.toStdString();
        for (const StoredValue& value : read.values)
            EXPECT_TRUE(IsStoredForm(value, QStringLiteral("Reports"))) << value.key.toStdString();
        EXPECT_EQ(WriteIniStore(read.values), QByteArray(bytes).replace("\r\n", "\n")); // CR LF on Windows
    }
}

// Each line is read by QSettings otherwise than it shows, or holds what QSettings never writes for text:
// the file is not whole, and the line gives no value. The good line beside it still does.
TEST_F(StoreFormatTest, LinesQSettingsWouldReadOtherwiseAreNotWhole) {
    const QByteArray good = "[Reports]\nEntries\\1\\Path=/r/a.txt\n";
    const QByteArray lines[] = {
        "Entries\\2\\Path=/r/b.txt,/r/c.txt\n", // a list
        "Entries\\2\\Path=\"/r/b.txt\n",        // a quote that reads on into the next line
        "Entries\\2\\Path=/r/b\\\n.txt\n",      // a line continued
        "Entries\\2\\Path=/r/b;c.txt\n",        // QSettings ends the line at ';'
        "Entries\\2\\Path=/r/b\\q.txt\n",       // an escape it never writes
        "Entries\\2\\Path=\\x00041\n",          // a \x escape of five digits
        "Entries%5C2%5CPath=/r/b.txt\n",        // a key with escapes: another key for QSettings
        QByteArray("Entr") + '\0' + "ies\\2\\Path=/r/b.txt\n",
        "Entries\\2\\Path=/r/b\xff.txt\n", // no UTF-8
        "Entries\\2\\Path=/r/b\x01.txt\n", // a control byte
        "Entries\\1\\Path=/r/b.txt\n",     // the same key again
        "Entries\\\\2\\Path=/r/b.txt\n",   // an empty group
        "[unterminated\n",
        "[Reports] x\n",
        "Entries\\2\\Path\n",
    };
    for (const QByteArray& line : lines) {
        const IniRead read = ReadIniStore(good + line);
        EXPECT_FALSE(read.whole) << line.toStdString();
        ASSERT_FALSE(read.values.empty());
        EXPECT_EQ(read.values[0],
                  (StoredValue{QStringLiteral("Reports/Entries/1/Path"), QStringLiteral("/r/a.txt")}));
    }
    const QByteArray utf16 =
        QByteArray("\xFF\xFE") +
        QByteArray(reinterpret_cast<const char*>(QString::fromLatin1(good).utf16()), good.size() * 2);
    EXPECT_FALSE(ReadIniStore(utf16).whole);
    EXPECT_TRUE(ReadIniStore(utf16).values.empty());

    // What QSettings reads the same however it was written: a byte-order mark, CR LF, comments,
    // blanks around the key and the value, quotes.
    const IniRead read =
        ReadIniStore("\xEF\xBB\xBF; note\r\n[Reports]\r\n  Entries\\1\\Path =  \"/r/a,b.txt\" \r\n");
    EXPECT_TRUE(read.whole);
    ASSERT_EQ(read.values.size(), 1u);
    EXPECT_EQ(read.values[0].text, QStringLiteral("/r/a,b.txt"));

    // A byte-order mark inside a value is U+FEFF to QSettings, except where the value's bytes begin.
    for (const char* line : {"Path=\"/r/a\\t\xEF\xBB\xBF\\x31\"\n", "Path=\xEF\xBB\xBF/r\n",
                             "Path=\"\"\xEF\xBB\xBF/r\n", "Path=\"/r\"\xEF\xBB\xBF\n"}) {
        const QByteArray bytes = QByteArray("[Reports]\n") + line;
        const IniRead ours = ReadIniStore(bytes);
        ASSERT_TRUE(ours.whole) << line;
        ASSERT_EQ(ours.values.size(), 1u);
        QSettings settings(WriteFile(bytes), QSettings::IniFormat);
        EXPECT_EQ(ours.values[0].text, settings.value(QStringLiteral("Reports/Path")).toString()) << line;
    }
    // So a text that begins with U+FEFF is written as an escape, and QSettings reads it whole.
    const QString marked = QChar(0xFEFF) + QStringLiteral("/r/a.txt");
    const QByteArray written = WriteIniStore({{QStringLiteral("Reports/Path"), marked}});
    EXPECT_EQ(ReadIniStore(written).values.at(0).text, marked);
    QSettings settings(WriteFile(written), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Reports/Path")).toString(), marked);
}

} // namespace
