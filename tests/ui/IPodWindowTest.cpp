// The iPod window driven as a person would, on an iPod laid out in a
// temporary folder and named by a mount table of the test's own.
#include "UiEnvironment.h"
#include "lang/StringId.h"
#include "ui/Frm_IPod.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;

void put(const fs::path& file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    writeFile(file, bytes);
}

TEST(IPodWindowTest, SendRemoveAndTheRefusalsAreToldAndTheListFollows)
{
    UiEnvironment env;
    env.load();
    TempDir dir;
    const fs::path notes = dir / "IPOD" / "Notes";
    fs::create_directories(dir / "IPOD" / "iPod_Control");
    put(notes / "Theirs" / "a.txt", "theirs");
    put(dir / "Emma" / "Emma0.txt", "page");
    put(dir / "Emma" / ".leafmill.txt", "Leafmill book record 1\r\nEmma0.txt\r\n");
    put(dir / "mounts", "ipod-image " + dir.path().string() + "/IPOD vfat rw 0 0\n");
    bool connected = false;
    Frm_IPod window(env.context(),
                    [&] { return connected ? findIPods(dir / "mounts", {}, 0) : std::vector<IPodVolume> {}; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    const auto entries = [list] {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        return shown;
    };
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label2"))->text(), env.text(StringId::NoIPod));
    EXPECT_FALSE(window.findChild<QWidget*>(QStringLiteral("Cmd_Send"))->isEnabled());

    connected = true;
    window.refresh();
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText(),
              shown(dir / "IPOD") + " \u2013 FAT32");
    EXPECT_EQ(entries(), QStringList {"Theirs (1 notes)"});
    env.prompter.folderAnswers = {shown(dir / "Emma")};
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(entries(), (QStringList {"Emma (2 notes) \u2013 made by Leafmill", "Theirs (1 notes)"}));
    EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("Label2"))->text().startsWith("Notes in use: 3 of 1,000"));

    list->setCurrentRow(1);  // another program's: refused without a question
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Cmd_Remove")), Qt::LeftButton, {}, QPoint(5, 5));
    list->setCurrentRow(0);
    env.prompter.answers = {true};
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(entries(), QStringList {"Theirs (1 notes)"});
    EXPECT_EQ(readFile(notes / "Theirs" / "a.txt"), "theirs");
    env.prompter.folderAnswers = {shown(dir / "Emma")};
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(
        env.prompter.textsOf(ScriptedPrompter::Kind::Message).join(QChar(u'\n')).toStdString(),
        (QStringList {"Emma is on the iPod now (1 pages).",
                      "Theirs on the iPod was not made by Leafmill, or holds files it did not write; it is left as "
                      "it is.",
                      "Emma was removed from the iPod (1 files).", "Emma is not in volumes: it goes to the iPod whole.",
                      env.text(StringId::EjectNotOffered)})
            .join(QChar(u'\n'))
            .toStdString());
}

TEST_F(MainWindowTest, TheIPodButtonOpensTheIPodWindow)
{
    click("Cmd_IPod");
    QWidget* opened = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "Frm_IPod" && top->isVisible())
            opened = top;
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle(), "iPod");
}

}  // namespace
}  // namespace leafmill::test
