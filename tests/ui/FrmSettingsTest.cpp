// The settings dialog: what it shows is the stored settings, what OK takes is
// stored and saved, and a language change reaches the main window.
#include "UiEnvironment.h"
#include "app/SettingsStore.h"
#include "controls/xpcmdbutton.h"
#include "lang/StringId.h"
#include "ui/Frm_Main.h"
#include "ui/Frm_Settings.h"
#include "ui/UiContext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;

class FrmSettingsTest : public ::testing::Test {
protected:
    // Opens the dialog on the environment as it stands.
    void open()
    {
        if (!loaded_)
            env.load();
        loaded_ = true;
        dialog = std::make_unique<Frm_Settings>(env.context(), [this] { ++redraws; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    template <typename T = QWidget> T* child(const QString& name) const { return dialog->findChild<T*>(name); }
    QLineEdit* joint() const { return child<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit* box(int i) const { return child<QLineEdit>(QStringLiteral("Text2(%1)").arg(i)); }
    QComboBox* languages() const { return child<QComboBox>(QStringLiteral("Combo2")); }
    void click(const char* name) { QTest::mouseClick(child(QString::fromLatin1(name)), Qt::LeftButton, {}, {5, 5}); }

    UiEnvironment env;
    std::unique_ptr<Frm_Settings> dialog;
    int redraws = 0;
    bool loaded_ = false;
};

TEST_F(FrmSettingsTest, JointCharactersTakeDigitsOnlyAndAreCorrectedOnKeyRelease)
{
    open();
    QLineEdit* box = joint();
    box->setFocus();
    box->clear();
    QTest::keyClick(box, Qt::Key_7);
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Minus);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    // "70" goes in and becomes "64" as the key comes up.
    QTest::keyPress(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("70"));
    QTest::keyRelease(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("64"));
    // Deleting both digits gives "32" at once; keys that type nothing keep
    // their editing role.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("32"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("2"));
}

TEST_F(FrmSettingsTest, OkStoresTheValuesAndSavesThemAndTheNextOpeningShowsThem)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), env.text(StringId::SettingsButton));
    EXPECT_EQ(child<xpcmdbutton>(QStringLiteral("Command1"))->Caption(), env.text(StringId::OkButton));
    EXPECT_EQ(box(0)->text(), QStringLiteral("enter"));
    EXPECT_EQ(box(5)->text(), QStringLiteral("space"));

    // A cleared box gives its place to the words after it.
    joint()->setText(QStringLiteral("40"));
    box(1)->setText(QStringLiteral("Space"));
    box(2)->setText(QStringLiteral("ENTER"));
    box(3)->setText(QString());
    box(4)->setText(QStringLiteral("。"));
    click("Command1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const Settings& settings = env.store().record();
    EXPECT_EQ(settings.KeepFileSize, 40);
    EXPECT_EQ(settings.CutWord, (std::vector<std::string> {"\r\n", " ", "\r\n", "。", " ", ""}));
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), "40");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord1"), "space");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord3"), "。");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord5"), "");
    EXPECT_EQ(redraws, 0) << "the same language: no redraw of the main window";

    open();
    EXPECT_EQ(box(1)->text(), QStringLiteral("space"));
    EXPECT_EQ(joint()->text(), QStringLiteral("40"));
    EXPECT_EQ(box(5)->text(), QString());
}

struct Pasted {
    const char* text;  // what the box holds, at most its two characters
    int stored;
};

class PastedJointTest : public FrmSettingsTest, public ::testing::WithParamInterface<Pasted> { };

// Pasted text skips the key correction: OK stores a number, rounded half to
// even into the range, and keeps the stored value (7) for anything else.
TEST_P(PastedJointTest, IsStoredOnlyWhenItIsANumber)
{
    env.setIniKey("UserSettings", "KeepFileSize", "7");
    open();
    joint()->setText(QString::fromUtf8(GetParam().text));
    click("Command1");
    EXPECT_EQ(env.store().record().KeepFileSize, GetParam().stored);
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), std::to_string(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(Table, PastedJointTest,
                         ::testing::Values(Pasted {"12", 12}, Pasted {" 9", 9}, Pasted {"99", 64}, Pasted {"-5", 0},
                                           Pasted {".5", 0}, Pasted {".6", 1}, Pasted {"ab", 7}, Pasted {"", 7}),
                         [](const auto& row) { return "row" + std::to_string(row.index); });

TEST_F(FrmSettingsTest, CancelAndTheCloseButtonDiscard)
{
    open();
    const std::string before = readFile(env.iniPath());
    joint()->setText(QStringLiteral("12"));
    box(0)->setText(QStringLiteral("x"));
    click("Command2");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    open();
    joint()->setText(QStringLiteral("12"));
    QTest::mousePress(child(QStringLiteral("iclose")), Qt::RightButton, {}, {8, 8});
    QTest::mouseRelease(child(QStringLiteral("iclose")), Qt::RightButton, {}, {8, 8});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(env.store().record().KeepFileSize, 0);
    EXPECT_EQ(env.store().record().CutWord[0], "\r\n");
    EXPECT_EQ(readFile(env.iniPath()), before);
}

TEST_F(FrmSettingsTest, RestoreDefaultsRefillsTheBoxesButAppliesNothing)
{
    env.setIniKey("MainSettings", "CutWordDef2", "");
    env.setIniKey("MainSettings", "CutWordDef5", "Space");
    open();
    for (int i = 0; i <= 5; ++i)
        box(i)->setText(QStringLiteral("w%1").arg(i));
    click("Command3");
    EXPECT_EQ(box(0)->text(), QStringLiteral("enter"));
    EXPECT_EQ(box(1)->text(), QStringLiteral("."));
    EXPECT_EQ(box(2)->text(), QString());
    EXPECT_EQ(box(5)->text(), QStringLiteral("Space"));
    click("Command2");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord1"), ".");
}

TEST_F(FrmSettingsTest, WholeFileModeHidesTheJointButStillStoresTheValues)
{
    env.setIniKey("MainSettings", "SingleFileSize1", "0");
    env.setIniKey("MainSettings", "InOutFileSize1", "0");
    env.setIniKey("UserSettings", "CutTypeIndex", "1");
    env.setIniKey("UserSettings", "KeepFileSize", "7");
    open();
    EXPECT_FALSE(joint()->isVisible());
    EXPECT_TRUE(languages()->isVisible());
    click("Command1");
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), "7");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord5"), "space");
}

TEST_F(FrmSettingsTest, TheLanguageFilesAreOfferedWithTheOneInUseSelected)
{
    const fs::path folder = env.programFolder() / "language";
    writeFile(folder / "AAA.ini", "[Info]\r\nSoftName=X\r\nMaxLngNum=32\r\n");  // no Language: not offered
    writeFile(folder / "Blank.ini", "[Info]\r\nLanguage=Blank\r\nSoftName=Blank\r\nMaxLngNum=40\r\n");
    open();
    ASSERT_EQ(languages()->count(), 3);
    EXPECT_EQ(languages()->itemText(0), QStringLiteral("Blank"));
    EXPECT_EQ(languages()->itemText(1), QStringLiteral("English"));
    EXPECT_EQ(languages()->itemText(2), QString::fromUtf8("简体中文"));
    EXPECT_EQ(languages()->currentIndex(), 1);
}

TEST_F(FrmSettingsTest, AnUnknownLanguageInUsePreselectsTheFirstAndOkSwitchesToIt)
{
    env.load();
    loaded_ = true;
    env.store().record().MyLagIndex = "Klingon";
    open();
    EXPECT_EQ(languages()->currentIndex(), 0);
    click("Command1");
    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "English");
    EXPECT_EQ(redraws, 1);
}

TEST_F(FrmSettingsTest, WithoutLanguageFilesOkKeepsTheLanguage)
{
    env.load();
    loaded_ = true;
    fs::remove_all(env.programFolder() / "language");
    open();
    EXPECT_EQ(languages()->count(), 0);
    click("Command1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "English");
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(env.prompter.prompts.empty());
}

TEST_F(FrmSettingsTest, ALanguageThatFailsToLoadIsToldAndTheOldOneStays)
{
    writeFile(env.programFolder() / "language" / "Broken.ini", "[Info]\r\nLanguage=Broken\r\n");
    open();
    languages()->setCurrentIndex(languages()->findText(QStringLiteral("Broken")));
    click("Command1");
    EXPECT_EQ(env.store().record().MyLagIndex, "English");
    EXPECT_EQ(redraws, 0);
    const QStringList messages = env.prompter.textsOf(ScriptedPrompter::Kind::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Broken.ini"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("English.ini"))) << messages[0].toStdString();
}

TEST(MainWindowLanguage, ALanguageChosenInTheSettingsRedrawsTheMainWindow)
{
    UiEnvironment env;
    const fs::path folder = env.programFolder() / "language";
    std::string other = readFile(folder / "English.ini");
    for (auto [from, to] : {std::pair {"SoftName=Leafmill", "SoftName=Bookmill"},
                            {"Language=English", "Language=Other"},
                            {"00001=Book name:", "00001=The name of the book to make:"}}) {
        const std::size_t at = other.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        other.replace(at, std::string(from).size(), to);
    }
    writeFile(folder / "Other.ini", other);
    env.load();
    Frm_Main window(env.context());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* prompt = window.findChild<QLabel*>(QStringLiteral("Label1"));
    auto* bookName = window.findChild<QLineEdit*>(QStringLiteral("Text1"));

    // The dialog is modal; pick the other language and confirm from inside it.
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<Frm_Settings*>();
        ASSERT_NE(dialog, nullptr);
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("Combo2"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Other")));
        QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton, {}, {5, 5});
    });
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Cmd_Settings")), Qt::LeftButton, {}, {5, 5});

    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "Other");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Bookmill 1.60"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Lab_Tit(2)"))->text(), QStringLiteral("Bookmill 1.60"));
    EXPECT_EQ(prompt->text(), QStringLiteral("The name of the book to make:"));
    // The longer prompt pushes the book-name box to the right.
    EXPECT_EQ(bookName->x(), prompt->x() + prompt->width());
}

}  // namespace
}  // namespace leafmill::test
