#pragma once

#include <QString>
#include <QStringList>

class QListWidget;
class QListWidgetItem;

namespace leafmill {

// The list rules of the main window's List1: one full path per entry, in the
// order the sources are converted, with extended selection.
class FileList {
public:
    explicit FileList(QListWidget* list)
        : list_(list)
    {
    }

    // True when an entry equals `path` exactly (case-sensitive).
    bool IsFileInList(const QString& path) const;
    // Appends `path` unless it is listed already; true when it was added.
    bool addUnique(const QString& path);

    bool hasSelection() const;
    // Removes the selected entries; the others keep their order.
    void removeSelected();

    // Every selected entry whose neighbour above (below) is not selected moves
    // one place up (down) and stays selected; a selected block moves as a
    // whole, and one that touches the end of the list stays. The focus frame
    // stays on the entry it was on.
    void moveUp();
    void moveDown();

    QStringList paths() const;

private:
    void moveEntry(int from, int to);
    void keepCurrent(QListWidgetItem* current);

    QListWidget* list_;
};

}  // namespace leafmill
