#include "ui/QtPrompter.h"

#include "ui/FileDialogFilter.h"
#include "ui/WindowPlacement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QUrl>

namespace leafmill {

namespace {

// Room in a title bar for a window manager's icon and buttons beside the title.
constexpr int kTitleBarExtras = 120;

// A message box centred over its owner's window and wide enough to show its
// whole title. Its texts are plain: a book name may hold "<".
class OwnedMessageBox : public QMessageBox {
public:
    OwnedMessageBox(Icon icon, const QString& caption, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, caption, text, buttons, owner)
    {
        setTextFormat(Qt::PlainText);
        // A row as wide as the title needs, below the text: the text itself
        // keeps its own width and wrapping.
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            QFont bold = font();
            bold.setBold(true);
            const int needed = QFontMetrics(bold).horizontalAdvance(caption) + kTitleBarExtras;
            grid->addItem(new QSpacerItem(needed, 0), grid->rowCount(), 0, 1, grid->columnCount());
        }
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        // The box has its size now; the toolkit's own placement trusts the
        // owner's position, which may be stale.
        QMessageBox::showEvent(event);
        if (parentWidget())
            ui::centreOver(this, parentWidget());
    }
};

// A file dialog no larger than the screen it opens on, centred over its owner.
void fitScreen(QFileDialog& dialog, QWidget* owner)
{
    const QScreen* screen = owner ? owner->screen() : dialog.screen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() * 9 / 10;
    dialog.resize(dialog.sizeHint().boundedTo(room));
    if (owner)
        ui::centreOver(&dialog, owner);
}

}  // namespace

void QtPrompter::message(QWidget* owner, const QString& caption, const QString& text)
{
    OwnedMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

void QtPrompter::critical(QWidget* owner, const QString& caption, const QString& text)
{
    OwnedMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtPrompter::question(QWidget* owner, const QString& caption, const QString& text)
{
    OwnedMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

OpenFilesAnswer QtPrompter::openFiles(QWidget* owner, const OpenFilesRequest& request)
{
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontResolveSymlinks);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }

    fitScreen(dialog, owner);
    OpenFilesAnswer answer;
    answer.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    for (const QString& file : dialog.selectedFiles())
        answer.files << QDir::toNativeSeparators(file);
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        answer.filterIndex = static_cast<int>(chosen) + 1;
    return answer;
}

QString QtPrompter::chooseFolder(QWidget* owner, const QString& title, const QString& preselected,
                                 const QList<FolderOffer>& offers)
{
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const QFileInfo previous(QDir::cleanPath(QDir::fromNativeSeparators(preselected)));
    if (!preselected.isEmpty() && previous.isDir()) {
        dialog.setDirectory(previous.absoluteDir());
        dialog.selectFile(previous.absoluteFilePath());
    } else {
        dialog.setDirectory(QDir::homePath());
    }
    // The offered folders stand in the side bar; their labels say what they are.
    if (!offers.isEmpty()) {
        QList<QUrl> places = dialog.sidebarUrls();
        QStringList labels;
        for (const FolderOffer& offer : offers) {
            places << QUrl::fromLocalFile(offer.folder);
            labels << offer.label;
        }
        dialog.setSidebarUrls(places);
        dialog.setLabelText(QFileDialog::LookIn, labels.join(QLatin1Char('\n')));
        if (preselected.isEmpty() || !previous.isDir())
            dialog.setDirectory(offers.constFirst().folder);
    }
    fitScreen(dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace leafmill
