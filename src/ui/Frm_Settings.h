#pragma once

#include <QDialog>
#include <QList>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace leafmill {

struct NotesReaderSettings;
class UiContext;
class WindowChrome;
class xpcmdbutton;

// The modal settings dialog: the language, the page size, the joint
// characters, the cut sensitive characters and, below them, the pages for the
// iPod's Notes reader; OK and Cancel at the bottom. OK (or Enter) applies and
// saves; Cancel, Escape and the close button discard. On a screen too short
// for it the sections scroll above the buttons.
class Frm_Settings : public QDialog {
    Q_OBJECT
public:
    // `languageChanged` redraws the main window after OK switched the language.
    Frm_Settings(UiContext& context, std::function<void()> languageChanged, QWidget* parent = nullptr);
    ~Frm_Settings() override;

    void DrawFaceText();
    void LoadLanguage();

    // The buttons' actions.
    void applyAndClose();
    void restoreDefaults();

    // Sizes the dialog to show as much as the screen area holds; the sections
    // scroll when they do not fit.
    void fitScreen(const QRect& available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildContent();
    QLabel* makeRightAlignedLabel(const QString& name, const QRect& geometry);
    QComboBox* makeChoice(const QString& name, const QRect& frame);
    void createCutWordBoxes();
    void placeRestoreButton();
    void showPageSizes();
    void useCompactLayout();
    void chainTabOrder();
    bool filterKeepFileSizeKey(QEvent* event);
    void correctKeepFileSize(bool finished);
    void applyPageSize();
    void applyLanguage();
    void buildReaderSection();
    // One more row at the foot of the Notes reader's section, with the
    // language string that names it.
    QComboBox* addReaderChoice(const QString& name, int text);
    QCheckBox* addReaderSwitch(const QString& name, int text);
    QLineEdit* addReaderNumber(const QString& name, int text);
    void showReaderChoices(const NotesReaderSettings& notes);
    NotesReaderSettings chosenReaderSettings() const;

    UiContext& context_;
    std::function<void()> languageChanged_;
    WindowChrome* chrome_;
    QScrollArea* Scroller = nullptr;  // holds Picture1
    QWidget* Picture1 = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* Combo1 = nullptr;  // the page size: rows of the cut-type table
    QLabel* Label1 = nullptr;  // Label1(1)
    QLineEdit* Text1 = nullptr;
    QLabel* Label4 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Label2 = nullptr;
    QList<QLabel*> Label3;
    QList<QLineEdit*> Text2;
    xpcmdbutton* Command3 = nullptr;
    QWidget* ButtonPanel = nullptr;  // OK and Cancel, below the sections
    xpcmdbutton* Command1 = nullptr;
    xpcmdbutton* Command2 = nullptr;
    QLabel* ReaderHeading = nullptr;
    QComboBox* ReaderEncoding = nullptr;
    QList<QCheckBox*> ReaderSwitches;  // Links, Titles, Contents, ChapterPages, JoinLines
    std::vector<std::pair<QWidget*, int>> readerTexts_;  // the section's labels and switches with their strings
    QList<QWidget*> readerFocusChain_;  // its choices and switches, top to bottom
    int readerBottom_ = 0;  // where the section's next row goes
    int bodyHeight_ = 0;  // Picture1's height, all sections shown
    QLineEdit* ReaderVolumeNotes = nullptr;
    QComboBox* SourceEncodingChoice = nullptr;
    std::vector<std::string> languageBaseNames_;  // parallel to Combo2
    bool centred_ = false;
};

}  // namespace leafmill
