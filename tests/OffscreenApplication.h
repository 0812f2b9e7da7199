#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

// A QApplication for tests, renders and benchmarks: the offscreen platform unless another one is
// chosen, and a settings store in a temporary folder of the process's own, so the user's report list
// is never read or changed.
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
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        }
    };

    QTemporaryDir m_settings; // members are made in this order
    Environment m_environment;
    QApplication m_application;
};
