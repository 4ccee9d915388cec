#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

namespace leafmill {

// Shows a listed source by its file name first and then its folder, elided in
// the middle to the room left: the name is what a person looks for. The
// entry itself keeps the full path.
class SourceEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // What an entry for `path` shows in `width` pixels.
    static QString entryText(const QString& path, const QFontMetrics& metrics, int width);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace leafmill
