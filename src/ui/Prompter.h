#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace leafmill {

// What the add-files dialog is given.
struct OpenFilesRequest {
    QString title;
    QString filter;  // common-dialog syntax, "Text|*.txt|All|*.*"
    int filterIndex = 1;  // 1-based, as main.ini stores it
    QString initialFolder;
};

// What the add-files dialog gives back: the chosen files with their full
// paths in the order the dialog lists them (empty on cancel) and the filter
// the user left selected.
struct OpenFilesAnswer {
    QStringList files;
    int filterIndex = 1;
};

// Everything the windows ask the person in front of them. The program uses
// QtPrompter; tests install a scripted one, so that no real dialog blocks.
// A folder the chooser puts forward, with the words that say what it is.
struct FolderOffer {
    QString folder;
    QString label;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message with an OK button.
    virtual void message(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A message with an OK button and the critical-stop icon.
    virtual void critical(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A question with Yes and No and no icon; true for Yes.
    virtual bool question(QWidget* owner, const QString& caption, const QString& text) = 0;
    virtual OpenFilesAnswer openFiles(QWidget* owner, const OpenFilesRequest& request) = 0;
    // A folder-only chooser that offers `offers` beside the preselected
    // folder (the home folder when there is none); the chosen folder, or the
    // empty text on cancel.
    virtual QString chooseFolder(QWidget* owner, const QString& title, const QString& preselected,
                                 const QList<FolderOffer>& offers = {})
        = 0;
};

}  // namespace leafmill
