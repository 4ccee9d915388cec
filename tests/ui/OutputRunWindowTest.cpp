#include "UiEnvironment.h"
#include "app/SettingsStore.h"
#include "controls/Xp_ProgressBar.h"
#include "lang/StringId.h"
#include "ui/Frm_Main.h"
#include "ui/UiContext.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <map>
#include <thread>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;
using Kind = ScriptedPrompter::Kind;

// Every file of a book folder with its bytes.
std::map<std::string, std::string> bookFiles(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    if (!fs::is_directory(folder))
        return files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

class OutputRunWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.load();
        window = std::make_unique<Frm_Main>(env.context());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Documents of three kinds, a plain text first.
        const fs::path documents = documentsDir();
        fs::copy_file(documents / "sources" / "letter.txt", sourceDir / "form.txt");
        fs::copy_file(documents / "sources" / "letter.html", sourceDir / "table.html");
        fs::copy_file(documents / "letter.rtf", sourceDir / "issue.rtf");
        sources = {shown(sourceDir / "form.txt"), shown(sourceDir / "table.html"), shown(sourceDir / "issue.rtf")};
        connect();
    }

    void connect()
    {
        QObject::connect(window.get(), &Frm_Main::runSourceShown, [this](int index, const QString& path) {
            shownSources << index;
            EXPECT_EQ(child<QLabel>("Label2")->text(), env.text(StringId::Converting) + path);
            EXPECT_TRUE(child("Pic_Make")->isVisible());
            EXPECT_FALSE(child("Pic_MainFace")->isEnabled());
            EXPECT_TRUE(window->isRunning());
            if (duringSource)
                duringSource(index);
        });
    }
    template <typename T = QWidget> T* child(const char* name) const
    {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void prepare(const QString& bookName, const QStringList& files)
    {
        child<QLineEdit>("Text1")->setText(bookName);
        for (const QString& file : files)
            window->fileList().addUnique(file);
    }
    void clickOutput() { QTest::mouseClick(child("Cmd_Output"), Qt::LeftButton, {}, {5, 5}); }
    // Starts a run into the output folder and waits for its end.
    void runToTheEnd()
    {
        env.prompter.folderAnswers.push_back(shown(outDir.path()));
        QSignalSpy ended(window.get(), &Frm_Main::runEnded);
        clickOutput();
        ASSERT_TRUE(window->isRunning());
        ASSERT_TRUE(ended.wait(60000));
        EXPECT_FALSE(window->isRunning());
    }
    void clickStop() { QTest::mouseClick(child("Cmd_StopOutput"), Qt::LeftButton, {}, {5, 5}); }
    QString finished(const char* bookName) const
    {
        return env.text(StringId::RunFinished).replace(QStringLiteral("@BookName"), QString::fromLatin1(bookName));
    }
    QStringList endMessages() const { return env.prompter.textsOf(Kind::Message); }

    UiEnvironment env;
    TempDir sourceDir;
    TempDir outDir;
    QStringList sources;
    std::unique_ptr<Frm_Main> window;
    QList<int> shownSources;
    std::function<void(int)> duringSource;
};

TEST_F(OutputRunWindowTest, TheChecksComeBeforeTheFolderChooser)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* bookName = child<QLineEdit>("Text1");

    // The name is checked first, then its characters, then the list.
    prepare(QString(), {});
    child<QListWidget>("List1")->setFocus();
    clickOutput();
    prepare(QStringLiteral("My/Book"), {sources[0]});
    child<QListWidget>("List1")->setFocus();
    clickOutput();
    EXPECT_EQ(QApplication::focusWidget(), bookName);
    child<QListWidget>("List1")->clear();
    prepare(QStringLiteral("Alice"), {});
    clickOutput();

    EXPECT_EQ(endMessages(),
              (QStringList {env.text(StringId::BookNameEmpty), env.text(StringId::BookNameInvalid),
                            env.text(StringId::FileListEmpty)}));
    EXPECT_EQ(env.prompter.of(Kind::Message)[0].caption, QStringLiteral("Leafmill"));
    EXPECT_TRUE(env.prompter.of(Kind::ChooseFolder).empty());
    EXPECT_FALSE(window->isRunning());
}

TEST_F(OutputRunWindowTest, ACancelledOrMissingFolderEndsSilently)
{
    prepare(QStringLiteral("Alice"), sources);
    env.prompter.folderAnswers = {QString(), shown(outDir / "not-there")};
    clickOutput();
    clickOutput();
    EXPECT_EQ(env.prompter.textsOf(Kind::ChooseFolder),
              (QStringList {env.text(StringId::OutputFolderTitle), env.text(StringId::OutputFolderTitle)}));
    EXPECT_TRUE(endMessages().isEmpty());
    EXPECT_FALSE(window->isRunning());
    EXPECT_FALSE(child("Pic_Make")->isVisible());
    EXPECT_TRUE(fs::is_empty(outDir.path()));
}

TEST_F(OutputRunWindowTest, ACompleteRunWritesTheBookAndRemembersItsFolder)
{
    env.store().record().OutPutDir = "/earlier/Book/";
    prepare(QStringLiteral("Alice"), sources);
    duringSource = [this](int) {
        // The shortcuts would reorder the entries the run reads by position.
        QTest::keyClick(window.get(), Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_Down, Qt::ShiftModifier);
    };
    child<QListWidget>("List1")->item(1)->setSelected(true);
    runToTheEnd();

    EXPECT_EQ(env.prompter.lastPreselectedFolder, QStringLiteral("/earlier")) << "the last book's parent";
    EXPECT_EQ(shownSources, (QList<int> {0, 1, 2}));
    EXPECT_EQ(window->fileList().paths(), sources);
    ASSERT_EQ(endMessages().size(), 1);
    EXPECT_TRUE(endMessages()[0].startsWith(finished("Alice"))) << endMessages()[0].toStdString();
    EXPECT_TRUE(env.prompter.of(Kind::Question).empty());

    const fs::path book = outDir / "Alice";
    EXPECT_EQ(env.store().record().OutPutDir, (book / "").string());
    EXPECT_FALSE(bookFiles(book).empty());
    EXPECT_EQ(child<Xp_ProgressBar>("ProgressBar1")->value(), 100);
    EXPECT_EQ(child<Xp_ProgressBar>("ProgressBar2")->value(), 0);
    EXPECT_FALSE(child("Pic_Make")->isVisible());
    EXPECT_TRUE(child("Pic_MainFace")->isEnabled());

    // Shift+Up works again once the run is over.
    QTest::keyClick(window.get(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window->fileList().paths().constFirst(), sources[1]);
}

TEST_F(OutputRunWindowTest, StopAnsweredYesEndsTheRunAfterTheCurrentSource)
{
    prepare(QStringLiteral("Alice"), sources);
    duringSource = [this](int index) {
        if (index == 0)
            clickStop();
    };
    env.prompter.answers = {true};
    runToTheEnd();

    EXPECT_EQ(shownSources, QList<int> {0});
    EXPECT_EQ(env.prompter.textsOf(Kind::Question), QStringList {env.text(StringId::AskStopRun)});
    ASSERT_EQ(endMessages().size(), 1);
    EXPECT_TRUE(endMessages()[0].startsWith(env.text(StringId::RunStopped))) << endMessages()[0].toStdString();
    EXPECT_EQ(child<Xp_ProgressBar>("ProgressBar1")->value(), 100);
    const auto stoppedBook = bookFiles(outDir / "Alice");
    ASSERT_FALSE(stoppedBook.empty());

    // Exactly the pages of the first source: the same as a book of it alone.
    child<QListWidget>("List1")->clear();
    duringSource = nullptr;
    prepare(QStringLiteral("Solo"), {sources[0]});
    runToTheEnd();
    // The pages, and the links between them, under the other book's name.
    auto asAlice = [](std::string text) {
        for (std::size_t at = text.find("Solo"); at != std::string::npos; at = text.find("Solo", at))
            text.replace(at, 4, "Alice");
        return text;
    };
    std::map<std::string, std::string> renamed;
    for (const auto& [name, bytes] : bookFiles(outDir / "Solo"))
        renamed[asAlice(name)] = asAlice(bytes);
    EXPECT_EQ(stoppedBook, renamed);
}

TEST_F(OutputRunWindowTest, ABookTheReaderCannotLoadWholeIsMadeOnlyWhenTheUserSaysSo)
{
    // An iPod whose Notes folder has room for one more note.
    const fs::path notes = outDir / "Notes";
    fs::create_directories(outDir / "iPod_Control");
    fs::create_directories(notes);
    for (int i = 0; i < 999; ++i)
        writeFile(notes / ("n" + std::to_string(i) + ".txt"), "x");
    const auto size = static_cast<long long>(fs::file_size(sourceDir / "form.txt"));
    const long long pages = (size + 3999) / 4000 + 1; // the shipped row's pages and the contents
    const QString question = env.text(StringId::AskTooManyNotes)
                                 .replace(QStringLiteral("@Notes"), QString::number(pages))
                                 .replace(QStringLiteral("@Limit"), QStringLiteral("1"));
    prepare(QStringLiteral("Alice"), {sources[0]});
    for (const bool answer : {false, true}) {
        env.prompter.answers = {answer};
        env.prompter.folderAnswers.push_back(shown(notes));
        QSignalSpy ended(window.get(), &Frm_Main::runEnded);
        clickOutput();
        EXPECT_EQ(env.prompter.textsOf(Kind::Question).last(), question);
        EXPECT_EQ(window->isRunning(), answer);
        if (answer) {
            ASSERT_TRUE(ended.wait(60000));
        }
        EXPECT_EQ(fs::exists(notes / "Alice" / "Alice0000.txt"), answer);
    }
}

TEST_F(OutputRunWindowTest, StopAnsweredNoGoesOnToTheEnd)
{
    prepare(QStringLiteral("Alice"), sources);
    duringSource = [this](int index) {
        if (index == 0)
            clickStop();
    };
    env.prompter.answers = {false};
    runToTheEnd();
    EXPECT_EQ(shownSources, (QList<int> {0, 1, 2}));
    EXPECT_EQ(env.prompter.textsOf(Kind::Question), QStringList {env.text(StringId::AskStopRun)});
    ASSERT_EQ(endMessages().size(), 1);
    EXPECT_TRUE(endMessages()[0].startsWith(finished("Alice"))) << endMessages()[0].toStdString();
}

TEST_F(OutputRunWindowTest, StopDuringTheLastSourceAsksNothingButEndsAsStopped)
{
    prepare(QStringLiteral("Alice"), sources);
    duringSource = [this](int index) {
        if (index == 2)
            clickStop();
    };
    runToTheEnd();
    EXPECT_EQ(shownSources, (QList<int> {0, 1, 2}));
    EXPECT_TRUE(env.prompter.of(Kind::Question).empty());
    ASSERT_EQ(endMessages().size(), 1);
    EXPECT_TRUE(endMessages()[0].startsWith(env.text(StringId::RunStopped))) << endMessages()[0].toStdString();
}

TEST_F(OutputRunWindowTest, ClosingDuringARunAsksThenStopsAndUnloads)
{
    prepare(QStringLiteral("Alice"), sources);
    // No: the run and the window go on.
    duringSource = [this](int index) {
        if (index == 0)
            window->close();
    };
    env.prompter.answers = {false};
    runToTheEnd();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(shownSources, (QList<int> {0, 1, 2}));
    EXPECT_EQ(endMessages().size(), 1u);

    // Yes: the current source is finished, then the window unloads and saves.
    shownSources.clear();
    env.prompter.prompts.clear();
    child<QLineEdit>("Text1")->setText(QStringLiteral("Bob"));
    env.prompter.answers = {true};
    runToTheEnd();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(shownSources, QList<int> {0});
    EXPECT_EQ(env.prompter.textsOf(Kind::Question), QStringList {env.text(StringId::AskStopRun)});
    EXPECT_TRUE(endMessages().isEmpty());
    EXPECT_FALSE(bookFiles(outDir / "Bob").empty());
    EXPECT_EQ(env.iniKey("UserSettings", "BookName"), "Bob");
    EXPECT_EQ(env.iniKey("UserSettings", "OutPutDir"), (outDir / "Bob" / "").string());
}

TEST_F(OutputRunWindowTest, TheCloseQuestionHoldsTheRunAndOutputIsRedAgainAfterwards)
{
    // A source long enough that the run is still cutting it when the question
    // comes, and short enough to stay below the reader's 1,000 notes (which
    // would be asked about first).
    std::string line(78, 'x');
    line += "\r\n";
    std::string big;
    for (int i = 0; i < 45000; ++i)
        big += line;
    writeFile(sourceDir / "long.txt", big);
    prepare(QStringLiteral("Held"), {shown(sourceDir / "long.txt"), sources[0]});
    const fs::path book = outDir / "Held";
    // Close once the first page is there, however slow the machine is.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (fs::exists(book / "Held0000.txt")) {
            closer.stop();
            window->close();
        }
    });
    duringSource = [&](int index) {
        if (index == 0)
            closer.start(2);
    };
    std::size_t atQuestion = 0;
    std::size_t afterWaiting = 0;
    env.prompter.duringQuestion = [&] {
        // The page being written when the question came may still land; no other.
        atQuestion = bookFiles(book).size();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        afterWaiting = bookFiles(book).size();
    };
    env.prompter.answers = {false};
    runToTheEnd();
    ASSERT_EQ(env.prompter.textsOf(Kind::Question), QStringList {env.text(StringId::AskStopRun)});
    EXPECT_GT(atQuestion, 0u);
    EXPECT_LE(afterWaiting, atQuestion + 1) << "pages were written while the question was open";
    EXPECT_EQ(shownSources, (QList<int> {0, 1}));
    EXPECT_GT(bookFiles(book).size(), afterWaiting);

    // The disabled panel gave the disabled look for the run; the caption is red again.
    const QImage output = child("Cmd_Output")->grab().toImage();
    int red = 0;
    for (int y = 0; y < output.height(); ++y)
        for (int x = 0; x < output.width(); ++x)
            red += (output.pixel(x, y) & 0xFFFFFFu) == 0xFF0000u;
    EXPECT_GT(red, 10);
}

TEST_F(OutputRunWindowTest, DestroyingTheWindowDuringARunStopsIt)
{
    prepare(QStringLiteral("Alice"), sources);
    duringSource = [this](int index) {
        if (index == 0)
            QMetaObject::invokeMethod(
                window.get(), [this] { window.reset(); }, Qt::QueuedConnection);
    };
    env.prompter.folderAnswers.push_back(shown(outDir.path()));
    clickOutput();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window == nullptr; }, 60000));
    EXPECT_EQ(shownSources, QList<int> {0});
    EXPECT_TRUE(env.prompter.of(Kind::Question).empty());
}

}  // namespace
}  // namespace leafmill::test
