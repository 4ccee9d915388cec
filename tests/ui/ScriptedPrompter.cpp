#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace leafmill::test {

void ScriptedPrompter::message(QWidget*, const QString& caption, const QString& text)
{
    prompts.push_back({Kind::Message, caption, text});
}

void ScriptedPrompter::critical(QWidget*, const QString& caption, const QString& text)
{
    prompts.push_back({Kind::Critical, caption, text});
}

bool ScriptedPrompter::question(QWidget*, const QString& caption, const QString& text)
{
    prompts.push_back({Kind::Question, caption, text});
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

OpenFilesAnswer ScriptedPrompter::openFiles(QWidget*, const OpenFilesRequest& request)
{
    prompts.push_back({Kind::OpenFiles, QString(), request.title});
    lastOpenRequest = request;
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unscripted add-files dialog";
        return {};
    }
    OpenFilesAnswer answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString ScriptedPrompter::chooseFolder(QWidget*, const QString& title, const QString& preselected,
                                       const QList<FolderOffer>&)
{
    prompts.push_back({Kind::ChooseFolder, QString(), title});
    lastPreselectedFolder = preselected;
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unscripted folder chooser";
        return {};
    }
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::vector<ScriptedPrompter::Prompt> ScriptedPrompter::of(Kind kind) const
{
    std::vector<Prompt> out;
    for (const Prompt& prompt : prompts) {
        if (prompt.kind == kind)
            out.push_back(prompt);
    }
    return out;
}

QStringList ScriptedPrompter::textsOf(Kind kind) const
{
    QStringList out;
    for (const Prompt& prompt : of(kind))
        out << prompt.text;
    return out;
}

}  // namespace leafmill::test
