#include "tests/render_screens.h"

#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

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
    prompts->openAnswers.push_back(QDir(examplesFolder).filePath(QString::fromLatin1(report)));
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
