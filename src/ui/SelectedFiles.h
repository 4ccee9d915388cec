#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace leafmill {

class Prompter;

// The files of one add-files selection.
struct SelectedFiles {
    int FileCount = 0;  // 0 when nothing could be parsed
    QString FolderPath;  // always ends with a separator
    QStringList FileNames;  // names without folder in 1..FileCount; entry 0 stays empty
};

// The file-name result of the platform's open dialog for `files` (full paths,
// all in one folder): the full path for one file; for several the folder, a
// NUL and the names separated by NULs.
QString platformDialogResult(const QStringList& files);

// Parses a dialog result against the process's current directory, which the
// dialog has made the selection's folder. A result that does not lie in the
// current directory shows the parser's fixed error message and gives the
// record as far as it was filled (FileCount 0).
SelectedFiles GetDlgSelectFileInfo(const QString& result, Prompter& prompter, QWidget* owner);

}  // namespace leafmill
