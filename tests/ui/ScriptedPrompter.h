#pragma once

#include "ui/Prompter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <iterator>
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

    void message(QWidget*, const QString& caption, const QString& text) override
    {
        record(Kind::Message, caption, text);
    }
    void critical(QWidget*, const QString& caption, const QString& text) override
    {
        record(Kind::Critical, caption, text);
    }
    bool question(QWidget*, const QString& caption, const QString& text) override
    {
        record(Kind::Question, caption, text);
        return next(answers);
    }
    OpenFilesAnswer openFiles(QWidget*, const OpenFilesRequest& request) override
    {
        record(Kind::OpenFiles, {}, request.title);
        lastOpenRequest = request;
        return next(fileAnswers);
    }
    QString chooseFolder(QWidget*, const QString& title, const QString& preselected, const QList<FolderOffer>&) override
    {
        record(Kind::ChooseFolder, {}, title);
        lastPreselectedFolder = preselected;
        return next(folderAnswers);
    }

    // The prompts of one kind, in order, and their texts.
    std::vector<Prompt> of(Kind kind) const
    {
        std::vector<Prompt> out;
        std::copy_if(prompts.begin(), prompts.end(), std::back_inserter(out), [&](auto& p) { return p.kind == kind; });
        return out;
    }
    QStringList textsOf(Kind kind) const
    {
        QStringList out;
        for (const Prompt& prompt : of(kind))
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
    void record(Kind kind, const QString& caption, const QString& text) { prompts.push_back({kind, caption, text}); }
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
