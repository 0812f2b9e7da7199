// Two windows of two programs at once (a second "Open with", the menu entry again) share one report
// list: whichever closes last, every report either opened stays listed, and one removed stays removed;
// the second window opens offset from the first.
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The window in a process of its own (tests/window_process_tool.cpp), with the settings folder given.
class WindowProcess {
public:
    WindowProcess(const QString& settings, const QString& folder, const QByteArray& argument) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(folder);
        // Through the shell, so the argument arrives as bytes that need not be UTF-8.
        m_process.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf \"$1\")\""),
                         QStringLiteral(TRELVANE_WINDOW_TOOL), QString::fromLatin1(argument)});
        const QList<QByteArray> ready = Line().split(' ');
        if (ready.size() == 3 && ready[0] == "ready")
            place = QPoint(ready[1].toInt(), ready[2].toInt());
    }
    void Send(const QByteArray& command) {
        m_process.write(command + '\n');
        if (command != "yes")
            Line();
    }
    // The messages the window showed, once it is closed.
    QStringList Close() {
        m_process.write("close\n");
        QStringList messages;
        for (QByteArray line = Line(); line != "closed" && !line.isEmpty(); line = Line())
            messages << QString::fromUtf8(line);
        m_process.waitForFinished(20000);
        return messages;
    }
    QPoint place;

private:
    QByteArray Line() {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(20000))
                return {};
        return m_process.readLine().trimmed();
    }
    QProcess m_process;
};

QStringList StoredList(const QString& settings) {
    QSettings store(settings + QStringLiteral("/Dovrane/Dovrane.conf"), QSettings::IniFormat);
    QStringList paths;
    for (const QString& group : store.childGroups())
        if (group == QStringLiteral("Reports"))
            for (int i = 1; store.contains(QStringLiteral("Reports/Entries/%1/Path").arg(i)); ++i)
                paths << store.value(QStringLiteral("Reports/Entries/%1/Path").arg(i)).toString();
    return paths;
}

TEST(TwoWindowsTest, EveryReportEitherOpenedStaysListedWhicheverClosesFirst) {
    if (kWindowsBuild)
        GTEST_SKIP() << "the two windows would share the registry with every other test; on Linux each "
                        "run has a store of its own";
    QTemporaryDir reports;
    ASSERT_TRUE(reports.isValid());
    for (const char* name : {"a0.txt", "a1.txt", "b0.txt", "b1.txt"})
        ASSERT_TRUE(
            QFile::copy(ExamplePath("one_run_fails.txt"), reports.filePath(QString::fromLatin1(name))));
    // Named in Latin-1 bytes, not UTF-8: opened from the command line, it keeps them.
    ASSERT_TRUE(QFile::copy(ExamplePath("one_run_fails.txt"), reports.filePath(QStringLiteral("tmp"))));
    ASSERT_EQ(std::rename(QFile::encodeName(reports.filePath(QStringLiteral("tmp"))).constData(),
                          (QFile::encodeName(reports.path()) + "/a\xe4.txt").constData()),
              0);
    const QString path = reports.path() + QLatin1Char('/');
    for (const bool firstClosesFirst : {true, false}) {
        QTemporaryDir settings;
        QDir().mkpath(settings.filePath(QStringLiteral("Dovrane")));
        {
            // Both read one report the first window's user then removes, and which is gone by then.
            QSettings store(settings.filePath(QStringLiteral("Dovrane/Dovrane.conf")), QSettings::IniFormat);
            store.setValue(QStringLiteral("Reports/Entries/1/Path"), path + QStringLiteral("gone.txt"));
        }
        WindowProcess first(settings.path(), reports.path(), "a\\344.txt");
        WindowProcess second(settings.path(), reports.path(), "b0.txt");
        const QPoint offset = second.place - first.place; // as a desktop cascades a new window
        EXPECT_GT(offset.x(), 0);
        EXPECT_EQ(offset.y(), offset.x());
        first.Send("open " + (path + QStringLiteral("a1.txt")).toUtf8().toHex());
        first.Send("yes");
        first.Send("open " + (path + QStringLiteral("gone.txt")).toUtf8().toHex());
        second.Send("open " + (path + QStringLiteral("b1.txt")).toUtf8().toHex());
        const QStringList firstMessages = firstClosesFirst ? first.Close() : second.Close();
        const QStringList secondMessages = firstClosesFirst ? second.Close() : first.Close();
        EXPECT_EQ(firstMessages.filter(QStringLiteral("saved")), QStringList());
        EXPECT_EQ(secondMessages.filter(QStringLiteral("saved")), QStringList());
        EXPECT_EQ(StoredList(settings.path()),
                  (QStringList{path + QStringLiteral("a1.txt"), path + QStringLiteral("a\uFFFD.txt"),
                               path + QStringLiteral("b0.txt"), path + QStringLiteral("b1.txt")}))
            << (firstClosesFirst ? "the first window closed first" : "the second window closed first");
    }
}

} // namespace
