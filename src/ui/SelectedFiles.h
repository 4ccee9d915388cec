#pragma once

#include <QString>
#include <QStringList>

namespace leafmill {

// The files of one add-files selection, in the dialog's order, sorted by
// whether they can be listed.
struct SelectedFiles {
    QStringList files;  // whole paths of ordinary files
    QStringList gone;  // no longer there (moved or deleted since they were chosen)
    QStringList notFiles;  // folders, devices, pipes: nothing to read a book from
};

SelectedFiles checkSelection(const QStringList& chosen);

// Where the next add-files dialog opens, as main.ini keeps it: the path of a
// single chosen file, the folder of several.
QString rememberedFolder(const QStringList& chosen);

}  // namespace leafmill
