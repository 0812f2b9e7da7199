#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

// trelvane-csv run as a user runs it, in a process of its own (the test defines TRELVANE_CSV_TOOL).
struct ToolRun {
    int exitCode = -1; // -1 when it crashed or did not end within a minute
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TRELVANE_CSV_TOOL), arguments);
    process.waitForFinished(60000);
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    // Windows writes text to standard error with CR LF line ends; the messages compare as lines.
    run.err = process.readAllStandardError().replace("\r\n", "\n").toStdString();
    return run;
}
