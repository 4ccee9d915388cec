#include "ui/QtPrompter.h"

#include "ui/FileDialogFilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace leafmill {

void QtPrompter::message(QWidget* owner, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

void QtPrompter::critical(QWidget* owner, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtPrompter::question(QWidget* owner, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
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
#ifdef _WIN32
        // The drives: "This PC" in the Windows shell.
        dialog.setDirectoryUrl(QUrl(QStringLiteral("clsid:0AC0837C-BBF8-452A-850D-79D08E667CA7")));
#else
        dialog.setDirectory(QDir::rootPath());
#endif
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace leafmill
