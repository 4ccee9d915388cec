#include "ui/SelectedFiles.h"

#include "ui/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace leafmill {

static const QChar kNul(u'\0');

QString platformDialogResult(const QStringList& files)
{
    if (files.isEmpty())
        return {};
    if (files.size() == 1)
        return QDir::toNativeSeparators(files.constFirst());
    QString result = QDir::toNativeSeparators(QFileInfo(files.constFirst()).absolutePath());
    for (const QString& file : files)
        result += kNul + QFileInfo(file).fileName();
    return result;
}

SelectedFiles GetDlgSelectFileInfo(const QString& result, Prompter& prompter, QWidget* owner)
{
    SelectedFiles selected;
    selected.FileNames << QString();
    const QString folder = QDir::toNativeSeparators(QDir::currentPath());

    // The tail behind the current directory holds the names. A result outside
    // that folder, or with nothing behind it, would yield paths that were
    // never chosen, so it counts as malformed.
    QString tail = result.startsWith(folder) ? result.mid(folder.size()) : QString();
    const bool atJoint
        = folder.endsWith(QDir::separator()) || tail.startsWith(kNul) || tail.startsWith(QDir::separator());
    if (tail.isEmpty() || !atJoint) {
        prompter.critical(owner, QStringLiteral("自定义函数错误"),
                          QStringLiteral("GetDlgSelectFileInfo函数执行错误！"));
        return selected;
    }

    int count = 0;
    if (tail.front() == kNul) {
        for (QChar c : tail) {
            if (c == kNul) {
                ++count;
                selected.FileNames << QString();
            } else {
                selected.FileNames[count] += c;
            }
        }
    } else {
        count = 1;
        if (tail.front() == QDir::separator())
            tail.remove(0, 1);
        selected.FileNames << tail;
    }

    selected.FileCount = count;
    selected.FolderPath = folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
    return selected;
}

}  // namespace leafmill
