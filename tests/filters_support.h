#pragma once
// Reports written for the filter and chart tests, and the window they are loaded into.

#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// One SQLIO run as the report prints it. A broken run lacks its "MBs/sec:" line and becomes an error row.
struct SqlioRun {
    std::string direction = "reading"; // "reading" or "writing"
    std::string type = "random";
    std::string size = "8KB";
    std::string outstanding = "1";
    std::string ios = "100.00";
    std::string mbs = "1.00";
    std::string minLatency = "0";
    std::string avgLatency = "1";
    std::string maxLatency = "10";
    bool broken = false;
};

inline std::string SqlioReport(const std::vector<SqlioRun>& runs) {
    std::string text = "SQLIO test report\r\n";
    for (const SqlioRun& run : runs) {
        text += "sqlio v1.5.SG\r\n";
        text += "using system counter for latency timings, 2343750 counts per second\r\n";
        text += "\tfile E:\\sqlio\\testfile.dat with 2 threads (0-1) using mask 0x0 (0)\r\n";
        text += "2 threads " + run.direction + " for 120 secs from file E:\\sqlio\\testfile.dat\r\n";
        text += "\tusing " + run.size + " " + run.type + " IOs\r\n";
        text += "\tenabling multiple I/Os per thread with " + run.outstanding + " outstanding\r\n";
        text += "CUMULATIVE DATA:\r\nthroughput metrics:\r\n";
        text += "IOs/sec: " + run.ios + "\r\n";
        if (!run.broken)
            text += "MBs/sec: " + run.mbs + "\r\n";
        text += "latency metrics:\r\n";
        text += "Min_Latency(ms): " + run.minLatency + "\r\n";
        text += "Avg_Latency(ms): " + run.avgLatency + "\r\n";
        text += "Max_Latency(ms): " + run.maxLatency + "\r\n";
        text += "histogram:\r\n";
    }
    return text;
}

// The real window with report files written for the test.
class AnalysisWindowTest : public WindowFixture {
protected:
    QString WriteReport(const std::vector<SqlioRun>& runs, const char* name = "report.txt") {
        const QString path = m_folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string text = SqlioReport(runs);
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }
    void Load(const std::vector<SqlioRun>& runs) { Open(WriteReport(runs)); }

    void SelectTab(int index) { m_dialog->m_tabCtrl->SetCurSel(index); }
    // Picks a filter entry as a user does from the open list: the selection moves, then the list tells
    // of the activation once.
    static void PickEntry(MComboBox& list, const QString& text) {
        const int target = list.FindStringExact(text);
        ASSERT_GE(target, 0) << text.toStdString();
        list.setCurrentIndex(target);
        Q_EMIT list.activated(target);
    }
    static std::vector<std::string> Entries(const MComboBox& list) {
        std::vector<std::string> entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(list.GetLBText(i).toStdString());
        return entries;
    }
    const std::vector<ChartLine>& ChartLines() const { return m_dialog->m_chart->Model().Lines(); }
    // The per-row bar labels of the chart: the lines between the "Details" header and the details mean.
    std::vector<std::string> DetailLabels() const {
        std::vector<std::string> labels;
        bool inDetails = false;
        for (const ChartLine& line : ChartLines()) {
            if (line.kind == ChartLine::Header) {
                inDetails = line.text.rfind("Details", 0) == 0;
                continue;
            }
            if (inDetails && line.kind == ChartLine::Bar && line.text.rfind("Details Average", 0) != 0 &&
                line.text != "No Results")
                labels.emplace_back(line.text);
        }
        return labels;
    }
};
