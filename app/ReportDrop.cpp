// Reports the user points at from outside the window: the command line and drag and drop.
#include "app/ReportDrop.h"

#include "app/TrelvaneDlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
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

void CTrelvaneDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedReport(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CTrelvaneDlg::dropEvent(QDropEvent* event) {
    const QString path = DroppedReport(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first: the file manager that sent it waits until it does, and a failed open asks a
    // question in a modal message box.
    QTimer::singleShot(0, this, [this, path] { OpenReport(path); });
}
