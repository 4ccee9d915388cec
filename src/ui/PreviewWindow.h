#pragma once

#include "targets/notes/ReaderView.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace leafmill {

class PageEncoder;
class xpcmdbutton;

// A finished book as the iPod shows it: a 320 by 240 screen with the title
// bar, the note's text wrapped as the reader wraps it, links underlined.
// Up and Down move between the links and scroll, Enter follows a link,
// Escape is the Menu button. The notes are read from disk as the reader
// reads them, so wrong characters show as they would on the iPod. Below the
// screen, Check asks for what the reader would find wrong with the book.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(const QString& bookFolder, std::shared_ptr<const PageEncoder> readerEncoding,
                  const QString& checkCaption, QWidget* parent = nullptr);

    const QString& folder() const { return folder_; }
    const PageEncoder& readerEncoding() const { return *encoding_; }

    // What the screen shows, for a look from outside.
    QString screenTitle() const { return title_; }
    QStringList screenLines() const;
    // The selected menu entry or link text; empty when none is.
    QString selection() const;

signals:
    void checkRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct MenuEntry {
        std::string file;
        QString title;
    };

    void showMenu();
    void showNote(const std::string& file);
    void showCurrent();
    int visibleLines() const;
    int visibleMenuRows() const;
    std::vector<int> visibleLinks() const;
    void moveSelection(int step);

    QString folder_;
    std::shared_ptr<const PageEncoder> encoding_;
    xpcmdbutton* Cmd_Check = nullptr;
    QFont font_;
    ReaderHistory history_;
    std::vector<MenuEntry> menu_;
    ReaderNote note_;
    std::vector<LineOfRuns> lines_;
    QString title_;
    int top_ = 0;  // first line (or menu entry) shown
    int selected_ = -1;  // menu entry or link index
};

}  // namespace leafmill
