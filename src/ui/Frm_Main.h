#pragma once

#include "ui/FileList.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

#include <cstdint>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QSizeGrip;

namespace leafmill {

class Frm_IPod;
class GfuBut;
class OutputRunWorker;
class PreviewWindow;
class UiContext;
class WindowChrome;
class Xp_ProgressBar;
class xpcmdbutton;

// The working window: the book name, the ordered file list, the settings
// button and the output run with its progress panel. Every button answers
// Tab, Space and its Alt mnemonic; Delete in the list removes the selected
// entries; files and folders dropped on the list are added. The window may be
// made larger than its design size; the list takes the room.
class Frm_Main : public QWidget {
    Q_OBJECT
public:
    // Form_Load: the book name, the skin and the texts. The window stays
    // hidden until the splash shows it.
    explicit Frm_Main(UiContext& context, QWidget* parent = nullptr);
    ~Frm_Main() override;

    // Applies the language texts and the layout that depends on them.
    void DrawFaceText();

    // The checks before a run; false after telling the user why.
    bool FixInput();
    // The output folder the user chose, or the empty text on cancel.
    QString GetOutPath();

    // Adds files, and the readable documents of folders, to the end of the
    // list (each path once); gives how many entries were added.
    int addSources(const QStringList& paths);

    // The buttons' actions.
    void addFiles();
    void deleteSelected();
    void clearList();
    void moveUp();
    void moveDown();
    void openSettings();
    void startOutput();
    void stopOutput();
    void openPreview();
    void openIPod();

    bool isRunning() const;
    FileList& fileList() { return fileList_; }

signals:
    // A run has named the source it converts next (Label2 shows it already).
    void runSourceShown(int index, const QString& path);
    // A run has ended and its end message has been shown.
    void runEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMainFace();
    void buildProgressPanel();
    void chainTabOrder();
    void layOutFace();
    bool filterKeyPreview(QObject* watched, QKeyEvent* key);
    bool filterDrop(QEvent* event);
    bool askStop();
    bool replaceExistingBook(const QString& folder);
    bool readerTakesTheBook(const std::vector<std::string>& sources, const QString& folder);
    void showSource(int index, const QString& path);
    void showRunProgress(int value);
    void beginRun(std::vector<std::string> sources, const QString& folder);
    void finishRun();
    void checkPreviewedBook();

    UiContext& context_;
    WindowChrome* chrome_;
    QWidget* Pic_MainFace = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QListWidget* List1 = nullptr;
    GfuBut* arrup = nullptr;
    GfuBut* arrdown = nullptr;
    xpcmdbutton* Cmd_Preview = nullptr;
    xpcmdbutton* Cmd_IPod = nullptr;
    xpcmdbutton* Cmd_AddFiles = nullptr;
    xpcmdbutton* Cmd_DelFiles = nullptr;
    xpcmdbutton* Cmd_ClearList = nullptr;
    xpcmdbutton* Cmd_Settings = nullptr;
    xpcmdbutton* Cmd_Output = nullptr;
    QWidget* Pic_Make = nullptr;
    QLabel* Label2 = nullptr;
    Xp_ProgressBar* ProgressBar1 = nullptr;
    Xp_ProgressBar* ProgressBar2 = nullptr;
    xpcmdbutton* Cmd_StopOutput = nullptr;
    QLabel* Label3 = nullptr;  // over ProgressBar1
    QLabel* Label4 = nullptr;  // the time left, beside Label3
    QLabel* Label5 = nullptr;  // over ProgressBar2
    QSizeGrip* sizeGrip_ = nullptr;
    // Where the buttons sit at the design size; they keep their places
    // towards the list's foot and middle as the window grows.
    std::vector<std::pair<QWidget*, QRect>> buttonPlaces_;

    FileList fileList_;
    std::unique_ptr<OutputRunWorker> run_;
    std::unique_ptr<PreviewWindow> preview_;
    std::unique_ptr<Frm_IPod> iPod_;
    QElapsedTimer runClock_;
    // What the last run was asked for, so that it can be made again in volumes.
    std::vector<std::string> runSources_;
    QString runFolder_;
    int32_t runVolumeNotes_ = 0;  // volumes the user chose for this run; 0: the settings'
    bool forecastTooMany_ = false;  // the user was told before the run that the reader loads not all
    bool closeAfterRun_ = false;
    bool centred_ = false;
};

}  // namespace leafmill
