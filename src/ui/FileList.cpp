#include "ui/FileList.h"

#include <QListWidget>

namespace leafmill {

bool FileList::IsFileInList(const QString& path) const
{
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->text() == path)
            return true;
    }
    return false;
}

bool FileList::addUnique(const QString& path)
{
    if (IsFileInList(path))
        return false;
    auto* item = new QListWidgetItem(path);
    // The list shows the name first and may shorten the folder; the tip shows all.
    item->setToolTip(path);
    list_->addItem(item);
    return true;
}

bool FileList::hasSelection() const
{
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected())
            return true;
    }
    return false;
}

void FileList::removeSelected()
{
    // Downward, so the indices not yet visited stay valid.
    for (int i = list_->count() - 1; i >= 0; --i) {
        if (list_->item(i)->isSelected())
            delete list_->takeItem(i);
    }
}

void FileList::moveEntry(int from, int to)
{
    QListWidgetItem* item = list_->takeItem(from);
    list_->insertItem(to, item);
    item->setSelected(true);
}

void FileList::moveUp()
{
    QListWidgetItem* current = list_->currentItem();
    for (int i = 1; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected() && !list_->item(i - 1)->isSelected())
            moveEntry(i, i - 1);
    }
    keepCurrent(current);
}

void FileList::moveDown()
{
    QListWidgetItem* current = list_->currentItem();
    for (int i = list_->count() - 2; i >= 0; --i) {
        if (list_->item(i)->isSelected() && !list_->item(i + 1)->isSelected())
            moveEntry(i, i + 1);
    }
    keepCurrent(current);
}

void FileList::keepCurrent(QListWidgetItem* current)
{
    // The focus frame goes with the entry it was on, wherever that moved.
    if (current && list_->currentItem() != current)
        list_->setCurrentItem(current, QItemSelectionModel::NoUpdate);
}

QStringList FileList::paths() const
{
    QStringList out;
    for (int i = 0; i < list_->count(); ++i)
        out << list_->item(i)->text();
    return out;
}

}  // namespace leafmill
