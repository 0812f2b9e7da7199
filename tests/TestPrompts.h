#pragma once

#include "widgets/Prompts.h"

#include <QStringList>
#include <deque>

// Prompts answered from queues; every question asked is recorded.
class TestPrompts : public IPrompts {
public:
    QString OpenFile(QWidget*, const QString& title, const QString& filter, const QString&, const QString&,
                     const QString& folder) override {
        openTitles.push_back(title);
        openFilters.push_back(filter);
        openFolders.push_back(folder);
        return Next(openAnswers);
    }
    QStringList OpenFiles(QWidget*, const QString& title, const QString& filter) override {
        openTitles.push_back(title);
        openFilters.push_back(filter);
        if (openFilesAnswers.empty())
            return {};
        QStringList answer = openFilesAnswers.front();
        openFilesAnswers.pop_front();
        return answer;
    }
    QString PickFolder(QWidget*, const QString& title, const QString& start) override {
        folderTitles.push_back(title);
        folderStarts.push_back(start);
        return Next(folderAnswers);
    }
    QString SaveFile(QWidget*, const QString& title, const QString& filter,
                     const QString& suggestion) override {
        saveTitles.push_back(title);
        saveFilters.push_back(filter);
        saveSuggestions.push_back(suggestion);
        return Next(saveAnswers);
    }
    QMessageBox::StandardButton Message(QWidget*, const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::Icon icon) override {
        messages.push_back(text);
        messageButtons.push_back(buttons);
        messageIcons.push_back(icon);
        if (messageAnswers.empty())
            return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    // Recorded as a message with an OK button; pressed as actionAnswers say (not pressed when empty).
    bool MessageWithAction(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                           const QString& action) override {
        actions.push_back(action);
        Message(owner, text, QMessageBox::Ok, icon);
        if (actionAnswers.empty())
            return false;
        const bool pressed = actionAnswers.front();
        actionAnswers.pop_front();
        return pressed;
    }

    std::deque<QString> openAnswers;
    std::deque<QStringList> openFilesAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QMessageBox::StandardButton> messageAnswers;
    std::deque<bool> actionAnswers;
    QStringList openTitles, openFilters, openFolders, folderTitles, folderStarts, messages, actions;
    QStringList saveTitles, saveFilters, saveSuggestions;
    std::vector<QMessageBox::StandardButtons> messageButtons;
    std::vector<QMessageBox::Icon> messageIcons;

private:
    static QString Next(std::deque<QString>& answers) {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
