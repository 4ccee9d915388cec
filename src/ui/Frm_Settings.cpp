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

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace leafmill {

namespace {

const WindowChrome::Layout kChrome {
    {1, 0, 280, 21}, {3, 3, 16, 16}, {23, 4}, {25, 5}, {}, {261, 4, 16, 16},
};
constexpr int kCutWordTop = 104;
constexpr int kCutWordStep = 24;
// The Notes reader's section starts below the OK and Cancel buttons.
constexpr int kReaderTop = 304;
constexpr int kSourceEncodingTop = kReaderTop + 50;
constexpr int kReaderSwitchTop = kReaderTop + 75;
constexpr int kReaderSwitchStep = 20;
constexpr int kReaderHeight = 182;

// The encodings text sources are offered to be read in, after "found from
// each text"; a name of the file beyond them stays choosable.
constexpr std::array<std::string_view, 24> kSourceEncodingNames = {
    "UTF-8",        "GBK",          "GB18030",      "Big5",         "Shift_JIS",    "EUC-JP",
    "EUC-KR",       "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
    "windows-1255", "windows-1256", "windows-1257", "windows-1258", "KOI8-R",       "KOI8-U",
    "IBM866",       "ISO-8859-2",   "ISO-8859-15",  "macintosh",    "TIS-620",      "UTF-16LE",
};

// The switches of the section, in the dialog's order, with their texts.
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
    setFixedSize(282, 327 + kReaderHeight);
    setFont(ui::windowFont());
    ui::paintBlack(this);

    chrome_ = new WindowChrome(this, kChrome, context_.imagesFolder());
    connect(chrome_, &WindowChrome::closeRequested, this, &QDialog::reject);
    buildContent();
    DrawFaceText();

    const Settings& settings = context_.store().record();
    Text1->setText(QString::number(settings.KeepFileSize));
    createCutWordBoxes();
    LoadLanguage();
    showReaderChoices(settings.NotesReader);
    if (settings.wholeFileMode())
        useCompactLayout();
}

Frm_Settings::~Frm_Settings() = default;

QLabel* Frm_Settings::makeRightAlignedLabel(const QString& name, const QRect& geometry)
{
    QLabel* label = ui::makeLabel(Picture1, name, geometry.topLeft());
    label->resize(geometry.size());
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

void Frm_Settings::buildContent()
{
    Picture1 = ui::makePanel(this, QStringLiteral("Picture1"), {1, 22, 280, 304 + kReaderHeight}, ui::kPanelColour);

    Label5 = makeRightAlignedLabel(QStringLiteral("Label5"), {8, 8, 88, 14});
    Label5->setText(QStringLiteral("Language:"));
    Picture3 = ui::makePanel(Picture1, QStringLiteral("Picture3"), {104, 5, 164, 20}, ui::kPanelColour);
    Combo2 = new QComboBox(Picture3);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(false);
    // Two pixels up and left, so that the frame panel clips the outer edge.
    Combo2->setGeometry(-2, -2, 166, 22);

    Label6 = ui::makeLabel(Picture1, QStringLiteral("Label6"), {8, 32});
    Label6->setText(QStringLiteral("Select the size of each page:"));
    ui::fitLabel(Label6);

    Label1 = makeRightAlignedLabel(QStringLiteral("Label1(1)"), {8, 56, 168, 14});
    Text1 = new QLineEdit(Picture1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaxLength(2);
    Text1->setFont(ui::windowFont(ui::kFont7_5pt));
    Text1->setGeometry(184, 54, 33, 18);
    Text1->installEventFilter(this);
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

    Command3 = ui::makeButton(Picture1, QStringLiteral("Command3"), {24, 246, 228, 20});
    Command1 = ui::makeButton(Picture1, QStringLiteral("Command1"), {100, 272, 80, 25});
    Command2 = ui::makeButton(Picture1, QStringLiteral("Command2"), {188, 272, 80, 25});
    connect(Command3, &xpcmdbutton::Click, this, &Frm_Settings::restoreDefaults);
    connect(Command1, &xpcmdbutton::Click, this, &Frm_Settings::applyAndClose);
    connect(Command2, &xpcmdbutton::Click, this, &QDialog::reject);
    buildReaderSection();
}

void Frm_Settings::buildReaderSection()
{
    ReaderLine = makeSeparator(Picture1, QStringLiteral("ReaderLine"), kReaderTop);
    ReaderHeading = makeHeading(Picture1, QStringLiteral("ReaderHeading"), kReaderTop + 4);
    ReaderEncodingLabel = makeRightAlignedLabel(QStringLiteral("ReaderEncodingLabel"), {8, kReaderTop + 28, 88, 14});
    QWidget* frame = ui::makePanel(Picture1, QStringLiteral("ReaderEncodingPanel"), {104, kReaderTop + 25, 164, 20},
                                   ui::kPanelColour);
    ReaderEncoding = new QComboBox(frame);
    ReaderEncoding->setObjectName(QStringLiteral("ReaderEncoding"));
    ReaderEncoding->setGeometry(-2, -2, 166, 22);
    SourceEncodingLabel
        = makeRightAlignedLabel(QStringLiteral("SourceEncodingLabel"), {8, kSourceEncodingTop + 3, 88, 14});
    QWidget* sourceFrame = ui::makePanel(Picture1, QStringLiteral("SourceEncodingPanel"),
                                         {104, kSourceEncodingTop, 164, 20}, ui::kPanelColour);
    SourceEncodingChoice = new QComboBox(sourceFrame);
    SourceEncodingChoice->setObjectName(QStringLiteral("SourceEncodingChoice"));
    SourceEncodingChoice->setGeometry(-2, -2, 166, 22);
    for (std::size_t i = 0; i < kReaderSwitches.size(); ++i) {
        auto* box = new QCheckBox(Picture1);
        box->setObjectName(QStringLiteral("ReaderSwitch(%1)").arg(i));
        box->setGeometry(16, kReaderSwitchTop + kReaderSwitchStep * static_cast<int>(i), 256, 18);
        ReaderSwitches << box;
    }
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
    notes.SourceEncoding = ui::toUtf8(SourceEncodingChoice->currentData().toString());
    return notes;
}

void Frm_Settings::DrawFaceText()
{
    chrome_->setTitle(context_.text(StringId::SettingsButton));
    Label1->setText(context_.text(StringId::KeepFileSizeLabel));
    ui::fitRightAlignedLabel(Label1);
    Label4->setText(context_.text(StringId::KeepFileSizeRange));
    ui::fitLabel(Label4);
    Label2->setText(context_.text(StringId::CutWordsHeading));
    ui::fitLabel(Label2);
    Command3->setCaption(context_.text(StringId::RestoreDefaults));
    ReaderHeading->setText(context_.text(StringId::ReaderHeading));
    ui::fitLabel(ReaderHeading);
    for (const auto& [label, text] : {std::pair {ReaderEncodingLabel, StringId::ReaderEncodingLabel},
                                      std::pair {SourceEncodingLabel, StringId::SourceEncodingLabel}}) {
        label->setText(context_.text(text));
        ui::fitRightAlignedLabel(label);
    }
    for (std::size_t i = 0; i < kReaderSwitches.size(); ++i)
        ReaderSwitches[static_cast<int>(i)]->setText(context_.text(kReaderSwitches[i].second));
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
    }
    for (int i = 0; i < Text2.size(); ++i) {
        const std::size_t index = static_cast<std::size_t>(i);
        const std::string word = index < settings.CutWord.size() ? settings.CutWord[index] : std::string();
        Text2[i]->setText(ui::fromUtf8(EncodeCutWord(word)));
    }
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

void Frm_Settings::useCompactLayout()
{
    Command1->move(Command1->x(), 32);
    Command2->move(Command2->x(), 32);
    for (QWidget* hidden : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Text1), static_cast<QWidget*>(Label4),
                            static_cast<QWidget*>(Line1)})
        hidden->hide();
    setFixedSize(width(), 87);
    Picture1->resize(Picture1->width(), 64);
}

void Frm_Settings::showEvent(QShowEvent* event)
{
    ui::centreOnScreenOnce(this, centred_);
    QDialog::showEvent(event);
}

bool Frm_Settings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1) {
        if (event->type() == QEvent::KeyPress && filterKeepFileSizeKey(event))
            return true;
        if (event->type() == QEvent::KeyRelease)
            correctKeepFileSize();
    }
    return QDialog::eventFilter(watched, event);
}

bool Frm_Settings::filterKeepFileSizeKey(QEvent* event)
{
    // Only digits and Backspace are typed into the box; keys that type no
    // character (arrows, Delete) keep their editing role.
    auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.isEmpty() || key->key() == Qt::Key_Delete)
        return false;
    const QChar c = typed.front();
    return !((c >= u'0' && c <= u'9') || c == u'\b');
}

void Frm_Settings::correctKeepFileSize()
{
    double value = 0;
    if (!readNumber(Text1->text(), &value))
        Text1->setText(QStringLiteral("32"));
    else if (value > 64)
        Text1->setText(QStringLiteral("64"));
}

void Frm_Settings::restoreDefaults()
{
    classIniFile& ini = context_.store().ini();
    for (int i = 0; i < Text2.size(); ++i)
        Text2[i]->setText(ui::fromUtf8(ini.GetIniKey("MainSettings", "CutWordDef" + std::to_string(i))));
}

void Frm_Settings::applyAndClose()
{
    Settings& settings = context_.store().record();
    double value = 0;
    if (readNumber(Text1->text(), &value)) {
        // Halves round to even; a pasted value beyond the range takes its
        // nearest end, since the next start refuses anything outside it.
        const double rounded = std::clamp(std::nearbyint(value), 0.0, double(kMaxKeepFileSize));
        settings.KeepFileSize = static_cast<int32_t>(rounded);
    }
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
