#pragma once

#include "ui/Prompter.h"

#include <deque>
#include <vector>

namespace leafmill::test {

// Answers the windows' questions and dialogs from a script and records what
// was asked. A question or dialog the test did not script fails the test.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Critical, Question, OpenFiles, ChooseFolder };
    struct Prompt {
        Kind kind;
        QString caption;
        QString text;
    };

    void message(QWidget* owner, const QString& caption, const QString& text) override;
    void critical(QWidget* owner, const QString& caption, const QString& text) override;
    bool question(QWidget* owner, const QString& caption, const QString& text) override;
    OpenFilesAnswer openFiles(QWidget* owner, const OpenFilesRequest& request) override;
    QString chooseFolder(QWidget* owner, const QString& title, const QString& preselected,
                         const QList<FolderOffer>& offers) override;

    // The prompts of one kind, in order.
    std::vector<Prompt> of(Kind kind) const;
    QStringList textsOf(Kind kind) const;

    std::vector<Prompt> prompts;
    std::deque<bool> answers;
    std::deque<OpenFilesAnswer> fileAnswers;
    std::deque<QString> folderAnswers;
    OpenFilesRequest lastOpenRequest;
    QString lastPreselectedFolder;
};

}  // namespace leafmill::test
