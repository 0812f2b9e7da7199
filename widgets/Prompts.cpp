#include "widgets/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>

QString QtPrompts::OpenFile(QWidget* owner, const QString& title, const QString& filter,
                            const QString& suffix, const QString& initialName, const QString& folder) {
    QFileDialog dialog(owner, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile); // the path and the file must exist
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList QtPrompts::OpenFiles(QWidget* owner, const QString& title, const QString& filter) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString QtPrompts::PickFolder(QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

QString QtPrompts::SaveFile(QWidget* owner, const QString& title, const QString& filter,
                            const QString& suggestion) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(suggestion);
    // The type follows the chosen filter: "chart" saved under "SVG image (*.svg)" becomes chart.svg.
    const auto suffixOf = [](const QString& nameFilter) {
        const qsizetype star = nameFilter.indexOf(QStringLiteral("*."));
        return star < 0
                   ? QString()
                   : nameFilter.mid(star + 2).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(filter.section(QStringLiteral(";;"), 0, 0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixOf](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QMessageBox::StandardButton QtPrompts::Message(QWidget* owner, const QString& text,
                                               QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool QtPrompts::MessageWithAction(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                  const QString& action) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    const QPushButton* pressed = box.addButton(action, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == pressed;
}
