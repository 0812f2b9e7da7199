#include "platform/SystemMenu.h"

#include <QMenuBar>

void AppendSystemMenuCommand(QWidget*, QMenuBar* menuBar, const QString& text, unsigned id,
                             SystemCommandHandler onCommand) {
    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    QAction* action = help->addAction(text);
    QObject::connect(action, &QAction::triggered, menuBar, [id, onCommand] { onCommand(id, 0); });
}
