// The main window's run on the real engine; what a run makes is the engine suite's.
#include "FolderEntries.h"
#include "UiEnvironment.h"
#include "controls/Xp_ProgressBar.h"
#include "lang/StringId.h"
#include "ui/PreviewWindow.h"
#include "ui/TimeLeft.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;
using Kind = ScriptedPrompter::Kind;

class OutputRunWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (auto [from, to] : {std::pair {"sources/letter.txt", "form.txt"},
                                {"sources/letter.html", "table.html"},
                                {"letter.rtf", "issue.rtf"}}) {
            fs::copy_file(documentsDir() / from, sourceDir / to);
            sources << shown(sourceDir / to);
        }
        QObject::connect(window.get(), &Frm_Main::runSourceShown, [this](int index, const QString& path) {
            shownSources << index;
            EXPECT_EQ(child<QLabel>("Label2")->toolTip(), env.text(StringId::Converting) + path);
            EXPECT_TRUE(child("Pic_Make")->isVisible());
            EXPECT_FALSE(child("Pic_MainFace")->isEnabled());
            if (duringSource)
                duringSource(index);
        });
    }
    // Names the book, lists the files and starts a run into `folder`.
    void start(const char* bookName, const QStringList& files, const fs::path& folder)
    {
        child<QLineEdit>("Text1")->setText(QString::fromLatin1(bookName));
        for (const QString& file : files)
            window->fileList().addUnique(file);
        env.prompter.folderAnswers.push_back(shown(folder));
        click("Cmd_Output");
    }
    // Starts a run and waits for its end.
    void runToTheEnd(const char* bookName)
    {
        QSignalSpy ended(window.get(), &Frm_Main::runEnded);
        start(bookName, sources, outDir.path());
        ASSERT_TRUE(window->isRunning());
        ASSERT_TRUE(ended.wait(120000));
        EXPECT_FALSE(window->isRunning());
    }
    QStringList endMessages() const { return env.prompter.textsOf(Kind::Message); }

    TempDir sourceDir, outDir;
    QStringList sources;
    QList<int> shownSources;
    std::function<void(int)> duringSource;
};

// A refused name is told; a cancelled or missing folder ends silently; a No to the reader's questions
// or to replacing a book of the same name makes nothing, a Yes to its volumes makes the book in them.
TEST_F(OutputRunWindowTest, NothingRunsWithoutANameAFolderTheReadersYesAndAYesToReplaceABook)
{
    window->fileList().addUnique(sources[0]);
    child<QLineEdit>("Text1")->setText(QStringLiteral("My/Book"));
    click("Cmd_Output");
    EXPECT_EQ(endMessages(), QStringList {env.text(StringId::BookNameInvalid)});
    env.prompter.folderAnswers = {QString()};
    start("Alice", {}, outDir / "not-there");
    click("Cmd_Output");
    EXPECT_EQ(env.prompter.textsOf(Kind::ChooseFolder).size(), 2);
    // An iPod whose Notes folder has room for one more note.
    const fs::path notes = outDir / "Notes";
    fs::create_directories(outDir / "iPod_Control");
    fs::create_directories(notes);
    for (int i = 0; i < 999; ++i)
        writeFile(notes / ("n" + std::to_string(i) + ".txt"), "x");
    env.prompter.answers = {false, false};
    start("Alice", {}, notes);
    const QStringList asked = env.prompter.textsOf(Kind::Question);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("volumes of at most 1000 notes"))) << asked[0].toStdString();
    EXPECT_TRUE(asked[1].endsWith(QStringLiteral("loads only 1. Make the book anyway?"))) << asked[1].toStdString();
    EXPECT_EQ(endMessages().size(), 1);
    EXPECT_FALSE(window->isRunning());
    EXPECT_FALSE(fs::exists(notes / "Alice"));
    EXPECT_FALSE(fs::exists(outDir / "Alice"));
    env.prompter.answers = {true};
    QSignalSpy ended(window.get(), &Frm_Main::runEnded);
    start("Alice", {}, notes);
    ASSERT_TRUE(ended.wait(120000));
    EXPECT_EQ(entriesOf(notes / "Alice"), (std::vector<std::string> {".leafmill.txt", "Alice 1"}));
    EXPECT_TRUE(fs::exists(notes / "Alice" / "Alice 1" / "00 Contents.txt"));

    fs::create_directories(outDir / "Old" / "images");
    for (const char* page : {"Old0000.txt", "Old0001.TXT", "00 Contents.txt"})
        writeFile(outDir / "Old" / page, "old\r\n");
    env.prompter.answers = {false};
    start("Old", {}, outDir.path());
    EXPECT_EQ(env.prompter.textsOf(Kind::Question).last(),
              env.text(StringId::AskReplaceBook)
                  .replace("@BookName", "Old")
                  .replace("@Folder", shown(outDir / ""))
                  .replace("@Pages", "3"));
    EXPECT_FALSE(window->isRunning());
    EXPECT_EQ(readFile(outDir / "Old" / "Old0000.txt"), "old\r\n");
}

TEST(TimeLeftTest, ComesFromTheRateSoFarOnceThereIsOne)
{
    for (auto [elapsedMs, percent, left] : {std::tuple {30000, 25, "1:30"},
                                            {2000, 50, "0:02"},
                                            {1000, 50, ""},
                                            {60000, 1, ""},
                                            {3600000, 40, "1:30:00"},
                                            {5000, 100, ""}})
        EXPECT_EQ(timeLeft(elapsedMs, percent), QString::fromLatin1(left)) << elapsedMs << " ms, " << percent << " %";
}

TEST_F(OutputRunWindowTest, ACompleteRunWritesTheBookShowsItsEndAndRemembersItsFolder)
{
    env.store().record().OutPutDir = "/earlier/Book/";
    duringSource = [this](int) {
        // The shortcuts would reorder the entries the run reads by position.
        QTest::keyClick(window.get(), Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_Down, Qt::ShiftModifier);
    };
    window->fileList().addUnique(sources[0]);
    child<QListWidget>("List1")->item(0)->setSelected(true);
    runToTheEnd("Alice");

    EXPECT_EQ(env.prompter.lastPreselectedFolder, QStringLiteral("/earlier")) << "the last book's parent";
    EXPECT_EQ(shownSources, (QList<int> {0, 1, 2}));
    EXPECT_EQ(window->fileList().paths(), sources);
    ASSERT_EQ(endMessages().size(), 1);
    EXPECT_EQ(env.store().record().OutPutDir, (outDir / "Alice" / "").string());
    EXPECT_FALSE(entriesOf(outDir / "Alice").empty());
    EXPECT_EQ(child<Xp_ProgressBar>("ProgressBar1")->value(), 100);
    EXPECT_FALSE(child("Pic_Make")->isVisible());
    EXPECT_TRUE(child("Pic_MainFace")->isEnabled());
    // Shift+Down works again once the run is over.
    QTest::keyClick(window.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->fileList().paths().constFirst(), sources[1]);
    // Preview opens the book folder chosen, preselecting the one just made.
    env.prompter.folderAnswers = {shown(outDir / "Alice")};
    click("Cmd_Preview");
    EXPECT_EQ(env.prompter.lastPreselectedFolder, QString::fromStdString(env.store().record().OutPutDir));
    PreviewWindow* preview = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* shownPreview = qobject_cast<PreviewWindow*>(top); shownPreview && shownPreview->isVisible())
            preview = shownPreview;
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->screenTitle(), QStringLiteral("Alice"));
    // Check tells what the reader would find.
    QTest::mouseClick(preview->findChild<QWidget*>(QStringLiteral("Cmd_Check")), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(endMessages().size(), 2);
    EXPECT_TRUE(endMessages()[1].contains(QString::fromStdString((outDir / "Alice").string())))
        << endMessages()[1].toStdString();
}

// Stop and the close button both ask, and a Yes ends the run at once.
TEST_F(OutputRunWindowTest, StopOrCloseAsksAndAYesEndsTheRunAtOnce)
{
    for (bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "close" : "stop");
        duringSource = [&](int index) {
            if (index == 0)
                closing ? (void)window->close() : click("Cmd_StopOutput");
        };
        shownSources.clear();
        env.prompter.answers = {true};
        runToTheEnd(closing ? "Bob" : "Alice");
        EXPECT_EQ(shownSources, QList<int> {0});
        EXPECT_EQ(env.prompter.textsOf(Kind::Question).size(), closing ? 2 : 1);
        EXPECT_EQ(env.prompter.textsOf(Kind::Question).last(), env.text(StringId::AskStopRun));
        ASSERT_EQ(endMessages().size(), 1) << "no end message when closing";
        EXPECT_TRUE(endMessages()[0].startsWith(env.text(StringId::RunStopped))) << endMessages()[0].toStdString();
        EXPECT_EQ(window->isVisible(), !closing);
    }
    EXPECT_EQ(env.iniKey("UserSettings", "BookName"), "Bob") << "the settings saved on the way out";
}

TEST_F(OutputRunWindowTest, DestroyingTheWindowDuringARunStopsIt)
{
    duringSource = [this](int index) {
        if (index == 0)
            QMetaObject::invokeMethod(
                window.get(), [this] { window.reset(); }, Qt::QueuedConnection);
    };
    start("Alice", sources, outDir.path());
    ASSERT_TRUE(QTest::qWaitFor([this] { return window == nullptr; }, 120000));
    EXPECT_EQ(shownSources, QList<int> {0});
    EXPECT_TRUE(env.prompter.textsOf(Kind::Question).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
