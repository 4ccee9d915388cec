#include "UiEnvironment.h"
#include "app/SettingsStore.h"
#include "controls/xpcmdbutton.h"
#include "lang/LanguageTable.h"
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
    template <typename T = QWidget> T* child(const QString& name) const
    {
        auto* found = dialog->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* joint() const { return child<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit* box(int i) const { return child<QLineEdit>(QStringLiteral("Text2(%1)").arg(i)); }
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
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Minus);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    // "70" goes in and becomes "64" as the key comes up.
    QTest::keyPress(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("70"));
    QTest::keyRelease(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("64"));
    // Deleting both digits gives "32" at once.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("6"));
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("32"));
    // Keys that type nothing keep their editing role.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("2"));
}

TEST_F(FrmSettingsTest, OkStoresTheValuesAndSavesThem)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), env.text(StringId::SettingsButton));
    EXPECT_EQ(child<QLabel>(QStringLiteral("Lab_Tit(1)"))->text(), env.text(StringId::SettingsButton));
    EXPECT_EQ(child<xpcmdbutton>(QStringLiteral("Command1"))->Caption(), env.text(StringId::OkButton));
    EXPECT_EQ(box(0)->text(), QStringLiteral("enter"));
    EXPECT_EQ(box(5)->text(), QStringLiteral("space"));

    // Pasted values skip the key correction; the most a load takes is stored.
    // A cleared box gives its place to the words after it.
    joint()->setText(QStringLiteral("99"));
    box(1)->setText(QStringLiteral("Space"));
    box(2)->setText(QStringLiteral("ENTER"));
    box(3)->setText(QString());
    box(4)->setText(QStringLiteral("。"));
    click("Command1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    const Settings& settings = env.store().record();
    EXPECT_EQ(settings.KeepFileSize, 64);
    EXPECT_EQ(settings.CutWord, (std::vector<std::string> {"\r\n", " ", "\r\n", "。", " ", ""}));
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), "64");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord1"), "space");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord2"), "enter");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord3"), "。");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord5"), "");
    // Same language: no reload, no redraw of the main window.
    EXPECT_EQ(redraws, 0);

    // The next opening shows the stored form.
    open();
    EXPECT_EQ(box(1)->text(), QStringLiteral("space"));
    EXPECT_EQ(joint()->text(), QStringLiteral("64"));
    EXPECT_EQ(box(5)->text(), QString());
}

TEST_F(FrmSettingsTest, PastedTextIsStoredOnlyWhenItIsANumber)
{
    open();
    joint()->setText(QStringLiteral("-5"));
    click("Command1");
    EXPECT_EQ(env.store().record().KeepFileSize, 0);

    open();
    joint()->setText(QStringLiteral("12"));
    click("Command1");
    open();
    joint()->setText(QStringLiteral("ab"));
    click("Command1");
    EXPECT_EQ(env.store().record().KeepFileSize, 12);
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), "12");
}

TEST_F(FrmSettingsTest, CancelAndTheCloseButtonDiscard)
{
    open();
    const std::string before = readFile(env.iniPath());
    joint()->setText(QStringLiteral("12"));
    box(0)->setText(QStringLiteral("x"));
    click("Command2");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(env.store().record().KeepFileSize, 0);
    EXPECT_EQ(env.store().record().CutWord[0], "\r\n");

    open();
    joint()->setText(QStringLiteral("12"));
    QTest::mousePress(child(QStringLiteral("iclose")), Qt::RightButton, {}, {8, 8});
    QTest::mouseRelease(child(QStringLiteral("iclose")), Qt::RightButton, {}, {8, 8});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(env.store().record().KeepFileSize, 0);
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
    EXPECT_EQ(env.store().record().CutWord[1], ".");
    click("Command2");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord1"), ".");
}

TEST_F(FrmSettingsTest, OneBoxPerCutWordAtTwentyFourPixelSteps)
{
    open();
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(box(i)->geometry(), QRect(88, 104 + 24 * i, 164, 18)) << i;
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("Text2(6)")), nullptr);
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label3(5)"))->text(), env.text(StringId::cutWordLabel(5)));
}

TEST_F(FrmSettingsTest, WithCutWordNumZeroThereIsOneBox)
{
    env.setIniKey("MainSettings", "CutWordNum", "0");
    open();
    EXPECT_NE(dialog->findChild<QLineEdit*>(QStringLiteral("Text2(0)")), nullptr);
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("Text2(1)")), nullptr);
    box(0)->setText(QStringLiteral("space"));
    click("Command1");
    EXPECT_EQ(env.store().record().CutWord, std::vector<std::string> {" "});
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord1"), ".");
}

TEST_F(FrmSettingsTest, WholeFileModeShowsTheCompactLayoutAndStillStoresTheValues)
{
    env.setIniKey("MainSettings", "SingleFileSize1", "0");
    env.setIniKey("MainSettings", "InOutFileSize1", "0");
    env.setIniKey("UserSettings", "CutTypeIndex", "1");
    env.setIniKey("UserSettings", "KeepFileSize", "7");
    open();
    EXPECT_EQ(dialog->height(), 87);
    EXPECT_EQ(child(QStringLiteral("Picture1"))->height(), 64);
    EXPECT_EQ(child(QStringLiteral("Command1"))->y(), 32);
    EXPECT_EQ(child(QStringLiteral("Command2"))->y(), 32);
    for (const char* hidden : {"Label1(1)", "Text1", "Label4", "Line1"})
        EXPECT_FALSE(child(QString::fromLatin1(hidden))->isVisible()) << hidden;
    EXPECT_TRUE(child(QStringLiteral("Label6"))->isVisible());
    EXPECT_TRUE(child(QStringLiteral("Combo2"))->isVisible());
    click("Command1");
    EXPECT_EQ(env.store().record().KeepFileSize, 7);
    EXPECT_EQ(env.iniKey("UserSettings", "KeepFileSize"), "7");
    EXPECT_EQ(env.iniKey("UserSettings", "CutWord5"), "space");
}

TEST_F(FrmSettingsTest, LanguageListInNameOrderWithTheLanguageInUseSelected)
{
    const fs::path folder = env.programFolder() / "language";
    writeFile(folder / "AAA.ini", "[Info]\r\nSoftName=X\r\nMaxLngNum=32\r\n");  // no Language: not offered
    writeFile(folder / "Blank.ini", "[Info]\r\nLanguage=Blank\r\nSoftName=Blank\r\nMaxLngNum=40\r\n");
    writeFile(folder / "Zed.ini", "[Info]\r\nLanguage=Zed\r\nMaxLngNum=40\r\n");
    open();
    auto* combo = child<QComboBox>(QStringLiteral("Combo2"));
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Blank"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("English"));
    EXPECT_EQ(combo->itemText(2), QString::fromUtf8("简体中文"));
    EXPECT_EQ(combo->itemText(3), QStringLiteral("Zed"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->parentWidget()->objectName(), QStringLiteral("Picture3"));
    EXPECT_EQ(combo->geometry(), QRect(-2, -2, 166, 22));
}

TEST_F(FrmSettingsTest, AnUnknownLanguageInUsePreselectsTheFirstAndOkSwitchesToIt)
{
    env.load();
    loaded_ = true;
    env.store().record().MyLagIndex = "Klingon";
    open();
    auto* combo = child<QComboBox>(QStringLiteral("Combo2"));
    EXPECT_EQ(combo->currentIndex(), 0);
    click("Command1");
    EXPECT_EQ(env.store().record().MyLagIndex, "English");
    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "English");
    EXPECT_EQ(redraws, 1);
}

TEST_F(FrmSettingsTest, AnEmptyLanguageListStillOpensAndOkKeepsTheLanguage)
{
    env.load();
    loaded_ = true;
    fs::remove_all(env.programFolder() / "language");
    open();
    EXPECT_EQ(child<QComboBox>(QStringLiteral("Combo2"))->count(), 0);
    click("Command1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(env.store().record().MyLagIndex, "English");
    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "English");
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(env.prompter.prompts.empty());
}

TEST_F(FrmSettingsTest, ALanguageThatFailsToLoadIsToldAndTheOldOneStays)
{
    writeFile(env.programFolder() / "language" / "Broken.ini", "[Info]\r\nLanguage=Broken\r\n");
    open();
    auto* combo = child<QComboBox>(QStringLiteral("Combo2"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Broken")));
    click("Command1");
    EXPECT_EQ(env.store().record().MyLagIndex, "English");
    EXPECT_EQ(redraws, 0);
    const QStringList messages = env.prompter.textsOf(ScriptedPrompter::Kind::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Broken.ini"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("English.ini"))) << messages[0].toStdString();
}

// The settings button of the main window, with a language change.
TEST(MainWindowLanguage, ALanguageChangeRedrawsTitleCaptionsAndTheBookNameBox)
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
    const int englishWidth = prompt->width();

    // The dialog is modal; pick the other language and confirm from inside it.
    QTimer::singleShot(0, [&] {
        auto* dialog = window.findChild<Frm_Settings*>();
        ASSERT_NE(dialog, nullptr);
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("Combo2"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Other")));
        QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton, {}, {5, 5});
    });
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Cmd_Settings")), Qt::LeftButton, {}, {5, 5});

    ASSERT_EQ(env.store().record().MyLagIndex, "Other");
    const QString title = QStringLiteral("Bookmill 1.60");
    EXPECT_EQ(window.windowTitle(), title);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Lab_Tit(1)"))->text(), title);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Lab_Tit(2)"))->text(), title);
    EXPECT_EQ(prompt->text(), QStringLiteral("The name of the book to make:"));
    EXPECT_NE(prompt->width(), englishWidth);
    auto* bookName = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    EXPECT_EQ(bookName->x(), prompt->x() + prompt->width());
    EXPECT_EQ(bookName->width(), 380 - 16 - prompt->width());
    EXPECT_EQ(window.findChild<xpcmdbutton*>(QStringLiteral("Cmd_Output"))->Caption(),
              env.text(StringId::OutputButton));
    EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), "Other");
}

}  // namespace
}  // namespace leafmill::test
