#pragma once

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// A QApplication for tests, renders and benchmarks: the offscreen platform unless another one is
// chosen, with one 1920 x 1080 screen (the platform's own 800 x 600 is smaller than the window, which
// would open shrunk to fit it), and a settings store in a temporary folder of the process's own, so the
// user's report list is never read or changed.
class OffscreenApplication {
public:
    OffscreenApplication(int& argc, char** argv) : m_environment(m_settings), m_application(argc, argv) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }

private:
    // Set before QApplication exists: the platform and the configuration folder are read when it starts.
    struct Environment {
        explicit Environment(const QTemporaryDir& settings) {
#ifndef Q_OS_WIN
            const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
            if (platform.isEmpty() || platform == "offscreen") {
                const QString screens = settings.filePath(QStringLiteral("screens.json"));
                QFile file(screens);
                if (file.open(QIODevice::WriteOnly))
                    file.write(R"({"screens": [{"name": "OffscreenScreen", "x": 0, "y": 0, "width": 1920,
                                   "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
                file.close();
                qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit());
            }
#endif
            // On Windows Qt's own default, the windows platform, is the only one the static Qt built
            // for it carries; the test's QT_QPA_PLATFORM would not even arrive under Wine, which hides
            // the QT_ variables of Linux from Windows programs.
            qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        }
    };

    QTemporaryDir m_settings; // members are made in this order
    Environment m_environment;
    QApplication m_application;
};
