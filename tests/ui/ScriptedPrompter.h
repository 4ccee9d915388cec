#pragma once

#include "ui/Prompter.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace leafmill::test {

// Answers the windows' prompts from a script and records them; an unscripted prompt fails the test.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Critical, Question, OpenFiles, ChooseFolder };
    struct Prompt {
        Kind kind;
        QString text;
    };

    void message(QWidget*, const QString&, const QString& text) override { prompts.push_back({Kind::Message, text}); }
    void critical(QWidget*, const QString&, const QString& text) override { prompts.push_back({Kind::Critical, text}); }
    bool question(QWidget*, const QString&, const QString& text) override
    {
        prompts.push_back({Kind::Question, text});
        return next(answers);
    }
    OpenFilesAnswer openFiles(QWidget*, const OpenFilesRequest& request) override
    {
        prompts.push_back({Kind::OpenFiles, request.title});
        lastOpenRequest = request;
        return next(fileAnswers);
    }
    QString chooseFolder(QWidget*, const QString& title, const QString& preselected, const QList<FolderOffer>&) override
    {
        prompts.push_back({Kind::ChooseFolder, title});
        lastPreselectedFolder = preselected;
        return next(folderAnswers);
    }

    QStringList textsOf(Kind kind) const
    {
        QStringList out;
        for (const Prompt& prompt : prompts)
            if (prompt.kind == kind)
                out << prompt.text;
        return out;
    }

    std::vector<Prompt> prompts;
    std::deque<bool> answers;
    std::deque<OpenFilesAnswer> fileAnswers;
    std::deque<QString> folderAnswers;
    OpenFilesRequest lastOpenRequest;
    QString lastPreselectedFolder;

private:
    template <typename Answer> Answer next(std::deque<Answer>& script)
    {
        if (script.empty()) {
            ADD_FAILURE() << "unscripted prompt: " << prompts.back().text.toStdString();
            return {};
        }
        Answer answer = script.front();
        script.pop_front();
        return answer;
    }
};

}  // namespace leafmill::test
