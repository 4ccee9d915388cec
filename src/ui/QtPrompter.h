#pragma once

#include "ui/Prompter.h"

namespace leafmill {

// The real prompter: QMessageBox and QFileDialog.
class QtPrompter : public Prompter {
public:
    void message(QWidget* owner, const QString& caption, const QString& text) override;
    void critical(QWidget* owner, const QString& caption, const QString& text) override;
    bool question(QWidget* owner, const QString& caption, const QString& text) override;
    OpenFilesAnswer openFiles(QWidget* owner, const OpenFilesRequest& request) override;
    QString chooseFolder(QWidget* owner, const QString& title, const QString& preselected,
                         const QList<FolderOffer>& offers) override;
};

}  // namespace leafmill
