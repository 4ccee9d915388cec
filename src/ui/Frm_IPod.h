#pragma once

#include "device/IPodFinder.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QTimer;

namespace leafmill {

struct IPodChange;
class UiContext;
class WindowChrome;
class xpcmdbutton;

// The connected iPods and the books on them: the notes in use of the 1,000
// the reader loads and the free space; Send puts a finished book on the
// iPod, Remove takes off one Leafmill made, Next volume turns a book in
// volumes to its following volume, Eject lets the iPod go. The list follows
// iPods as they are mounted and removed.
class Frm_IPod : public QWidget {
    Q_OBJECT
public:
    using Finder = std::function<std::vector<IPodVolume>()>;

    // `find` lists the iPods (the system's, unless a test gives its own).
    explicit Frm_IPod(UiContext& context, Finder find = connectedIPodVolumes, QWidget* parent = nullptr);

    void DrawFaceText();
    // Looks for iPods again and shows what is on the chosen one.
    void refresh();

    // The buttons' actions.
    void sendBook();
    void removeBook();
    void sendNextVolume();
    void eject();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildFace();
    void showIPods();
    void showBooks();
    const IPodVolume* chosenIPod() const;
    QString chooseBookFolder(int title);
    void tellChange(const IPodChange& change, int doneText, const QString& folder);
    // Sends what `send` makes of the book folder the user chooses.
    void sendFrom(int title, IPodChange (*send)(const std::filesystem::path&, const std::filesystem::path&));

    UiContext& context_;
    Finder find_;
    WindowChrome* chrome_;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* List1 = nullptr;
    xpcmdbutton* Cmd_Send = nullptr;
    xpcmdbutton* Cmd_Remove = nullptr;
    xpcmdbutton* Cmd_NextVolume = nullptr;
    xpcmdbutton* Cmd_Eject = nullptr;
    QTimer* watch_ = nullptr;
    std::vector<IPodVolume> iPods_;
    bool centred_ = false;
};

}  // namespace leafmill
