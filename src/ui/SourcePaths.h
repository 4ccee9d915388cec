#pragma once

#include <QStringList>

namespace leafmill {

// The sources that dropped or named paths stand for, in their order: a file
// itself; a folder, the files in it of a kind Leafmill reads, sorted as a
// person sorts names ("Chapter 2" before "Chapter 10"), its subfolders left
// alone. The paths come out whole, with the platform's separators; a path
// that names nothing is left out.
QStringList sourcesFrom(const QStringList& paths);

}  // namespace leafmill
