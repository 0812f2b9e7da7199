// Renders the window offscreen to PNG files: trelvane_render <output folder> <examples folder>.
// The window works on a settings store of its own, so the user's report list is neither read nor changed.
#include "tests/render_screens.h"

#include "tests/OffscreenApplication.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output folder> <examples folder>\n", argv[0]);
        return 2;
    }
    OffscreenApplication application(argc, argv);

    QString error;
    std::vector<RenderedScreen> screens =
        RenderScreens(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), error);
    if (!screens.empty()) {
        const std::vector<RenderedScreen> diskspd =
            RenderDiskSpdScreen(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), error);
        if (diskspd.empty())
            screens.clear();
        screens.insert(screens.end(), diskspd.begin(), diskspd.end());
    }
    if (!screens.empty()) {
        const std::vector<RenderedScreen> runs =
            RenderRunDetailsScreens(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), error);
        if (runs.empty())
            screens.clear();
        screens.insert(screens.end(), runs.begin(), runs.end());
    }
    QStringList files;
    if (!screens.empty())
        files = RenderCompareScreens(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                                     QSize(1280, 860), error);
    if (screens.empty() || files.isEmpty()) {
        std::fprintf(stderr, "render failed: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    for (auto screen = screens.rbegin(); screen != screens.rend(); ++screen)
        files.prepend(screen->file);
    for (const QString& file : files)
        std::printf("%s\n", file.toLocal8Bit().constData());
    return 0;
}
