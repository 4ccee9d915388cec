#include "ui/Frm_Main.h"

#include "app/SettingsStore.h"
#include "controls/GfuBut.h"
#include "controls/Xp_ProgressBar.h"
#include "controls/xpcmdbutton.h"
#include "convert/OutputRun.h"
#include "convert/ReaderLimits.h"
#include "io/FileAccess.h"
#include "lang/StringId.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"
#include "ui/Frm_Settings.h"
#include "ui/OutputRunWorker.h"
#include "ui/PreviewWindow.h"
#include "ui/Prompter.h"
#include "ui/SelectedFiles.h"
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

namespace leafmill {

namespace {

const WindowChrome::Layout kChrome {
    {1, 0, 380, 21}, {4, 3, 16, 16}, {24, 4}, {25, 5}, {344, 4, 16, 16}, {362, 4, 16, 16},
};

}  // namespace

Frm_Main::Frm_Main(UiContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint)
    , context_(context)
    , fileList_(nullptr)
{
    setObjectName(QStringLiteral("Frm_Main"));
    setFixedSize(382, 320);
    setFont(ui::windowFont());
    ui::paintBlack(this);
    setWindowIcon(ui::programIcon());

    chrome_ = new WindowChrome(this, kChrome, context_.imagesFolder());
    connect(chrome_, &WindowChrome::closeRequested, this, &QWidget::close);
    buildMainFace();
    buildProgressPanel();
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

    List1 = new QListWidget(Pic_MainFace);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(8, 40, 336, 184);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const QString images = context_.imagesFolder();
    arrup = new GfuBut(QStringLiteral("arrup"), images, Pic_MainFace);
    arrup->setObjectName(QStringLiteral("arrup"));
    arrup->setGeometry(346, 42, 31, 30);
    connect(arrup, &GfuBut::MouseDown, this, [this](int, int, float, float) { moveUp(); });
    arrdown = new GfuBut(QStringLiteral("arrdown"), images, Pic_MainFace);
    arrdown->setObjectName(QStringLiteral("arrdown"));
    arrdown->setGeometry(346, 192, 31, 30);
    connect(arrdown, &GfuBut::MouseDown, this, [this](int, int, float, float) { moveDown(); });

    Cmd_AddFiles = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_AddFiles"), {8, 230, 111, 25});
    Cmd_DelFiles = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_DelFiles"), {123, 230, 111, 25});
    Cmd_ClearList = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_ClearList"), {238, 230, 132, 25});
    Cmd_Preview = ui::makeButton(Pic_MainFace, QStringLiteral("Cmd_Preview"), {8, 262, 111, 25});
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
}

void Frm_Main::buildProgressPanel()
{
    Pic_Make = ui::makePanel(this, QStringLiteral("Pic_Make"), {11, 89, 332, 129}, ui::kPanelColour);
    Label2 = ui::makeLabel(Pic_Make, QStringLiteral("Label2"), {8, 8});
    ProgressBar1 = new Xp_ProgressBar(Pic_Make);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 32, 293, 17);
    ProgressBar2 = new Xp_ProgressBar(Pic_Make);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setGeometry(16, 56, 293, 17);
    Cmd_StopOutput = ui::makeButton(Pic_Make, QStringLiteral("Cmd_StopOutput"), {54, 88, 220, 25});
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
    Cmd_DelFiles->setCaption(context_.text(StringId::DelFilesButton));
    Cmd_ClearList->setCaption(context_.text(StringId::ClearListButton));
    Cmd_Output->setCaption(context_.text(StringId::OutputButton));
    Cmd_StopOutput->setCaption(context_.text(StringId::StopOutputButton));

    // The book-name box starts where the prompt ends and stops 8 pixels short
    // of the panel's edge, whatever the prompt's length.
    Text1->setGeometry(Label1->x() + Label1->width(), 8, Pic_MainFace->width() - 16 - Label1->width(), Text1->height());
    arrdown->move(arrdown->x(), List1->y() + List1->height() - arrdown->height() - 2);
}

void Frm_Main::showEvent(QShowEvent* event)
{
    ui::centreOnScreenOnce(this, centred_);
    QWidget::showEvent(event);
}

bool Frm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QWidget::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ShiftModifier)
        return QWidget::eventFilter(watched, event);
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
    return QWidget::eventFilter(watched, event);
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

void Frm_Main::addFiles()
{
    Settings& settings = context_.store().record();
    OpenFilesRequest request;
    request.title = context_.text(StringId::AddFilesTitle);
    request.filter = ui::fromUtf8(settings.Filter);
    request.filterIndex = settings.OpenFilesFilterIndex;
    request.initialFolder = ui::fromUtf8(settings.InPutDir);
    const OpenFilesAnswer answer = context_.prompter().openFiles(this, request);
    if (answer.files.isEmpty())
        return;

    // The platform dialog makes the selection's folder the current directory,
    // and the result is read against it.
    const QString result = platformDialogResult(answer.files);
    QDir::setCurrent(QFileInfo(answer.files.constFirst()).absolutePath());
    const SelectedFiles selected = GetDlgSelectFileInfo(result, context_.prompter(), this);

    settings.InPutDir = ui::toUtf8(result.left(result.indexOf(QChar(u'\0'))));
    settings.OpenFilesFilterIndex = answer.filterIndex;
    for (int i = 1; i <= selected.FileCount; ++i) {
        // An empty name would list the folder itself.
        if (!selected.FileNames[i].isEmpty())
            fileList_.addUnique(selected.FolderPath + selected.FileNames[i]);
    }
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
    for (const IPodNotes& iPod : connectedIPods(mountPlaces(), kMountPlaceDepth)) {
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
    if (!readerTakesTheBook(sources, folder))
        return;

    Pic_Make->show();
    Pic_MainFace->setEnabled(false);
    Settings& settings = context_.store().record();
    settings.BookName = ui::toUtf8(Text1->text());
    Label2->clear();
    ProgressBar1->setValue(0);
    ProgressBar2->setValue(0);
    auto engine = std::make_unique<OutputRun>(settings, context_.store().codePage(), context_.language());
    run_ = std::make_unique<OutputRunWorker>(std::move(engine));
    connect(run_.get(), &OutputRunWorker::sourceShown, this, [this](int index, const QString& path) {
        Label2->setText(context_.text(StringId::Converting) + path);
        ui::fitLabel(Label2);
        emit runSourceShown(index, path);
    });
    connect(run_.get(), &OutputRunWorker::runProgressChanged, ProgressBar1, &Xp_ProgressBar::setValue);
    connect(run_.get(), &OutputRunWorker::sourceProgressChanged, ProgressBar2, &Xp_ProgressBar::setValue);
    connect(run_.get(), &OutputRunWorker::finished, this, &Frm_Main::finishRun, Qt::QueuedConnection);
    run_->start(settings.BookName, std::move(sources), ui::toUtf8(folder));
}

// The book folder the user picks, read as the iPod reads it.
void Frm_Main::openPreview()
{
    const Settings& settings = context_.store().record();
    QString folder = context_.prompter().chooseFolder(this, context_.text(StringId::PreviewButton),
                                                      ui::fromUtf8(settings.OutPutDir));
    folder = folder.left(folder.indexOf(QChar(u'\0')));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    const std::string pages = settings.NotesReader.PageEncoding.empty() ? context_.store().codePage()->name()
                                                                        : settings.NotesReader.PageEncoding;
    std::shared_ptr<const CodePage> reader = CodePage::open(PageEncoder::readerConverterName(pages));
    if (!reader)
        return;
    preview_ = std::make_unique<PreviewWindow>(folder, std::move(reader));
    preview_->show();
    preview_->activateWindow();
}

void Frm_Main::stopOutput()
{
    if (run_)
        askStop();
}

// Pages the reader cuts short are told about; a book it cannot load whole is
// made only when the user says so.
bool Frm_Main::readerTakesTheBook(const std::vector<std::string>& sources, const QString& folder)
{
    const Settings& settings = context_.store().record();
    if (!settings.NotesReader.present)
        return true;
    if (pagesOverReaderLimit(settings))
        context_.message(
            this,
            context_.text(StringId::PageOverReaderLimit)
                .replace(QStringLiteral("@Size"), QString::number(settings.activeCutType().SingleFileSize)));
    const NotesForecast forecast = forecastNotes(settings, sources, ui::toUtf8(folder), ui::toUtf8(Text1->text()));
    if (!forecast.tooMany())
        return true;
    return context_.question(this,
                             context_.text(StringId::AskTooManyNotes)
                                 .replace(QStringLiteral("@Notes"), QString::number(forecast.notes))
                                 .replace(QStringLiteral("@Limit"), QString::number(forecast.room)));
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
    run_.reset();

    Settings& settings = context_.store().record();
    if (!result.bookFolder.empty())
        settings.OutPutDir = result.bookFolder;
    settings.BookName = ui::toUtf8(Text1->text());
    ProgressBar1->setValue(100);
    ProgressBar2->setValue(0);
    if (!closeAfterRun_)
        context_.message(this, ui::fromUtf8(result.message));
    Pic_Make->hide();
    Pic_MainFace->setEnabled(true);
    emit runEnded();
    if (closeAfterRun_)
        close();
}

}  // namespace leafmill
