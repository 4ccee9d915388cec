#include "ui/Frm_Main.h"

#include "app/SettingsStore.h"
#include "controls/GfuBut.h"
#include "controls/Mnemonic.h"
#include "controls/Xp_ProgressBar.h"
#include "controls/xpcmdbutton.h"
#include "convert/EndMessage.h"
#include "convert/OutputRun.h"
#include "device/IPodFinder.h"
#include "extract/Formats.h"
#include "io/FileAccess.h"
#include "lang/StringId.h"
#include "targets/ChosenTarget.h"
#include "targets/notes/NotesCheck.h"
#include "targets/notes/NotesMessages.h"
#include "targets/notes/ReaderLimits.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"
#include "ui/Frm_IPod.h"
#include "ui/Frm_Settings.h"
#include "ui/OutputRunWorker.h"
#include "ui/PreviewWindow.h"
#include "ui/Prompter.h"
#include "ui/SelectedFiles.h"
#include "ui/SourceEntryDelegate.h"
#include "ui/SourcePaths.h"
#include "ui/TimeLeft.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"
#include "ui/WindowChrome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMimeData>
#include <QShortcut>
#include <QSizeGrip>
#include <QUrl>

namespace leafmill {

namespace {

const WindowChrome::Layout kChrome {
    {1, 0, 380, 21}, {4, 3, 16, 16}, {24, 4}, {25, 5}, {344, 4, 16, 16}, {362, 4, 16, 16},
};
// The window's size as designed, and its least.
constexpr QSize kDesignSize {382, 320};
constexpr int kSizeGrip = 10;

// The local files and folders a drag carries.
QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}

// The notes a book folder holds already.
int notesIn(const QString& bookFolder)
{
    return static_cast<int>(QDir(bookFolder).entryList({QStringLiteral("*.txt")}, QDir::Files).size());
}

// The volumes to offer when the reader has room for `room` more notes: that
// many, or a full reader's worth when the room is too small for a volume.
int32_t offeredVolumeNotes(int64_t room)
{
    return room >= kLeastVolumeNotes ? static_cast<int32_t>(room) : static_cast<int32_t>(kReaderNoteLimit);
}

}  // namespace

Frm_Main::Frm_Main(UiContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint)
    , context_(context)
    , fileList_(nullptr)
{
    setObjectName(QStringLiteral("Frm_Main"));
    resize(kDesignSize);
    setMinimumSize(kDesignSize);
    setFont(ui::windowFont());
    ui::paintBlack(this);
    setWindowIcon(ui::programIcon());

    chrome_ = new WindowChrome(this, kChrome, context_.imagesFolder());
    connect(chrome_, &WindowChrome::closeRequested, this, &QWidget::close);
    buildMainFace();
    buildProgressPanel();
    chainTabOrder();
    fileList_ = FileList(List1);

    Text1->setText(ui::fromUtf8(context_.store().record().BookName));
    DrawFaceText();

    // Key preview: the window sees key presses before the focused control.
    qApp->installEventFilter(this);
}

Frm_Main::~Frm_Main()
{
    qApp->removeEventFilter(this);
    if (run_) {
        // The run ends without this window: nothing of it may reach it now.
        run_->disconnect(this);
        run_.reset();
    }
}

void Frm_Main::buildMainFace()
{
    Pic_MainFace = ui::makePanel(this, QStringLiteral("Pic_MainFace"), {1, 22, 380, 297}, ui::kPanelColour);
    Label1 = ui::makeLabel(Pic_MainFace, QStringLiteral("Label1"), {8, 11});

    Text1 = new QLineEdit(Pic_MainFace);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(512);
    Text1->resize(Text1->width(), 21);

    Label1->setBuddy(Text1);

    List1 = new QListWidget(Pic_MainFace);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(8, 40, 336, 184);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The entries shorten their folders to the list's width.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setItemDelegate(new SourceEntryDelegate(List1));
    List1->viewport()->setAcceptDrops(true);
    auto* remove = new QShortcut(QKeySequence::Delete, List1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &Frm_Main::deleteSelected);

    const QString images = context_.imagesFolder();
    arrup = new GfuBut(QStringLiteral("arrup"), images, Pic_MainFace);
    arrup->setObjectName(QStringLiteral("arrup"));
    arrup->setGeometry(346, 42, 31, 30);
    connect(arrup, &GfuBut::MouseDown, this, [this](int, int, float, float) { moveUp(); });
    connect(arrup, &GfuBut::KeyActivated, this, &Frm_Main::moveUp);
    arrdown = new GfuBut(QStringLiteral("arrdown"), images, Pic_MainFace);
    arrdown->setObjectName(QStringLiteral("arrdown"));
    arrdown->setGeometry(346, 192, 31, 30);
    connect(arrdown, &GfuBut::MouseDown, this, [this](int, int, float, float) { moveDown(); });
    connect(arrdown, &GfuBut::KeyActivated, this, &Frm_Main::moveDown);

    Cmd_AddFiles = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_AddFiles"), {8, 230, 111, 25});
    Cmd_DelFiles = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_DelFiles"), {123, 230, 111, 25});
    Cmd_ClearList = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_ClearList"), {238, 230, 132, 25});
    Cmd_Preview = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_Preview"), {8, 262, 60, 25});
    Cmd_IPod = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_IPod"), {70, 262, 49, 25});
    Cmd_Settings = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_Settings"), {123, 262, 111, 25});
    Cmd_Output = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_Output"), {238, 262, 132, 25});
    Cmd_Output->setCaptionFont(ui::windowFont(ui::kFont9pt, true));
    Cmd_Output->setForeColor(QColor(0xFF, 0x00, 0x00));

    connect(Cmd_AddFiles, &xpcmdbutton::Click, this, &Frm_Main::addFiles);
    connect(Cmd_DelFiles, &xpcmdbutton::Click, this, &Frm_Main::deleteSelected);
    connect(Cmd_ClearList, &xpcmdbutton::Click, this, &Frm_Main::clearList);
    connect(Cmd_Settings, &xpcmdbutton::Click, this, &Frm_Main::openSettings);
    connect(Cmd_Output, &xpcmdbutton::Click, this, &Frm_Main::startOutput);
    connect(Cmd_Preview, &xpcmdbutton::Click, this, &Frm_Main::openPreview);
    connect(Cmd_IPod, &xpcmdbutton::Click, this, &Frm_Main::openIPod);
    for (QWidget* button : std::initializer_list<QWidget*> {Cmd_AddFiles, Cmd_DelFiles, Cmd_ClearList, Cmd_Preview,
                                                            Cmd_IPod, Cmd_Settings, Cmd_Output})
        buttonPlaces_.emplace_back(button, button->geometry());

    sizeGrip_ = new QSizeGrip(Pic_MainFace);
    sizeGrip_->setObjectName(QStringLiteral("SizeGrip"));
}

// The Tab chain follows the layout: the name, the list and its arrows, then
// the buttons row by row.
void Frm_Main::chainTabOrder()
{
    const QList<QWidget*> chain {Text1,         List1,       arrup,    arrdown,      Cmd_AddFiles, Cmd_DelFiles,
                                 Cmd_ClearList, Cmd_Preview, Cmd_IPod, Cmd_Settings, Cmd_Output};
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

// Over the list: the source being converted, the whole run's bar with the
// time left, the source's bar, and Stop Output.
void Frm_Main::buildProgressPanel()
{
    Pic_Make = ui::makePanel(this, QStringLiteral("Pic_Make"), {11, 59, 332, 146}, ui::kPanelColour);
    Label2 = ui::makeLabel(Pic_Make, QStringLiteral("Label2"), {8, 8});
    Label3 = ui::makeLabel(Pic_Make, QStringLiteral("Label3"), {16, 30});
    Label4 = ui::makeLabel(Pic_Make, QStringLiteral("Label4"), {16, 30});
    Label4->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label4->resize(293, 14);
    ProgressBar1 = new Xp_ProgressBar(Pic_Make);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 46, 293, 17);
    Label5 = ui::makeLabel(Pic_Make, QStringLiteral("Label5"), {16, 70});
    ProgressBar2 = new Xp_ProgressBar(Pic_Make);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setGeometry(16, 86, 293, 17);
    Cmd_StopOutput = ui::makeButton(Pic_Make, QStringLiteral("Cmd_StopOutput"), {54, 112, 220, 25});
    connect(Cmd_StopOutput, &xpcmdbutton::Click, this, &Frm_Main::stopOutput);
    Pic_Make->hide();
    Pic_Make->raise();
}

void Frm_Main::DrawFaceText()
{
    chrome_->setTitle(context_.versionTitle());

    Label1->setText(context_.text(StringId::BookNamePrompt));
    ui::fitLabel(Label1);
    Cmd_AddFiles->setCaption(context_.text(StringId::AddFilesButton));
    Cmd_Settings->setCaption(context_.text(StringId::SettingsButton));
    Cmd_Preview->setCaption(context_.text(StringId::PreviewButton));
    Cmd_IPod->setCaption(context_.text(StringId::IPodButton));
    if (iPod_)
        iPod_->DrawFaceText();
    Cmd_DelFiles->setCaption(context_.text(StringId::DelFilesButton));
    Cmd_ClearList->setCaption(context_.text(StringId::ClearListButton));
    Cmd_Output->setCaption(context_.text(StringId::OutputButton));
    Cmd_StopOutput->setCaption(context_.text(StringId::StopOutputButton));
    Label3->setText(context_.text(StringId::RunBarLabel));
    ui::fitLabel(Label3);
    Label5->setText(context_.text(StringId::SourceBarLabel));
    ui::fitLabel(Label5);
    layOutFace();
}

// The design layout, with what the window has grown by given to the list:
// the arrows keep to its right edge, the buttons to its foot and middle.
void Frm_Main::layOutFace()
{
    const QSize grown = size() - kDesignSize;
    chrome_->fitWidth(width());
    Pic_MainFace->resize(380 + grown.width(), 297 + grown.height());
    // The book-name box starts where the prompt ends and stops 8 pixels short
    // of the panel's edge, whatever the prompt's length.
    Text1->setGeometry(Label1->x() + Label1->width(), 8, Pic_MainFace->width() - 16 - Label1->width(), Text1->height());
    List1->resize(336 + grown.width(), 184 + grown.height());
    arrup->move(346 + grown.width(), arrup->y());
    arrdown->move(346 + grown.width(), List1->y() + List1->height() - arrdown->height() - 2);
    for (const auto& [button, place] : buttonPlaces_)
        button->move(place.topLeft() + QPoint(grown.width() / 2, grown.height()));
    Pic_Make->move(11 + grown.width() / 2, 59 + grown.height() / 2);
    sizeGrip_->setGeometry(Pic_MainFace->width() - kSizeGrip, Pic_MainFace->height() - kSizeGrip, kSizeGrip, kSizeGrip);
}

void Frm_Main::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOutFace();
}

void Frm_Main::showEvent(QShowEvent* event)
{
    ui::centreOnScreenOnce(this, centred_);
    QWidget::showEvent(event);
}

bool Frm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && filterKeyPreview(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == List1->viewport() && filterDrop(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool Frm_Main::filterKeyPreview(QObject* watched, QKeyEvent* key)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ShiftModifier)
        return false;
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        // The run reads the list by position; the list stays as it is meanwhile.
        if (!isRunning())
            key->key() == Qt::Key_Up ? moveUp() : moveDown();
        return true;
    }
    // In the list, Shift with a movement key does nothing; typed characters go on.
    if (widget == List1 || widget == List1->viewport()) {
        const QString typed = key->text();
        if (typed.isEmpty() || !typed.front().isPrint())
            return true;
    }
    return false;
}

// Files and folders dragged from a file manager onto the list. They are
// copied by name only: a drop taken as a move would let the sender delete
// the originals.
bool Frm_Main::filterDrop(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (isRunning() || droppedPaths(drop->mimeData()).isEmpty() || !(drop->possibleActions() & Qt::CopyAction)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop)
            addSources(droppedPaths(drop->mimeData()));
        return true;
    }
    default:
        return false;
    }
}

void Frm_Main::closeEvent(QCloseEvent* event)
{
    if (run_) {
        // On Yes the window goes once the run has ended (or at once when it
        // ended by itself while the question was open).
        event->ignore();
        if (!closeAfterRun_ && askStop()) {
            if (run_)
                closeAfterRun_ = true;
            else
                close();
        }
        return;
    }
    // Form_Unload
    context_.store().record().BookName = ui::toUtf8(Text1->text());
    context_.saveSettings(this);
    event->accept();
}

int Frm_Main::addSources(const QStringList& paths)
{
    int added = 0;
    for (const QString& path : sourcesFrom(paths))
        added += fileList_.addUnique(path) ? 1 : 0;
    return added;
}

void Frm_Main::addFiles()
{
    Settings& settings = context_.store().record();
    OpenFilesRequest request;
    request.title = context_.text(StringId::AddFilesTitle);
    // A main.ini without a filter still offers the kinds Leafmill reads.
    request.filter = ui::fromUtf8(settings.Filter.empty() ? fileDialogFilter(defaultDispatchTable()) : settings.Filter);
    request.filterIndex = settings.OpenFilesFilterIndex;
    request.initialFolder = ui::fromUtf8(settings.InPutDir);
    const OpenFilesAnswer answer = context_.prompter().openFiles(this, request);
    if (answer.files.isEmpty())
        return;

    const SelectedFiles selected = checkSelection(answer.files);
    settings.InPutDir = ui::toUtf8(rememberedFolder(answer.files));
    settings.OpenFilesFilterIndex = answer.filterIndex;
    for (const QString& path : selected.files)
        fileList_.addUnique(path);
    QStringList refusals;
    if (!selected.gone.isEmpty())
        refusals << context_.text(StringId::ChosenFilesGone) + QLatin1Char('\n')
                + selected.gone.join(QLatin1Char('\n'));
    if (!selected.notFiles.isEmpty())
        refusals << context_.text(StringId::ChosenNotFiles) + QLatin1Char('\n')
                + selected.notFiles.join(QLatin1Char('\n'));
    if (!refusals.isEmpty())
        context_.message(this, refusals.join(QStringLiteral("\n\n")));
}

void Frm_Main::deleteSelected()
{
    if (!fileList_.hasSelection())
        return;
    if (context_.question(this, context_.text(StringId::AskDeleteFiles)))
        fileList_.removeSelected();
}

void Frm_Main::clearList()
{
    if (List1->count() == 0)
        return;
    if (context_.question(this, context_.text(StringId::AskClearList)))
        List1->clear();
}

void Frm_Main::moveUp()
{
    fileList_.moveUp();
}

void Frm_Main::moveDown()
{
    fileList_.moveDown();
}

void Frm_Main::openSettings()
{
    Frm_Settings dialog(
        context_, [this] { DrawFaceText(); }, this);
    dialog.exec();
}

bool Frm_Main::FixInput()
{
    const int refusal = ::leafmill::FixInput(ui::toUtf8(Text1->text()), static_cast<std::size_t>(List1->count()));
    if (refusal == 0)
        return true;
    context_.message(this, context_.text(refusal));
    if (refusal != StringId::FileListEmpty)
        Text1->setFocus();
    return false;
}

QString Frm_Main::GetOutPath()
{
    QList<FolderOffer> offers;
    for (const IPodVolume& iPod : connectedIPodVolumes()) {
        const QString folder = ui::fromUtf8(pathToUtf8(iPod.notes));
        offers << FolderOffer {
            folder,
            context_.text(StringId::IPodNotesFolder)
                .replace(QStringLiteral("@Folder"), QDir::toNativeSeparators(folder))
                .replace(QStringLiteral("@Free"), QLocale().formattedDataSize(static_cast<qint64>(iPod.freeBytes)))};
    }
    // OutPutDir is the last book's own folder; offering it would put the next
    // book inside that one, so the folder it was made in is preselected.
    const QString lastBook
        = QDir::cleanPath(QDir::fromNativeSeparators(ui::fromUtf8(context_.store().record().OutPutDir)));
    const QString preselected = lastBook.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(lastBook).path());
    return context_.prompter().chooseFolder(this, context_.text(StringId::OutputFolderTitle), preselected, offers);
}

bool Frm_Main::isRunning() const
{
    return run_ != nullptr;
}

void Frm_Main::startOutput()
{
    if (run_ || !FixInput())
        return;
    QString folder = GetOutPath();
    folder = folder.left(folder.indexOf(QChar(u'\0')));
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    if (!QFileInfo(folder).isDir())
        return;

    std::vector<std::string> sources;
    for (const QString& path : fileList_.paths())
        sources.push_back(ui::toUtf8(path));
    runVolumeNotes_ = 0;
    if (!replaceExistingBook(folder) || !readerTakesTheBook(sources, folder))
        return;
    beginRun(std::move(sources), folder);
}

void Frm_Main::beginRun(std::vector<std::string> sources, const QString& folder)
{
    Pic_Make->show();
    Pic_MainFace->setEnabled(false);
    Cmd_StopOutput->setFocus();
    Settings& settings = context_.store().record();
    settings.BookName = ui::toUtf8(Text1->text());
    Label2->clear();
    Label4->clear();
    ProgressBar1->setValue(0);
    ProgressBar2->setValue(0);
    runClock_.start();
    runSources_ = sources;
    runFolder_ = folder;
    Settings runSettings = settings;
    if (runVolumeNotes_ > 0)
        runSettings.NotesReader.VolumeNotes = runVolumeNotes_;
    auto engine
        = std::make_unique<OutputRun>(runSettings, context_.store().codePage(),
                                      chosenTarget(runSettings, context_.store().codePage(), context_.language()));
    run_ = std::make_unique<OutputRunWorker>(std::move(engine));
    connect(run_.get(), &OutputRunWorker::sourceShown, this, &Frm_Main::showSource);
    connect(run_.get(), &OutputRunWorker::runProgressChanged, this, &Frm_Main::showRunProgress);
    connect(run_.get(), &OutputRunWorker::sourceProgressChanged, ProgressBar2, &Xp_ProgressBar::setValue);
    connect(run_.get(), &OutputRunWorker::finished, this, &Frm_Main::finishRun, Qt::QueuedConnection);
    run_->start(settings.BookName, std::move(sources), ui::toUtf8(folder));
}

void Frm_Main::showSource(int index, const QString& path)
{
    // A long path loses its middle; the tip shows it whole.
    const QString text = context_.text(StringId::Converting) + path;
    Label2->setText(Label2->fontMetrics().elidedText(text, Qt::ElideMiddle, Pic_Make->width() - 16));
    Label2->setToolTip(text);
    ui::fitLabel(Label2);
    emit runSourceShown(index, path);
}

void Frm_Main::showRunProgress(int value)
{
    ProgressBar1->setValue(value);
    const QString left = timeLeft(runClock_.elapsed(), value);
    Label4->setText(left.isEmpty() ? QString()
                                   : context_.text(StringId::TimeLeft).replace(QStringLiteral("@Time"), left));
}

// The book folder the user picks, read as the iPod reads it.
void Frm_Main::openPreview()
{
    const Settings& settings = context_.store().record();
    QString folder = context_.prompter().chooseFolder(this, withoutMnemonic(context_.text(StringId::PreviewButton)),
                                                      ui::fromUtf8(settings.OutPutDir));
    folder = folder.left(folder.indexOf(QChar(u'\0')));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    std::shared_ptr<const PageEncoder> reader
        = PageEncoder::open(readerEncodingFor(settings.NotesReader, context_.store().codePage()->name()), nullptr);
    if (!reader)
        return;
    preview_ = std::make_unique<PreviewWindow>(folder, std::move(reader), context_.text(StringId::CheckButton));
    connect(preview_.get(), &PreviewWindow::checkRequested, this, &Frm_Main::checkPreviewedBook);
    preview_->show();
    preview_->activateWindow();
}

// The connected iPods and the books on them, in a window of their own.
void Frm_Main::openIPod()
{
    if (!iPod_)
        iPod_ = std::make_unique<Frm_IPod>(context_);
    else
        iPod_->refresh();
    iPod_->show();
    iPod_->raise();
    iPod_->activateWindow();
}

// What the reader would find wrong with the book in the preview.
void Frm_Main::checkPreviewedBook()
{
    const QString folder = QDir::toNativeSeparators(preview_->folder());
    const std::vector<CheckFinding> findings
        = checkNotes(pathFromUtf8(ui::toUtf8(preview_->folder())), preview_->readerEncoding());
    context_.message(preview_.get(), ui::fromUtf8(checkReport(*context_.language(), ui::toUtf8(folder), findings)));
}

void Frm_Main::stopOutput()
{
    if (run_)
        askStop();
}

// A book of the same name in the folder is replaced only when the user says so.
bool Frm_Main::replaceExistingBook(const QString& folder)
{
    const QString bookFolder = folder + Text1->text();
    const int notes = notesIn(bookFolder);
    if (notes == 0)
        return true;
    return context_.question(this,
                             context_.text(StringId::AskReplaceBook)
                                 .replace(QStringLiteral("@BookName"), Text1->text())
                                 .replace(QStringLiteral("@Folder"), QDir::toNativeSeparators(folder))
                                 .replace(QStringLiteral("@Pages"), QString::number(notes)));
}

// Pages the reader cuts short are told about; a book it cannot load whole is
// made only when the user says so, in volumes when the user chooses them.
bool Frm_Main::readerTakesTheBook(const std::vector<std::string>& sources, const QString& folder)
{
    const Settings& settings = context_.store().record();
    forecastTooMany_ = false;
    if (!settings.NotesReader.present)
        return true;
    if (const std::string warning = pageSizeWarning(settings, *context_.language()); !warning.empty())
        context_.message(this, QString::fromStdString(warning));
    const NotesForecast forecast = forecastNotes(settings, *context_.store().codePage(), *context_.language(), sources,
                                                 ui::toUtf8(folder), ui::toUtf8(Text1->text()));
    forecastTooMany_ = forecast.tooMany();
    if (!forecastTooMany_)
        return true;
    const QString notes = QString::number(forecast.notes);
    const QString limit = QString::number(forecast.room);
    const int32_t volume = offeredVolumeNotes(forecast.room);
    if (settings.NotesReader.VolumeNotes == 0 && !settings.wholeFileMode()
        && context_.question(this,
                             context_.text(StringId::AskVolumes)
                                 .replace(QStringLiteral("@Notes"), notes)
                                 .replace(QStringLiteral("@Limit"), limit)
                                 .replace(QStringLiteral("@Volume"), QString::number(volume)))) {
        runVolumeNotes_ = volume;
        return true;
    }
    return context_.question(this,
                             context_.text(StringId::AskTooManyNotes)
                                 .replace(QStringLiteral("@Notes"), notes)
                                 .replace(QStringLiteral("@Limit"), limit));
}

// The run waits while the question is open; a Yes ends it at once, a reader
// at work included. Gives the answer, also when the run ended meanwhile.
bool Frm_Main::askStop()
{
    run_->hold();
    const bool stop = context_.question(this, context_.text(StringId::AskStopRun));
    if (run_) {
        run_->release();
        if (stop)
            run_->stopWithoutAsking();
    }
    return stop;
}

void Frm_Main::finishRun()
{
    if (!run_)
        return;
    const RunResult result = run_->result();
    const std::string message = runMessage(*context_.language(), result, run_->target());
    run_.reset();

    Settings& settings = context_.store().record();
    if (!result.bookFolder.empty())
        settings.OutPutDir = result.bookFolder;
    settings.BookName = ui::toUtf8(Text1->text());
    ProgressBar1->setValue(100);
    ProgressBar2->setValue(0);
    if (!closeAfterRun_)
        context_.message(this, ui::fromUtf8(message));
    Pic_Make->hide();
    Pic_MainFace->setEnabled(true);
    // The count before the run was too low: the question comes now, with the true one.
    const bool remake = !closeAfterRun_ && settings.NotesReader.present && notesOverLimit(result) && !forecastTooMany_
        && result.volumes == 0 && !settings.wholeFileMode() && result.end == RunEnd::Completed;
    const int32_t volume = offeredVolumeNotes(notesRoom(result));
    if (remake
        && context_.question(
            this,
            context_.text(StringId::AskRemakeInVolumes).replace(QStringLiteral("@Volume"), QString::number(volume)))) {
        runVolumeNotes_ = volume;
        forecastTooMany_ = true;
        beginRun(runSources_, runFolder_);
        return;
    }
    List1->setFocus();
    emit runEnded();
    if (closeAfterRun_)
        close();
}

}  // namespace leafmill
