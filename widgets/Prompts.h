#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// The modal questions the window asks: the open-file dialog, the folder picker and message boxes.
// The window reaches them only through this interface, so tests can answer them.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    // The chosen file's full path, or an empty text when the user cancels. The dialog starts in folder
    // (the system's choice when it is empty).
    virtual QString OpenFile(QWidget* owner, const QString& title, const QString& filter,
                             const QString& suffix, const QString& initialName, const QString& folder) = 0;
    // Several existing files chosen at once, in the order the dialog gives them; none when the user
    // cancels.
    virtual QStringList OpenFiles(QWidget* owner, const QString& title, const QString& filter) = 0;
    // The chosen folder, or an empty text when the user cancels.
    virtual QString PickFolder(QWidget* owner, const QString& title, const QString& start) = 0;
    // The file to save to, or an empty text when the user cancels. filter lists the types as
    // "Name (*.ext);;..."; suggestion is the proposed path. A name typed without a type gets the one of
    // the selected filter.
    virtual QString SaveFile(QWidget* owner, const QString& title, const QString& filter,
                             const QString& suggestion) = 0;
    virtual QMessageBox::StandardButton Message(QWidget* owner, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::Icon icon) = 0;
    // A message with an OK button and a button labelled action beside it: true when the user pressed
    // the action's button.
    virtual bool MessageWithAction(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                                   const QString& action) = 0;
};

// The real dialogs of Qt.
class QtPrompts : public IPrompts {
public:
    QString OpenFile(QWidget* owner, const QString& title, const QString& filter, const QString& suffix,
                     const QString& initialName, const QString& folder) override;
    QStringList OpenFiles(QWidget* owner, const QString& title, const QString& filter) override;
    QString PickFolder(QWidget* owner, const QString& title, const QString& start) override;
    QString SaveFile(QWidget* owner, const QString& title, const QString& filter,
                     const QString& suggestion) override;
    QMessageBox::StandardButton Message(QWidget* owner, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override;
    bool MessageWithAction(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                           const QString& action) override;
};
