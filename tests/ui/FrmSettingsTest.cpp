// The settings dialog shows and stores the settings; a new language reaches the main window.
#include "UiEnvironment.h"
#include "ui/Frm_Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
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
    QComboBox* pageSize() const { return child<QComboBox>(QStringLiteral("Combo1")); }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    QLineEdit* joint() const { return child<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit* box(int i) const { return child<QLineEdit>(QStringLiteral("Text2(%1)").arg(i)); }
    void click(const char* name) { QTest::mouseClick(child(QString::fromLatin1(name)), Qt::LeftButton, {}, {5, 5}); }
    std::string stored(const char* key) const { return env.iniKey("UserSettings", key); }

    UiEnvironment env;
    std::unique_ptr<Frm_Settings> dialog;
    int redraws = 0;
};

// Above the range is corrected at once; an emptied box only when the person leaves it.
TEST_F(FrmSettingsTest, JointCharactersTakeDigitsOnlyAndAreCorrectedOnKeyReleaseAndLeaving)
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
    for (Qt::Key key : {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Backspace})
        QTest::keyClick(box, key);
    EXPECT_EQ(box->text(), QString());
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(focused(), QStringLiteral("Text2(0)")) << "Tab leaves the box";
    EXPECT_EQ(box->text(), QStringLiteral("32"));
}

// The chain follows the layout, top to bottom; Escape and Enter answer from any box.
TEST_F(FrmSettingsTest, TabFollowsTheLayoutEscapeCancelsAndEnterChoosesThePageSizeAndSaves)
{
    open();
    QStringList chain;
    child(QStringLiteral("Combo2"))->setFocus();
    for (int i = 0; i < 21; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        chain << focused();
    }
    EXPECT_EQ(
        chain.join(' '),
        QStringLiteral("Combo1 Text1 Text2(0) Text2(1) Text2(2) Text2(3) Text2(4) Text2(5) "
                       "Command3 ReaderEncoding SourceEncodingChoice ReaderSwitch(0) ReaderSwitch(1) ReaderSwitch(2) "
                       "ReaderSwitch(3) ReaderSwitch(4) ReaderVolumeNotes Command1 Command2 Combo2 Combo1"));
    EXPECT_EQ(pageSize()->count(), 2);
    EXPECT_EQ(pageSize()->itemText(1), QStringLiteral("2,000 bytes"));
    QTest::keyClick(pageSize(), Qt::Key_Down);
    QTest::keyClick(joint(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(stored("CutTypeIndex"), "0");

    open();
    EXPECT_EQ(pageSize()->currentText(), QStringLiteral("4,000 bytes"));
    QTest::keyClick(pageSize(), Qt::Key_Down);
    joint()->setFocus();
    QTest::keyClick(joint(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(stored("CutTypeIndex"), "1");
    EXPECT_EQ(env.store().record().CutTypeIndex, 1);
    open();
    EXPECT_EQ(pageSize()->currentText(), QStringLiteral("2,000 bytes"));
}

// On a 1280 x 720 screen at 200 % the sections scroll and OK stays in sight;
// with the whole-file row in force only the language and the page size show.
TEST_F(FrmSettingsTest, AShortScreenScrollsTheSectionsAndTheWholeFileRowShowsOnlyTheTopRows)
{
    open();
    dialog->fitScreen(QRect(0, 0, 640, 360));
    EXPECT_LE(dialog->height(), 360);
    EXPECT_TRUE(dialog->rect().contains(child(QStringLiteral("Command1"))
                                            ->geometry()
                                            .translated(child(QStringLiteral("Command1"))->parentWidget()->pos())));
    QWidget* last = child(QStringLiteral("ReaderSwitch(4)"));
    last->setFocus();
    auto* viewport = child<QScrollArea>(QStringLiteral("Scroller"))->viewport();
    EXPECT_TRUE(viewport->rect().contains(QRect(last->mapTo(viewport, QPoint()), last->size())));

    env.setIniKey("MainSettings", "SingleFileSize1", "0");
    env.setIniKey("UserSettings", "CutTypeIndex", "1");
    env.load();
    open();
    EXPECT_EQ(pageSize()->count(), 1);
    EXPECT_EQ(pageSize()->currentText(), QStringLiteral("Whole files, not cut"));
    EXPECT_FALSE(joint()->isVisible());
    EXPECT_FALSE(box(0)->isVisible());
    EXPECT_LT(dialog->height(), 130);
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
    // Fewer notes than a volume needs become the least it takes.
    child<QLineEdit>(QStringLiteral("ReaderVolumeNotes"))->setText(QStringLiteral("3"));
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
    EXPECT_EQ(env.iniKey("NotesReader", "VolumeNotes"), "10");
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
                            {"00001=Book &name:", "00001=The name of the book to make:"}}) {
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
