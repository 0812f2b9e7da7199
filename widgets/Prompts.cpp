#include "widgets/Prompts.h"

#include <QApplication>
#include <QFileDialog>

QString QtPrompts::OpenFile(QWidget* owner, const QString& title, const QString& filter,
                            const QString& suffix, const QString& initialName) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile); // the path and the file must exist
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::PickFolder(QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

QMessageBox::StandardButton QtPrompts::Message(QWidget* owner, const QString& text,
                                               QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
