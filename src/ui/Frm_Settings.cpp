#include "ui/Frm_Settings.h"

#include "app/SettingsStore.h"
#include "controls/xpcmdbutton.h"
#include "lang/LanguageFiles.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "text/PageEncoder.h"
#include "text/SourceEncoding.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"
#include "ui/WindowChrome.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace leafmill {

namespace {

const WindowChrome::Layout kChrome {
    {1, 0, 280, 21}, {3, 3, 16, 16}, {23, 4}, {25, 5}, {}, {261, 4, 16, 16},
};
constexpr int kTitleHeight = 22;
constexpr int kPanelWidth = 280;
constexpr int kCutWordTop = 104;
constexpr int kCutWordStep = 24;
constexpr int kRestoreTop = 246;
constexpr int kChoiceStep = 25;
constexpr int kSwitchStep = 20;
// With the whole-file row only the language and the page size are shown.
constexpr int kCompactHeight = 52;
constexpr int kButtonPanelHeight = 38;
// However short the screen, a few rows stay in sight above the buttons.
constexpr int kLeastShownHeight = 60;

// The encodings text sources are offered to be read in, after "found from
// each text"; a name of the file beyond them stays choosable.
constexpr std::array<std::string_view, 24> kSourceEncodingNames = {
    "UTF-8",        "GBK",          "GB18030",      "Big5",         "Shift_JIS",    "EUC-JP",
    "EUC-KR",       "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
    "windows-1255", "windows-1256", "windows-1257", "windows-1258", "KOI8-R",       "KOI8-U",
    "IBM866",       "ISO-8859-2",   "ISO-8859-15",  "macintosh",    "TIS-620",      "UTF-16LE",
};

// The switches of the reader's section, in the dialog's order, with their texts.
constexpr std::array<std::pair<bool NotesReaderSettings::*, int>, 5> kReaderSwitches {{
    {&NotesReaderSettings::Links, StringId::ReaderLinks},
    {&NotesReaderSettings::Titles, StringId::ReaderTitles},
    {&NotesReaderSettings::Contents, StringId::ReaderContents},
    {&NotesReaderSettings::ChapterPages, StringId::ReaderChapterPages},
    {&NotesReaderSettings::JoinLines, StringId::ReaderJoinLines},
}};

QFrame* makeSeparator(QWidget* parent, const QString& name, int y)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(2, y, 275, 1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    line->setPalette(palette);
    return line;
}

QLabel* makeHeading(QWidget* parent, const QString& name, int y)
{
    QLabel* heading = ui::makeLabel(parent, name, {8, y});
    heading->setFont(ui::windowFont(ui::kFont9pt, true));
    QPalette palette = heading->palette();
    palette.setColor(QPalette::WindowText, QColor(64, 64, 64));
    heading->setPalette(palette);
    return heading;
}

// The joint-characters box as a number, as the dialog reads it.
bool readNumber(const QString& text, double* value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

}  // namespace

Frm_Settings::Frm_Settings(UiContext& context, std::function<void()> languageChanged, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , context_(context)
    , languageChanged_(std::move(languageChanged))
{
    setObjectName(QStringLiteral("Frm_Settings"));
    setModal(true);
    resize(kPanelWidth + 2, kTitleHeight);
    setFont(ui::windowFont());
    ui::paintBlack(this);

    chrome_ = new WindowChrome(this, kChrome, context_.imagesFolder());
    connect(chrome_, &WindowChrome::closeRequested, this, &QDialog::reject);
    buildContent();

    const Settings& settings = context_.store().record();
    Text1->setText(QString::number(settings.KeepFileSize));
    createCutWordBoxes();
    buildReaderSection();
    DrawFaceText();
    LoadLanguage();
    showPageSizes();
    showReaderChoices(settings.NotesReader);
    bodyHeight_ = readerBottom_ + 4;
    if (settings.wholeFileMode())
        useCompactLayout();
    chainTabOrder();
    // A row the keyboard reaches below the shown part scrolls into sight.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && Picture1->isAncestorOf(now))
            Scroller->ensureWidgetVisible(now);
    });
    fitScreen(screen()->availableGeometry());
}

Frm_Settings::~Frm_Settings() = default;

QLabel* Frm_Settings::makeRightAlignedLabel(const QString& name, const QRect& geometry)
{
    QLabel* label = ui::makeLabel(Picture1, name, geometry.topLeft());
    label->resize(geometry.size());
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

// A drop-down list inside a panel placed two pixels below and right of it,
// so that the panel clips the list's outer edge.
QComboBox* Frm_Settings::makeChoice(const QString& name, const QRect& frame)
{
    QWidget* panel = ui::makePanel(Picture1, name + QStringLiteral("Panel"), frame, ui::kPanelColour);
    auto* choice = new QComboBox(panel);
    choice->setObjectName(name);
    choice->setEditable(false);
    choice->setGeometry(-2, -2, frame.width() + 2, frame.height() + 2);
    return choice;
}

void Frm_Settings::buildContent()
{
    Scroller = new QScrollArea(this);
    Scroller->setObjectName(QStringLiteral("Scroller"));
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Scroller->setFocusPolicy(Qt::NoFocus);
    Picture1 = ui::makePanel(Scroller, QStringLiteral("Picture1"), {0, 0, kPanelWidth, 0}, ui::kPanelColour);
    Scroller->setWidget(Picture1);

    Label5 = makeRightAlignedLabel(QStringLiteral("Label5"), {8, 8, 88, 14});
    Combo2 = makeChoice(QStringLiteral("Combo2"), {104, 5, 164, 20});
    Label5->setBuddy(Combo2);
    Label6 = ui::makeLabel(Picture1, QStringLiteral("Label6"), {8, 32});
    // Placed beside its label once the label's text is known.
    Combo1 = makeChoice(QStringLiteral("Combo1"), {176, 29, 92, 20});
    Label6->setBuddy(Combo1);

    Label1 = makeRightAlignedLabel(QStringLiteral("Label1(1)"), {8, 56, 168, 14});
    Text1 = new QLineEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(2);
    Text1->setFont(ui::windowFont(ui::kFont7_5pt));
    Text1->setGeometry(184, 54, 33, 18);
    Text1->installEventFilter(this);
    Label1->setBuddy(Text1);
    Label4 = ui::makeLabel(Picture1, QStringLiteral("Label4"), {224, 56});

    Line1 = makeSeparator(Picture1, QStringLiteral("Line1"), 84);
    Label2 = makeHeading(Picture1, QStringLiteral("Label2"), 88);

    for (int i = 0; i < StringId::CutWordLabelCount; ++i)
        Label3 << makeRightAlignedLabel(QStringLiteral("Label3(%1)").arg(i), {8, 107 + kCutWordStep * i, 68, 14});

    auto* first = new QLineEdit(Picture1);
    first->setObjectName(QStringLiteral("Text2(0)"));
    first->setMaxLength(32);
    first->setGeometry(88, kCutWordTop, 164, 18);
    Text2 << first;
    Label2->setBuddy(first);

    Command3 = ui::makeButton(Picture1, QStringLiteral("Command3"), {24, kRestoreTop, 228, 20});
    ButtonPanel = ui::makePanel(this, QStringLiteral("ButtonPanel"), {1, kTitleHeight, kPanelWidth, kButtonPanelHeight},
                                ui::kPanelColour);
    Command1 = ui::makeButton(ButtonPanel, QStringLiteral("Command1"), {100, 6, 80, 25});
    Command2 = ui::makeButton(ButtonPanel, QStringLiteral("Command2"), {188, 6, 80, 25});
    connect(Command3, &xpcmdbutton::Click, this, &Frm_Settings::restoreDefaults);
    connect(Command1, &xpcmdbutton::Click, this, &Frm_Settings::applyAndClose);
    connect(Command2, &xpcmdbutton::Click, this, &QDialog::reject);
}

void Frm_Settings::buildReaderSection()
{
    const int top = Command3->geometry().bottom() + 8;
    makeSeparator(Picture1, QStringLiteral("ReaderLine"), top);
    ReaderHeading = makeHeading(Picture1, QStringLiteral("ReaderHeading"), top + 4);
    readerTexts_.emplace_back(ReaderHeading, StringId::ReaderHeading);
    readerBottom_ = top + kChoiceStep;
    ReaderEncoding = addReaderChoice(QStringLiteral("ReaderEncoding"), StringId::ReaderEncodingLabel);
    SourceEncodingChoice = addReaderChoice(QStringLiteral("SourceEncodingChoice"), StringId::SourceEncodingLabel);
    for (std::size_t i = 0; i < kReaderSwitches.size(); ++i)
        ReaderSwitches << addReaderSwitch(QStringLiteral("ReaderSwitch(%1)").arg(i), kReaderSwitches[i].second);
    ReaderVolumeNotes = addReaderNumber(QStringLiteral("ReaderVolumeNotes"), StringId::VolumeNotesLabel);
    ReaderVolumeNotes->setValidator(new QIntValidator(0, 9999999, ReaderVolumeNotes));
}

QComboBox* Frm_Settings::addReaderChoice(const QString& name, int text)
{
    QLabel* label = makeRightAlignedLabel(name + QStringLiteral("Label"), {8, readerBottom_ + 3, 88, 14});
    QComboBox* choice = makeChoice(name, {104, readerBottom_, 164, 20});
    label->setBuddy(choice);
    readerTexts_.emplace_back(label, text);
    readerFocusChain_ << choice;
    readerBottom_ += kChoiceStep;
    return choice;
}

QCheckBox* Frm_Settings::addReaderSwitch(const QString& name, int text)
{
    auto* box = new QCheckBox(Picture1);
    box->setObjectName(name);
    box->setGeometry(16, readerBottom_, 256, 18);
    readerTexts_.emplace_back(box, text);
    readerFocusChain_ << box;
    readerBottom_ += kSwitchStep;
    return box;
}

QLineEdit* Frm_Settings::addReaderNumber(const QString& name, int text)
{
    QLabel* label = makeRightAlignedLabel(name + QStringLiteral("Label"), {8, readerBottom_ + 2, 196, 14});
    auto* box = new QLineEdit(Picture1);
    box->setObjectName(name);
    box->setGeometry(212, readerBottom_, 56, 18);
    label->setBuddy(box);
    readerTexts_.emplace_back(label, text);
    readerFocusChain_ << box;
    readerBottom_ += kChoiceStep;
    return box;
}

void Frm_Settings::showReaderChoices(const NotesReaderSettings& notes)
{
    // The code page first, then the names the settings offer; a name of the
    // file beyond them stays choosable.
    ReaderEncoding->addItem(context_.text(StringId::ReaderCodePageEncoding), QString());
    for (std::string_view name : kPageEncodingNames)
        ReaderEncoding->addItem(ui::fromUtf8(std::string(name)), ui::fromUtf8(std::string(name)));
    const QString current = ui::fromUtf8(notes.PageEncoding);
    if (ReaderEncoding->findData(current) < 0)
        ReaderEncoding->addItem(current, current);
    ReaderEncoding->setCurrentIndex(ReaderEncoding->findData(current));
    for (std::size_t i = 0; i < kReaderSwitches.size(); ++i)
        ReaderSwitches[static_cast<int>(i)]->setChecked(notes.*(kReaderSwitches[i].first));
    ReaderVolumeNotes->setText(QString::number(notes.VolumeNotes));

    const QString detect = ui::fromUtf8(std::string(kDetectEncoding));
    SourceEncodingChoice->addItem(context_.text(StringId::SourceEncodingDetected), detect);
    for (std::string_view name : kSourceEncodingNames)
        SourceEncodingChoice->addItem(ui::fromUtf8(std::string(name)), ui::fromUtf8(std::string(name)));
    const QString source = ui::fromUtf8(notes.SourceEncoding);
    if (SourceEncodingChoice->findData(source, Qt::UserRole, Qt::MatchFixedString) < 0)
        SourceEncodingChoice->addItem(source, source);
    SourceEncodingChoice->setCurrentIndex(SourceEncodingChoice->findData(source, Qt::UserRole, Qt::MatchFixedString));
}

NotesReaderSettings Frm_Settings::chosenReaderSettings() const
{
    NotesReaderSettings notes;
    notes.PageEncoding = ui::toUtf8(ReaderEncoding->currentData().toString());
    for (std::size_t i = 0; i < kReaderSwitches.size(); ++i)
        notes.*(kReaderSwitches[i].first) = ReaderSwitches[static_cast<int>(i)]->isChecked();
    // Fewer notes than a volume needs for its contents and pages become the least it takes.
    const int volume = ReaderVolumeNotes->text().toInt();
    notes.VolumeNotes = volume > 0 ? std::max(volume, int(kLeastVolumeNotes)) : 0;
    notes.SourceEncoding = ui::toUtf8(SourceEncodingChoice->currentData().toString());
    return notes;
}

void Frm_Settings::DrawFaceText()
{
    chrome_->setTitle(context_.text(StringId::SettingsButton));
    Label5->setText(context_.text(StringId::LanguageLabel));
    ui::fitRightAlignedLabel(Label5);
    Label6->setText(context_.text(StringId::PageSizeLabel));
    ui::fitLabel(Label6);
    // The page-size list starts behind its label and ends with the language list.
    const int left = std::max(Label6->geometry().right() + 8, Combo2->parentWidget()->x());
    const QRect languageFrame = Combo2->parentWidget()->geometry();
    Combo1->parentWidget()->setGeometry(left, 29, languageFrame.right() + 1 - left, 20);
    Combo1->resize(Combo1->parentWidget()->width() + 2, 22);
    Label1->setText(context_.text(StringId::KeepFileSizeLabel));
    ui::fitRightAlignedLabel(Label1);
    Label4->setText(context_.text(StringId::KeepFileSizeRange));
    ui::fitLabel(Label4);
    Label2->setText(context_.text(StringId::CutWordsHeading));
    ui::fitLabel(Label2);
    Command3->setCaption(context_.text(StringId::RestoreDefaults));
    for (auto [widget, text] : readerTexts_) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(context_.text(text));
            if (label->alignment() & Qt::AlignRight)
                ui::fitRightAlignedLabel(label);
            else
                ui::fitLabel(label);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            box->setText(context_.text(text));
        }
    }
    for (int i = 0; i < Label3.size(); ++i) {
        Label3[i]->setText(context_.text(StringId::cutWordLabel(i)));
        ui::fitRightAlignedLabel(Label3[i]);
    }
    Command1->setCaption(context_.text(StringId::OkButton));
    Command2->setCaption(context_.text(StringId::CancelButton));
}

void Frm_Settings::createCutWordBoxes()
{
    const Settings& settings = context_.store().record();
    QLineEdit* first = Text2.constFirst();
    for (int i = 1; i <= settings.CutWordNum; ++i) {
        auto* box = new QLineEdit(Picture1);
        box->setObjectName(QStringLiteral("Text2(%1)").arg(i));
        box->setMaxLength(first->maxLength());
        box->setGeometry(first->x(), first->y() + kCutWordStep * i, first->width(), first->height());
        Text2 << box;
        if (i < Label3.size())
            Label3[i]->setBuddy(box);
    }
    Label3.constFirst()->setBuddy(first);
    for (int i = 0; i < Text2.size(); ++i) {
        const std::size_t index = static_cast<std::size_t>(i);
        const std::string word = index < settings.CutWord.size() ? settings.CutWord[index] : std::string();
        Text2[i]->setText(ui::fromUtf8(EncodeCutWord(word)));
    }
    placeRestoreButton();
}

// Below the last box, however many there are.
void Frm_Settings::placeRestoreButton()
{
    Command3->move(Command3->x(), std::max(kRestoreTop, Text2.constLast()->geometry().bottom() + 5));
}

void Frm_Settings::LoadLanguage()
{
    Combo2->clear();
    languageBaseNames_.clear();
    const LanguageList list
        = listLanguages(context_.languageFolder(), context_.store().record().MyLagIndex, *context_.store().codePage());
    for (const LanguageEntry& entry : list.entries) {
        Combo2->addItem(ui::fromUtf8(entry.displayName));
        languageBaseNames_.push_back(entry.baseName);
    }
    if (!list.entries.empty())
        Combo2->setCurrentIndex(list.selected);
}

// One entry per row of the cut-type table, its row number as data. With the
// whole-file row in force only rows without a page size may be chosen: the
// settings refuse any other.
void Frm_Settings::showPageSizes()
{
    const Settings& settings = context_.store().record();
    for (std::size_t row = 0; row < settings.CutTypeTable.size(); ++row) {
        const int32_t size = settings.CutTypeTable[row].SingleFileSize;
        if (settings.wholeFileMode() && size != 0)
            continue;
        const QString text = size == 0
            ? context_.text(StringId::WholeFilePages)
            : context_.text(StringId::PageSizeBytes).replace(QStringLiteral("@Size"), QLocale().toString(size));
        Combo1->addItem(text, static_cast<int>(row));
    }
    Combo1->setCurrentIndex(std::max(0, Combo1->findData(settings.CutTypeIndex)));
}

void Frm_Settings::useCompactLayout()
{
    // Everything below the page size stays out of sight and out of reach.
    for (QWidget* child : Picture1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->y() >= kCompactHeight)
            child->hide();
    for (QWidget* hidden : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Text1), static_cast<QWidget*>(Label4),
                            static_cast<QWidget*>(Line1)})
        hidden->hide();
    bodyHeight_ = kCompactHeight;
}

void Frm_Settings::chainTabOrder()
{
    QList<QWidget*> chain {Combo2, Combo1, Text1};
    for (QLineEdit* box : Text2)
        chain << box;
    chain << Command3 << readerFocusChain_ << Command1 << Command2;
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void Frm_Settings::fitScreen(const QRect& available)
{
    Picture1->resize(kPanelWidth, bodyHeight_);
    const int room = available.height() - kTitleHeight - kButtonPanelHeight - 1;
    const int shown = std::min(bodyHeight_, std::max(room, kLeastShownHeight));
    const bool scrolls = shown < bodyHeight_;
    Scroller->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int bar = scrolls ? Scroller->verticalScrollBar()->sizeHint().width() : 0;
    Scroller->setGeometry(1, kTitleHeight, kPanelWidth + bar, shown);
    ButtonPanel->setGeometry(1, kTitleHeight + shown, kPanelWidth + bar, kButtonPanelHeight);
    Command1->move(100 + bar, Command1->y());
    Command2->move(188 + bar, Command2->y());
    setFixedSize(kPanelWidth + bar + 2, kTitleHeight + shown + kButtonPanelHeight + 1);
    chrome_->fitWidth(width());
}

void Frm_Settings::showEvent(QShowEvent* event)
{
    if (!centred_)
        fitScreen(screen()->availableGeometry());
    ui::centreOnScreenOnce(this, centred_);
    QDialog::showEvent(event);
}

void Frm_Settings::keyPressEvent(QKeyEvent* event)
{
    // Enter is OK wherever the focus is, unless a button took it for itself;
    // Escape is Cancel (the dialog's own).
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        applyAndClose();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Frm_Settings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1) {
        if (event->type() == QEvent::KeyPress && filterKeepFileSizeKey(event))
            return true;
        if (event->type() == QEvent::KeyRelease)
            correctKeepFileSize(false);
        if (event->type() == QEvent::FocusOut)
            correctKeepFileSize(true);
    }
    return QDialog::eventFilter(watched, event);
}

bool Frm_Settings::filterKeepFileSizeKey(QEvent* event)
{
    // Only digits and Backspace are typed into the box. Keys that type no
    // character (arrows, Delete) keep their editing role, and the keys that
    // move the focus or answer the dialog pass on.
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    const QChar c = typed.front();
    return !((c >= u'0' && c <= u'9') || c == u'\b');
}

// A value above the range is corrected as it is typed; a box left empty (or
// holding no number) only once the person is done with it, so that the digits
// can be replaced.
void Frm_Settings::correctKeepFileSize(bool finished)
{
    double value = 0;
    if (!readNumber(Text1->text(), &value)) {
        if (finished)
            Text1->setText(QStringLiteral("32"));
    } else if (value > 64) {
        Text1->setText(QStringLiteral("64"));
    }
}

void Frm_Settings::restoreDefaults()
{
    const std::vector<std::string> words = context_.store().defaultCutWords();
    for (int i = 0; i < Text2.size(); ++i)
        Text2[i]->setText(ui::fromUtf8(i < int(words.size()) ? words[std::size_t(i)] : std::string()));
}

void Frm_Settings::applyAndClose()
{
    Settings& settings = context_.store().record();
    correctKeepFileSize(true);
    double value = 0;
    if (readNumber(Text1->text(), &value)) {
        // Halves round to even; a pasted value beyond the range takes its
        // nearest end, since the next start refuses anything outside it.
        const double rounded = std::clamp(std::nearbyint(value), 0.0, double(kMaxKeepFileSize));
        settings.KeepFileSize = static_cast<int32_t>(rounded);
    }
    applyPageSize();
    // The filled boxes in their order; cleared ones go to the end, so no
    // empty entry stands before a word.
    settings.CutWord.clear();
    for (int i = 0; i < Text2.size(); ++i)
        if (!Text2[i]->text().isEmpty())
            settings.CutWord.push_back(DecodeCutWord(ui::toUtf8(Text2[i]->text())));
    settings.CutWord.resize(static_cast<std::size_t>(Text2.size()));
    // Untouched, a main.ini without the reader's section stays without it;
    // the source encoding alone does not make the pages for the reader.
    NotesReaderSettings notes = chosenReaderSettings();
    NotesReaderSettings opened = settings.NotesReader;
    notes.present = opened.present = true;
    opened.SourceEncoding = notes.SourceEncoding;
    if (settings.NotesReader.present || notes != opened)
        settings.NotesReader = notes;
    settings.NotesReader.SourceEncoding = notes.SourceEncoding;
    applyLanguage();
    context_.saveSettings(this);
    accept();
}

void Frm_Settings::applyPageSize()
{
    Settings& settings = context_.store().record();
    if (Combo1->currentIndex() < 0)
        return;
    settings.CutTypeIndex = Combo1->currentData().toInt();
    // Each page must start later than the one before, or the next start
    // refuses the settings: the bytes repeated stay below the row's shortest
    // cut (the page size less the window for the cut word).
    const CutType& row = settings.activeCutType();
    if (settings.pageSize() > 0)
        settings.KeepFileSize
            = std::min(settings.KeepFileSize, std::max(0, settings.pageSize() - row.InOutFileSize - 1));
}

void Frm_Settings::applyLanguage()
{
    // An empty list offers nothing to switch to; the language in use stays.
    const int chosen = Combo2->currentIndex();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= languageBaseNames_.size())
        return;
    Settings& settings = context_.store().record();
    const std::string& baseName = languageBaseNames_[static_cast<std::size_t>(chosen)];
    if (baseName == settings.MyLagIndex)
        return;
    std::string reason;
    if (!context_.switchLanguage(baseName, &reason)) {
        QString text = context_.text(StringId::LanguageFallback);
        text.replace(QStringLiteral("@Chosen"), ui::fromUtf8(baseName + ".ini"));
        text.replace(QStringLiteral("@Used"), ui::fromUtf8(settings.MyLagIndex + ".ini"));
        context_.message(this, text);
        return;
    }
    settings.MyLagIndex = baseName;
    if (languageChanged_)
        languageChanged_();
}

}  // namespace leafmill
