#include "ui/SelectedFiles.h"

#include <QDir>
#include <QFileInfo>

namespace leafmill {

SelectedFiles checkSelection(const QStringList& chosen)
{
    SelectedFiles selected;
    for (const QString& path : chosen) {
        if (path.isEmpty())
            continue;
        const QFileInfo info(path);
        const QString whole = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
        if (!info.exists())
            selected.gone << whole;
        else if (!info.isFile())
            selected.notFiles << whole;
        else
            selected.files << whole;
    }
    return selected;
}

QString rememberedFolder(const QStringList& chosen)
{
    if (chosen.isEmpty())
        return {};
    if (chosen.size() == 1)
        return QDir::toNativeSeparators(chosen.constFirst());
    return QDir::toNativeSeparators(QFileInfo(chosen.constFirst()).absolutePath());
}

}  // namespace leafmill
