#include "ui/SourcePaths.h"

#include "convert/ContentDispatch.h"
#include "extract/Formats.h"
#include "ui/UiStyle.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace leafmill {

namespace {

QString wholePath(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// A file of a kind by its ending, or one without an ending (README) whose
// content is of a kind Leafmill reads.
bool isReadable(const QDir& folder, const QString& name)
{
    return findSourceKind(ui::toUtf8(name), defaultDispatchTable())
        || (QFileInfo(name).suffix().isEmpty()
            && chooseSourceKind(ui::toUtf8(folder.filePath(name)), defaultDispatchTable()).kind);
}

QStringList readableFilesIn(const QDir& folder)
{
    QStringList names;
    for (const QString& name : folder.entryList(QDir::Files))
        if (isReadable(folder, name))
            names << name;
    QCollator order;
    order.setNumericMode(true);
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), order);
    QStringList files;
    for (const QString& name : names)
        files << wholePath(folder.filePath(name));
    return files;
}

}  // namespace

QStringList sourcesFrom(const QStringList& paths)
{
    QStringList sources;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            sources << readableFilesIn(QDir(info.absoluteFilePath()));
        else if (info.exists())
            sources << wholePath(path);
    }
    return sources;
}

}  // namespace leafmill
