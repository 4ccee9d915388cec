#include "ui/SourceEntryDelegate.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>

namespace leafmill {

namespace {

const QString kBetween = QStringLiteral("  \u2014  ");
// The item's own margins, left and right of the text.
constexpr int kTextMargins = 8;
// A folder narrower than this says nothing; it is left out.
constexpr int kLeastFolderWidth = 40;

}  // namespace

QString SourceEntryDelegate::entryText(const QString& path, const QFontMetrics& metrics, int width)
{
    const QFileInfo file(QDir::fromNativeSeparators(path));
    const QString name = file.fileName();
    if (name.isEmpty() || name == path)
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    if (metrics.horizontalAdvance(name) >= width)
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    const int room = width - metrics.horizontalAdvance(name + kBetween);
    if (room < kLeastFolderWidth)
        return name;
    const QString folder = QDir::toNativeSeparators(file.path());
    return name + kBetween + metrics.elidedText(folder, Qt::ElideMiddle, room);
}

void SourceEntryDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = entryText(option->text, option->fontMetrics, option->rect.width() - kTextMargins);
}

}  // namespace leafmill
