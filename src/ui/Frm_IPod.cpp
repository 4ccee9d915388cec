#include "ui/Frm_IPod.h"

#include "app/SettingsStore.h"
#include "controls/xpcmdbutton.h"
#include "device/EjectCommands.h"
#include "device/IPodBooks.h"
#include "device/IPodMessages.h"
#include "io/FileAccess.h"
#include "lang/StringId.h"
#include "targets/notes/ReaderLimits.h"
#include "ui/Prompter.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"
#include "ui/WindowChrome.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QTimer>

namespace leafmill {

namespace {

const WindowChrome::Layout kChrome {
    {1, 0, 380, 21}, {4, 3, 16, 16}, {24, 4}, {25, 5}, {}, {362, 4, 16, 16},
};
constexpr QSize kSize {382, 300};
// Mounting and removing a volume show within this long.
constexpr int kWatchMilliseconds = 2000;
constexpr int kEjectMilliseconds = 30000;
constexpr int kBookNameRole = Qt::UserRole;
constexpr int kOursRole = Qt::UserRole + 1;

QString sizeText(std::uintmax_t bytes)
{
    return QLocale().formattedDataSize(static_cast<qint64>(bytes));
}

// What the chooser shows of an iPod: where it is, what it is and its format.
QString iPodEntry(const IPodVolume& iPod)
{
    QStringList about;
    for (const std::string& part : {iPod.model, iPod.format})
        if (!part.empty())
            about << ui::fromUtf8(part);
    const QString where = ui::fromPath(iPod.root);
    return about.isEmpty() ? where : where + QStringLiteral(" \u2013 ") + about.join(QStringLiteral(", "));
}

std::vector<std::filesystem::path> rootsOf(const std::vector<IPodVolume>& iPods)
{
    std::vector<std::filesystem::path> roots;
    for (const IPodVolume& iPod : iPods)
        roots.push_back(iPod.root);
    return roots;
}

}  // namespace

Frm_IPod::Frm_IPod(UiContext& context, Finder find, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , context_(context)
    , find_(std::move(find))
{
    setObjectName(QStringLiteral("Frm_IPod"));
    setFixedSize(kSize);
    setFont(ui::windowFont());
    ui::paintBlack(this);
    setWindowIcon(ui::programIcon());
    chrome_ = new WindowChrome(this, kChrome, context_.imagesFolder());
    connect(chrome_, &WindowChrome::closeRequested, this, &QWidget::close);
    buildFace();
    DrawFaceText();
    // A volume mounted or removed changes the list of iPods; the books of
    // the one shown are read again only then and after a change made here.
    watch_ = new QTimer(this);
    connect(watch_, &QTimer::timeout, this, [this] {
        if (rootsOf(find_()) != rootsOf(iPods_))
            refresh();
    });
    watch_->start(kWatchMilliseconds);
    refresh();
}

void Frm_IPod::buildFace()
{
    QWidget* face = ui::makePanel(this, QStringLiteral("Pic_IPodFace"), {1, 22, 380, 277}, ui::kPanelColour);
    Label1 = ui::makeLabel(face, QStringLiteral("Label1"), {8, 11});
    Combo1 = new QComboBox(face);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Label1->setBuddy(Combo1);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Frm_IPod::showBooks);
    Label2 = ui::makeLabel(face, QStringLiteral("Label2"), {8, 38});
    Label2->setWordWrap(true);
    List1 = new QListWidget(face);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(8, 58, 364, 178);
    Cmd_Send = ui::makeButton(face, QStringLiteral("Cmd_Send"), {8, 244, 88, 25});
    Cmd_Remove = ui::makeButton(face, QStringLiteral("Cmd_Remove"), {100, 244, 88, 25});
    Cmd_NextVolume = ui::makeButton(face, QStringLiteral("Cmd_NextVolume"), {192, 244, 88, 25});
    Cmd_Eject = ui::makeButton(face, QStringLiteral("Cmd_Eject"), {284, 244, 88, 25});
    connect(Cmd_Send, &xpcmdbutton::Click, this, &Frm_IPod::sendBook);
    connect(Cmd_Remove, &xpcmdbutton::Click, this, &Frm_IPod::removeBook);
    connect(Cmd_NextVolume, &xpcmdbutton::Click, this, &Frm_IPod::sendNextVolume);
    connect(Cmd_Eject, &xpcmdbutton::Click, this, &Frm_IPod::eject);
    const QList<QWidget*> chain {Combo1, List1, Cmd_Send, Cmd_Remove, Cmd_NextVolume, Cmd_Eject};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void Frm_IPod::DrawFaceText()
{
    chrome_->setTitle(context_.text(StringId::IPodTitle));
    Label1->setText(context_.text(StringId::IPodLabel));
    ui::fitLabel(Label1);
    Combo1->setGeometry(Label1->x() + Label1->width() + 4, 8, 364 - Label1->width() - 4, 22);
    Cmd_Send->setCaption(context_.text(StringId::SendButton));
    Cmd_Remove->setCaption(context_.text(StringId::RemoveButton));
    Cmd_NextVolume->setCaption(context_.text(StringId::NextVolumeButton));
    Cmd_Eject->setCaption(context_.text(StringId::EjectButton));
    showBooks();
}

void Frm_IPod::refresh()
{
    const QString shown = Combo1->currentText();
    iPods_ = find_();
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    for (const IPodVolume& iPod : iPods_)
        Combo1->addItem(iPodEntry(iPod));
    Combo1->setCurrentIndex(std::max(0, Combo1->findText(shown)));
    showBooks();
}

const IPodVolume* Frm_IPod::chosenIPod() const
{
    const int index = Combo1->currentIndex();
    return index >= 0 && index < static_cast<int>(iPods_.size()) ? &iPods_[static_cast<std::size_t>(index)] : nullptr;
}

void Frm_IPod::showBooks()
{
    const QString selected = List1->currentItem() ? List1->currentItem()->data(kBookNameRole).toString() : QString();
    List1->clear();
    const IPodVolume* iPod = chosenIPod();
    for (xpcmdbutton* button : {Cmd_Send, Cmd_Remove, Cmd_NextVolume, Cmd_Eject})
        button->setEnabled(iPod != nullptr);
    if (!iPod) {
        Label2->setText(context_.text(StringId::NoIPod));
        Label2->setFixedWidth(364);
        Label2->adjustSize();
        return;
    }
    Label2->setText(context_.text(StringId::IPodNotesInUse)
                        .replace(QStringLiteral("@Notes"), QLocale().toString(iPod->notesInUse))
                        .replace(QStringLiteral("@Limit"), QLocale().toString(kReaderNoteLimit))
                        .replace(QStringLiteral("@Free"), sizeText(iPod->freeBytes)));
    Label2->adjustSize();
    for (const BookOnIPod& book : booksOnIPod(iPod->notes)) {
        const QString name = ui::fromUtf8(book.name);
        QString text = context_.text(StringId::IPodBookEntry)
                           .replace(QStringLiteral("@Book"), name)
                           .replace(QStringLiteral("@Notes"), QLocale().toString(book.notes));
        if (book.ours)
            text += QStringLiteral(" \u2013 ") + context_.text(StringId::MadeByLeafmill);
        auto* item = new QListWidgetItem(text, List1);
        item->setData(kBookNameRole, name);
        item->setData(kOursRole, book.ours);
        // Folders of other programs show greyed: Leafmill leaves them alone.
        if (!book.ours)
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        if (name == selected)
            List1->setCurrentItem(item);
    }
}

QString Frm_IPod::chooseBookFolder(int title)
{
    QString folder = context_.prompter().chooseFolder(this, context_.text(title),
                                                      ui::fromUtf8(context_.store().record().OutPutDir));
    return folder.left(folder.indexOf(QChar(u'\0')));
}

void Frm_IPod::tellChange(const IPodChange& change, int doneText, const QString& folder)
{
    const QString text = ui::fromUtf8(
        changeMessage(*context_.language(), change, doneText, ui::toUtf8(QDir::toNativeSeparators(folder))));
    if (change.outcome == IPodChange::Outcome::Failed)
        context_.prompter().critical(this, context_.title(), text);
    else
        context_.message(this, text);
}

void Frm_IPod::sendFrom(int title, IPodChange (*send)(const std::filesystem::path&, const std::filesystem::path&))
{
    const IPodVolume* iPod = chosenIPod();
    const QString folder = iPod ? chooseBookFolder(title) : QString();
    if (folder.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const IPodChange change = send(ui::toPath(folder), iPod->notes);
    QApplication::restoreOverrideCursor();
    refresh();
    tellChange(change, StringId::BookSent, folder);
}

void Frm_IPod::sendBook()
{
    sendFrom(StringId::SendTitle, ::leafmill::sendBook);
}

void Frm_IPod::sendNextVolume()
{
    sendFrom(StringId::NextVolumeTitle, ::leafmill::sendNextVolume);
}

void Frm_IPod::removeBook()
{
    const IPodVolume* iPod = chosenIPod();
    if (!iPod)
        return;
    if (!List1->currentItem()) {
        context_.message(this, context_.text(StringId::ChooseBookFirst));
        return;
    }
    const QString name = List1->currentItem()->data(kBookNameRole).toString();
    // Nothing to ask about a folder that stays whatever the answer.
    if (List1->currentItem()->data(kOursRole).toBool()
        && !context_.question(this, context_.text(StringId::AskRemoveBook).replace(QStringLiteral("@Book"), name)))
        return;
    const IPodChange change = ::leafmill::removeBook(iPod->notes, ui::toUtf8(name));
    refresh();
    tellChange(change, StringId::BookRemoved, {});
}

void Frm_IPod::eject()
{
    const IPodVolume* iPod = chosenIPod();
    if (!iPod)
        return;
    const std::vector<std::vector<std::string>> commands = ejectCommands(*iPod);
    if (commands.empty()) {
        context_.message(this, context_.text(StringId::EjectNotOffered));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    for (const std::vector<std::string>& command : commands) {
        QStringList arguments;
        for (std::size_t i = 1; i < command.size(); ++i)
            arguments << ui::fromUtf8(command[i]);
        QProcess process;
        process.start(ui::fromUtf8(command.front()), arguments);
        if (!process.waitForFinished(kEjectMilliseconds) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
            failure = said.isEmpty() ? process.errorString() : said;
            process.kill();
            break;
        }
    }
    QApplication::restoreOverrideCursor();
    refresh();
    if (failure.isEmpty())
        context_.message(this, context_.text(StringId::IPodEjected));
    else
        context_.prompter().critical(this, context_.title(),
                                     context_.text(StringId::EjectFailed).replace(QStringLiteral("@Reason"), failure));
}

void Frm_IPod::showEvent(QShowEvent* event)
{
    ui::centreOnScreenOnce(this, centred_);
    QWidget::showEvent(event);
}

void Frm_IPod::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace leafmill
