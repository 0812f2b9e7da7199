// Writes the application icon as PNG files for the hicolor icon theme:
// trelvane_icons <folder> <name> <size>... gives <folder>/<size>x<size>/apps/<name>.png for each size.
// The same drawing as the window's icon, so the installed icon and the window's always agree.
#include "app/AppIcon.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <folder> <name> <size>...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = sizeFolder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(sizeFolder) || !DrawAppIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write the %s pixel icon to %s\n", argv[i],
                         file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
