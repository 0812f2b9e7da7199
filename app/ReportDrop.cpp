// Reports the user points at from outside the window: the command line and drag and drop. The window's
// drop handlers are in app/ReportHandlers.cpp.
#include "app/ReportDrop.h"

#include "platform/PathText.h"

#include <QMimeData>
#include <QUrl>

QString DroppedReport(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty())
        return {};
    const QUrl first = data->urls().constFirst();
    if (!first.isLocalFile())
        return {};
    // QUrl decodes the path's %XX as UTF-8, so bytes of a name that is not UTF-8 would come back as
    // U+FFFD and name another file. The path's own bytes keep them.
    const QByteArray bytes = QByteArray::fromPercentEncoding(first.path(QUrl::FullyEncoded).toLatin1());
    if (QByteArrayView(bytes).isValidUtf8())
        return first.toLocalFile();
    const QString path = PathText(bytes.toStdString());
    return first.host().isEmpty() ? path : QStringLiteral("//") + first.host() + path;
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
        return argument.isEmpty() ? QString() : AbsolutePath(argument);
    }
    return {};
}
