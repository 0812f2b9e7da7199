// Reports the user points at from outside the window: the command line and drag and drop. The window's
// drop handlers are in app/ReportHandlers.cpp.
#include "app/ReportDrop.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QString DroppedReport(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return {};
    const QUrl first = data->urls().constFirst();
    return first.isLocalFile() ? first.toLocalFile() : QString();
}

QString CommandLineReport(const QStringList& arguments) {
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')))
            continue;
        return argument.isEmpty() ? QString() : QFileInfo(argument).absoluteFilePath();
    }
    return {};
}
