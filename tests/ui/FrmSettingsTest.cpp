// The settings dialog shows and stores the settings; a new language reaches the main window.
#include "UiEnvironment.h"
#include "ui/Frm_Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace leafmill::test {
namespace {

class FrmSettingsTest : public ::testing::Test {
protected:
    // Opens the dialog, loading the settings the first time.
    void open()
    {
        if (!dialog)
            env.load();
        dialog = std::make_unique<Frm_Settings>(env.context(), [this] { ++redraws; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    template <typename T = QWidget> T* child(const QString& name) const { return dialog->findChild<T*>(name); }
    QLineEdit* joint() const { return child<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit* box(int i) const { return child<QLineEdit>(QStringLiteral("Text2(%1)").arg(i)); }
    void click(const char* name) { QTest::mouseClick(child(QString::fromLatin1(name)), Qt::LeftButton, {}, {5, 5}); }
    std::string stored(const char* key) const { return env.iniKey("UserSettings", key); }

    UiEnvironment env;
    std::unique_ptr<Frm_Settings> dialog;
    int redraws = 0;
};

TEST_F(FrmSettingsTest, JointCharactersTakeDigitsOnlyAndAreCorrectedOnKeyRelease)
{
    open();
    QLineEdit* box = joint();
    box->setFocus();
    box->clear();
    for (Qt::Key key : {Qt::Key_7, Qt::Key_A, Qt::Key_Minus})
        QTest::keyClick(box, key);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    // "70" goes in and becomes "64" as the key comes up.
    QTest::keyPress(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("70"));
    QTest::keyRelease(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("64"));
    // An emptied box gives "32" at once.
    for (Qt::Key key : {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Backspace})
        QTest::keyClick(box, key);
    EXPECT_EQ(box->text(), QStringLiteral("32"));
}

TEST_F(FrmSettingsTest, OkStoresTheValuesAndSavesThemAndTheNextOpeningShowsThem)
{
    open();
    EXPECT_EQ(box(0)->text(), QStringLiteral("enter"));
    // A cleared box gives its place to the words after it; a pasted joint is rounded into range.
    joint()->setText(QStringLiteral("99"));
    box(1)->setText(QStringLiteral("Space"));
    box(2)->setText(QStringLiteral("ENTER"));
    box(3)->setText(QString());
    box(4)->setText(QStringLiteral("。"));
    child<QCheckBox>(QStringLiteral("ReaderSwitch(3)"))->setChecked(true);
    auto* encoding = child<QComboBox>(QStringLiteral("ReaderEncoding"));
    encoding->setCurrentIndex(encoding->findData(QStringLiteral("UTF-8")));
    auto* source = child<QComboBox>(QStringLiteral("SourceEncodingChoice"));
    EXPECT_EQ(source->currentData().toString(), QStringLiteral("auto"));
    source->setCurrentIndex(source->findData(QStringLiteral("GBK")));
    click("Command1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(env.store().record().CutWord, (std::vector<std::string> {"\r\n", " ", "\r\n", "。", " ", ""}));
    EXPECT_EQ(stored("KeepFileSize"), "64");
    EXPECT_EQ(stored("CutWord1"), "space");
    EXPECT_EQ(env.iniKey("NotesReader", "ChapterPages"), "1");
    EXPECT_EQ(env.iniKey("NotesReader", "PageEncoding"), "UTF-8");
    EXPECT_EQ(env.iniKey("NotesReader", "SourceEncoding"), "GBK");
    EXPECT_EQ(redraws, 0) << "the same language";

    open();
    EXPECT_EQ(box(1)->text(), QStringLiteral("space"));
    EXPECT_EQ(joint()->text(), QStringLiteral("64"));
    EXPECT_EQ(child<QComboBox>(QStringLiteral("SourceEncodingChoice"))->currentText(), QStringLiteral("GBK"));
}

TEST_F(FrmSettingsTest, CancelAndTheCloseButtonDiscardAndRestoreDefaultsAppliesNothing)
{
    env.setIniKey("MainSettings", "CutWordDef2", "");
    env.setIniKey("MainSettings", "CutWordDef5", "Space");
    open();
    const std::string before = readFile(env.iniPath());
    for (const char* discard : {"Command2", "iclose"}) {
        open();
        joint()->setText(QStringLiteral("12"));
        for (int i = 0; i <= 5; ++i)
            box(i)->setText(QStringLiteral("w%1").arg(i));
        click("Command3");
        const QStringList defaults {"enter", ".", "", "?", ";", "Space"};
        for (int i = 0; i <= 5; ++i)
            EXPECT_EQ(box(i)->text(), defaults[i]) << i;
        click(discard);
        EXPECT_FALSE(dialog->isVisible()) << discard;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << discard;
    }
    EXPECT_EQ(env.store().record().KeepFileSize, 0);
    EXPECT_EQ(env.store().record().CutWord[2], "!");
    EXPECT_EQ(readFile(env.iniPath()), before);
}

// A language that fails to load is told and the old one stays; another redraws the main window.
TEST_F(MainWindowTest, ALanguageChosenInTheSettingsRedrawsTheMainWindow)
{
    const std::filesystem::path folder = env.programFolder() / "language";
    writeFile(folder / "Broken.ini", "[Info]\r\nLanguage=Broken\r\n");
    std::string other = readFile(folder / "English.ini");
    for (auto [from, to] : {std::pair {"Language=English", "Language=Other"},
                            {"00001=Book name:", "00001=The name of the book to make:"}}) {
        ASSERT_NE(other.find(from), std::string::npos) << from;
        other.replace(other.find(from), std::string(from).size(), to);
    }
    writeFile(folder / "Other.ini", other);
    auto* prompt = child<QLabel>("Label1");
    const QString english = prompt->text();
    for (const char* language : {"Broken", "Other"}) {
        // The dialog is modal; pick the language and confirm from inside it.
        QTimer::singleShot(0, [&] {
            auto* dialog = window->findChild<Frm_Settings*>();
            ASSERT_NE(dialog, nullptr);
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("Combo2"));
            EXPECT_EQ(combo->count(), 4);
            EXPECT_EQ(combo->currentText(), QStringLiteral("English"));
            combo->setCurrentIndex(combo->findText(QString::fromLatin1(language)));
            QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton, {}, {5, 5});
        });
        click("Cmd_Settings");
        EXPECT_EQ(env.prompter.textsOf(ScriptedPrompter::Kind::Message).size(), 1);
        EXPECT_EQ(env.iniKey("UserSettings", "MyLagIndex"), language == std::string("Broken") ? "English" : "Other");
        EXPECT_EQ(prompt->text(), language == std::string("Broken") ? english : "The name of the book to make:");
    }
    // The longer prompt pushes the book-name box to the right.
    EXPECT_EQ(child<QLineEdit>("Text1")->x(), prompt->x() + prompt->width());
}

}  // namespace
}  // namespace leafmill::test
