#pragma once

#include <QDialog>
#include <QList>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace leafmill {

struct NotesReaderSettings;
class UiContext;
class WindowChrome;
class xpcmdbutton;

// The modal settings dialog: the language, the joint characters, the cut
// sensitive characters and, below them, the pages for the iPod's Notes
// reader. OK applies and saves; Cancel and the close button discard.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildContent();
    QLabel* makeRightAlignedLabel(const QString& name, const QRect& geometry);
    void createCutWordBoxes();
    void useCompactLayout();
    bool filterKeepFileSizeKey(QEvent* event);
    void correctKeepFileSize();
    void applyLanguage();
    void buildReaderSection();
    void showReaderChoices(const NotesReaderSettings& notes);
    NotesReaderSettings chosenReaderSettings() const;

    UiContext& context_;
    std::function<void()> languageChanged_;
    WindowChrome* chrome_;
    QWidget* Picture1 = nullptr;
    QLabel* Label5 = nullptr;
    QWidget* Picture3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label1 = nullptr;  // Label1(1)
    QLineEdit* Text1 = nullptr;
    QLabel* Label4 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Label2 = nullptr;
    QList<QLabel*> Label3;
    QList<QLineEdit*> Text2;
    xpcmdbutton* Command3 = nullptr;
    xpcmdbutton* Command1 = nullptr;
    xpcmdbutton* Command2 = nullptr;
    QFrame* ReaderLine = nullptr;
    QLabel* ReaderHeading = nullptr;
    QLabel* ReaderEncodingLabel = nullptr;
    QComboBox* ReaderEncoding = nullptr;
    QList<QCheckBox*> ReaderSwitches;  // Links, Titles, Contents, ChapterPages, JoinLines
    QLabel* SourceEncodingLabel = nullptr;
    QComboBox* SourceEncodingChoice = nullptr;
    std::vector<std::string> languageBaseNames_;  // parallel to Combo2
    bool centred_ = false;
};

}  // namespace leafmill
