#include "tests/render_screens.h"

#include "app/CompareWindow.h"
#include "app/RunDetailsDlg.h"
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSettings>

#include <memory>

namespace {

const char* const kTabFiles[8] = {"chart_mb_sec",
                                  "chart_io_sec",
                                  "chart_io_sec_per_latency",
                                  "chart_min_latency",
                                  "chart_avg_latency",
                                  "chart_max_latency",
                                  "data",
                                  "partitions"};

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

bool SelectEntry(MComboBox& list, const char* text) {
    const int index = list.FindStringExact(QString::fromLatin1(text));
    if (index < 0)
        return false;
    list.SetCurSel(index);
    return true;
}

bool Save(CTrelvaneDlg& dialog, const QString& path, int tab, bool filtered,
          std::vector<RenderedScreen>& out) {
    Settle();
    const QPixmap picture = dialog.grab();
    if (!picture.save(path, "PNG"))
        return false;
    RenderedScreen screen;
    screen.file = path;
    screen.tab = tab;
    screen.filtered = filtered;
    if (dialog.m_chart->isVisible()) {
        QWidget* viewport = dialog.m_chart->viewport();
        screen.chartViewport = QRect(viewport->mapTo(&dialog, QPoint(0, 0)), viewport->size());
        for (const ChartLine& line : dialog.m_chart->Model().Lines())
            screen.lines.push_back(DrawnLine{line.kind, std::string(line.text), line.length, line.colour});
        screen.geometry = dialog.m_chart->Geometry();
        screen.firstLine = dialog.m_chart->FirstVisibleLine();
        screen.scale = dialog.m_chart->Model().Scale();
    }
    out.push_back(screen);
    return true;
}

// The window with one of the example reports opened through File > Open, its pictures going to
// folder; null, with the reason in error, when either fails.
std::unique_ptr<CTrelvaneDlg> OpenExample(const QString& folder, const QString& examplesFolder,
                                          const char* report, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create ") + folder;
        return nullptr;
    }
    auto prompts = std::make_unique<TestPrompts>();
    prompts->openAnswers.push_back(
        QDir::cleanPath(QDir(examplesFolder).filePath(QString::fromLatin1(report))));
    auto dialog = std::make_unique<CTrelvaneDlg>(std::move(prompts));
    dialog->OnInitDialog();
    dialog->show();
    dialog->OnFileOpen();
    if (dialog->m_listData->GetItemCount() == 0) {
        error = QStringLiteral("the example report %1 did not load").arg(QString::fromLatin1(report));
        return nullptr;
    }
    return dialog;
}

} // namespace

std::vector<RenderedScreen> RenderScreens(const QString& folder, const QString& examplesFolder,
                                          QString& error) {
    std::vector<RenderedScreen> screens;
    const auto window = OpenExample(folder, examplesFolder, "multi_run_crlf.txt", error);
    if (!window)
        return {};
    CTrelvaneDlg& dialog = *window;
    for (int tab = 0; tab <= 6; ++tab) {
        dialog.m_tabCtrl->SetCurSel(tab);
        const QString path =
            QDir(folder).filePath(QString::fromLatin1(kTabFiles[tab]) + QStringLiteral(".png"));
        if (!Save(dialog, path, tab, false, screens)) {
            error = QStringLiteral("cannot write ") + path;
            return {};
        }
    }
    dialog.m_tabCtrl->SetCurSel(kRenderFilterTab);
    if (!SelectEntry(*dialog.m_comboDirection, kRenderFilterDirection) ||
        !SelectEntry(*dialog.m_comboType, kRenderFilterType)) {
        error = QStringLiteral("the filter entries are missing");
        return {};
    }
    dialog.OnFilterChange();
    const QString path = QDir(folder).filePath(QStringLiteral("chart_filtered.png"));
    if (!Save(dialog, path, kRenderFilterTab, true, screens)) {
        error = QStringLiteral("cannot write ") + path;
        return {};
    }
    dialog.close();
    return screens;
}

std::vector<RenderedScreen> RenderDiskSpdScreen(const QString& folder, const QString& examplesFolder,
                                                QString& error) {
    std::vector<RenderedScreen> screens;
    const auto window = OpenExample(folder, examplesFolder, "diskspd_sweep_crlf.txt", error);
    if (!window)
        return {};
    CTrelvaneDlg& dialog = *window;
    dialog.m_tabCtrl->SetCurSel(1);
    const QString path = QDir(folder).filePath(QStringLiteral("chart_diskspd_io_sec.png"));
    if (!Save(dialog, path, 1, false, screens)) {
        error = QStringLiteral("cannot write ") + path;
        return {};
    }
    dialog.close();
    return screens;
}

QStringList RenderCompareScreens(const QString& folder, const QString& examplesFolder, QSize size,
                                 QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create ") + folder;
        return {};
    }
    // A comparison of its own: none remembered, and no report of the main window to start with.
    QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).clear();
    CTrelvaneDlg dialog(std::make_unique<TestPrompts>());
    dialog.OnInitDialog();
    dialog.OnCompareReports();
    CompareWindow& window = *dialog.Comparison();
    QStringList reports;
    for (const char* name : {"multi_run_crlf.txt", "diskspd_sweep_crlf.txt", "one_run_fails.txt"})
        reports.append(QDir(examplesFolder).filePath(QString::fromLatin1(name)));
    window.AddReports(reports);
    if (window.Current().ReportCount() != 3) {
        error = QStringLiteral("the example reports did not load for the comparison");
        return {};
    }
    window.resize(size);
    QStringList files;
    for (const int view : {0, 1}) {
        // The read tests: the chart the random ones, whose sweeps all three reports ran in part.
        window.SetFilter(TestKeyPart::Direction, QStringLiteral("Read"));
        window.SetFilter(TestKeyPart::Type, view == 0 ? QStringLiteral("random") : QString());
        window.ShowView(view);
        Settle();
        const QString path = QDir(folder).filePath(view == 0 ? QStringLiteral("compare_chart.png")
                                                             : QStringLiteral("compare_curves.png"));
        if (!window.grab().save(path, "PNG")) {
            error = QStringLiteral("cannot write ") + path;
            return {};
        }
        files.append(path);
    }
    window.ShowView(0);
    window.close();
    return files;
}

std::vector<RenderedScreen> RenderRunDetailsScreens(const QString& folder, const QString& examplesFolder,
                                                    QString& error) {
    const std::pair<const char*, const char*> reports[] = {
        {"../tests/data/sqlio/es-random-read-8KB-q8.txt", "run_details_sqlio.png"},
        {"../tests/data/diskspd/vc-readwrite-mix-70-30.txt", "run_details_diskspd.png"},
        {"../tests/data/diskspd/hand-2.0-xml-iops-samples.xml", "run_details_diskspd_xml.png"},
        {"fio_mixed_after_signal.json", "run_details_fio.png"},
    };
    std::vector<RenderedScreen> screens;
    for (const auto& [report, file] : reports) {
        const auto window = OpenExample(folder, examplesFolder, report, error);
        if (!window)
            return {};
        window->ShowRunDetailsOfRow(0);
        CRunDetailsDlg* details = window->RunDetailsWindow();
        Settle();
        RenderedScreen screen;
        screen.file = QDir(folder).filePath(QString::fromLatin1(file));
        if (details == nullptr || !details->grab().save(screen.file, "PNG")) {
            error = QStringLiteral("cannot write ") + screen.file;
            return {};
        }
        screens.push_back(screen);
        window->close();
    }
    return screens;
}
