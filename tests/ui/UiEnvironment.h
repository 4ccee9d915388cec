#pragma once

#include "TestSupport.h"
#include "app/SettingsStore.h"
#include "app/classIniFile.h"
#include "lang/LanguageTable.h"
#include "ui/Frm_Main.h"
#include "ui/Prompter.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"

#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace leafmill::test {

// Answers the windows' prompts from a script and records them; an unscripted prompt fails the test.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Critical, Question, OpenFiles, ChooseFolder };

    void message(QWidget*, const QString&, const QString& text) override { record(Kind::Message, text); }
    void critical(QWidget*, const QString&, const QString& text) override { record(Kind::Critical, text); }
    bool question(QWidget*, const QString&, const QString& text) override
    {
        return next(Kind::Question, text, answers);
    }
    OpenFilesAnswer openFiles(QWidget*, const OpenFilesRequest& request) override
    {
        lastOpenRequest = request;
        return next(Kind::OpenFiles, request.title, fileAnswers);
    }
    QString chooseFolder(QWidget*, const QString& title, const QString& preselected, const QList<FolderOffer>&) override
    {
        lastPreselectedFolder = preselected;
        return next(Kind::ChooseFolder, title, folderAnswers);
    }
    QStringList textsOf(Kind kind) const { return texts[int(kind)]; }

    std::vector<Kind> prompts;
    std::deque<bool> answers;
    std::deque<OpenFilesAnswer> fileAnswers;
    std::deque<QString> folderAnswers;
    OpenFilesRequest lastOpenRequest;
    QString lastPreselectedFolder;

private:
    void record(Kind kind, const QString& text)
    {
        prompts.push_back(kind);
        texts[int(kind)] << text;
    }
    template <typename Answer> Answer next(Kind kind, const QString& text, std::deque<Answer>& script)
    {
        record(kind, text);
        if (script.empty()) {
            ADD_FAILURE() << "unscripted prompt: " << text.toStdString();
            return {};
        }
        Answer answer = script.front();
        script.pop_front();
        return answer;
    }
    QStringList texts[5];
};

// One test's own copy of the shipped program folder, loaded as at start-up, with a scripted prompter.
class UiEnvironment {
public:
    UiEnvironment()
    {
        std::filesystem::create_directories(programFolder_);
        std::filesystem::copy_file(assetsDir() / "main.ini", iniPath());
        for (const char* folder : {"language", "images"})
            std::filesystem::copy(assetsDir() / folder, programFolder_ / folder,
                                  std::filesystem::copy_options::recursive);
    }

    const std::filesystem::path& programFolder() const { return programFolder_; }
    std::filesystem::path iniPath() const { return programFolder_ / "main.ini"; }
    // A key of main.ini, set before load() or read after a save.
    void setIniKey(const std::string& section, const std::string& key, const std::string& value)
    {
        classIniFile file = ini();
        ASSERT_TRUE(file.WriteIniKey(section, key, value)) << file.lastError();
    }
    std::string iniKey(const std::string& section, const std::string& key) const
    {
        return ini().GetIniKey(section, key);
    }
    // Loads the settings and their language as at start-up; fails the test on error.
    void load()
    {
        context_.reset();
        store_ = std::make_unique<SettingsStore>(iniPath());
        std::string error;
        ASSERT_TRUE(store_->LoadSettings(&error)) << error;
        auto language = std::make_shared<LanguageTable>();
        ASSERT_TRUE(language->LoadLanguageTable(programFolder_ / "language", store_->record().MyLagIndex,
                                                *store_->codePage(), &error))
            << error;
        context_ = std::make_unique<UiContext>(*store_, language, prompter, portableLayout(programFolder_));
    }

    UiContext& context() { return *context_; }
    SettingsStore& store() { return *store_; }
    QString text(int index) const { return context_->text(index); }
    ScriptedPrompter prompter;

private:
    classIniFile ini() const
    {
        classIniFile file;
        file.INIFileName(iniPath());
        return file;
    }

    TempDir dir_;
    std::filesystem::path programFolder_ = dir_ / "Leafmill";
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<UiContext> context_;
};

// A path as the windows show it.
inline QString shown(const std::filesystem::path& path)
{
    return ui::fromPath(path);
}

// The main window shown on a program folder of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.load();
        window = std::make_unique<Frm_Main>(env.context());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QWidget> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(child(name), button, {}, QPoint(5, 5));
    }

    UiEnvironment env;
    std::unique_ptr<Frm_Main> window;
};

}  // namespace leafmill::test
