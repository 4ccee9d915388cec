#include "ui/PreviewWindow.h"

#include "controls/xpcmdbutton.h"
#include "io/FileAccess.h"
#include "targets/notes/NotesFolder.h"
#include "text/PageEncoder.h"
#include "ui/UiStyle.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace leafmill {

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kTitleHeight = 22;
constexpr int kMargin = 4;
constexpr int kMenuRowPadding = 4;
constexpr int kCheckStrip = 34;
const QColor kSelection(0x39, 0x6D, 0xC6);

std::string readNoteFile(const QString& path)
{
    std::string bytes;
    std::string error;
    // Only what the reader reads matters; a file that cannot be read shows empty.
    readWholeFile(pathFromUtf8(ui::toUtf8(path)), bytes, &error);
    return bytes;
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& bookFolder, std::shared_ptr<const PageEncoder> readerEncoding,
                             const QString& checkCaption, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , folder_(bookFolder)
    , encoding_(std::move(readerEncoding))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setFixedSize(kScreenWidth, kScreenHeight + kCheckStrip);
    setFocusPolicy(Qt::StrongFocus);
    Cmd_Check = ui::makeButton(this, QStringLiteral("Cmd_Check"), {kScreenWidth - 104, kScreenHeight + 5, 96, 25});
    Cmd_Check->setCaption(checkCaption);
    connect(Cmd_Check, &xpcmdbutton::Click, this, &PreviewWindow::checkRequested);
    // A small sans without smoothing comes close to the iPod's bitmap font.
    font_ = QFont(QStringLiteral("DejaVu Sans"));
    font_.setPixelSize(12);
    font_.setStyleStrategy(QFont::NoAntialias);
    showMenu();
    // The keys browse the book from the start; Check is a Tab away.
    setFocus(Qt::OtherFocusReason);
}

void PreviewWindow::showMenu()
{
    // The reader lists a folder's notes by file name, each under its title;
    // it hides no file, so neither does the preview.
    menu_.clear();
    QStringList files = QDir(folder_).entryList(QDir::Files | QDir::Hidden);
    std::sort(files.begin(), files.end(),
              [](const QString& a, const QString& b) { return readerNameLess(ui::toUtf8(a), ui::toUtf8(b)); });
    for (const QString& file : files) {
        const ReaderNote note = readReaderNote(readNoteFile(QDir(folder_).filePath(file)), *encoding_);
        menu_.push_back({ui::toUtf8(file), note.title.empty() ? file : ui::fromUtf8(note.title)});
    }
    title_ = QDir(folder_).dirName();
    lines_.clear();
    top_ = 0;
    selected_ = menu_.empty() ? -1 : 0;
    setWindowTitle(title_);
    update();
}

void PreviewWindow::showNote(const std::string& file)
{
    note_ = readReaderNote(readNoteFile(QDir(folder_).filePath(ui::fromUtf8(file))), *encoding_);
    title_ = note_.title.empty() ? ui::fromUtf8(file) : ui::fromUtf8(note_.title);
    const QFontMetrics metrics(font_);
    lines_ = wrapNote(note_, kScreenWidth - 2 * kMargin, [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(ui::fromUtf8(std::string(text)));
    });
    top_ = 0;
    const std::vector<int> links = visibleLinks();
    selected_ = links.empty() ? -1 : links.front();
    setWindowTitle(title_);
    update();
}

void PreviewWindow::showCurrent()
{
    if (const std::string* file = history_.current())
        showNote(*file);
    else
        showMenu();
}

int PreviewWindow::visibleLines() const
{
    return (kScreenHeight - kTitleHeight - kMargin) / QFontMetrics(font_).height();
}

int PreviewWindow::visibleMenuRows() const
{
    return (kScreenHeight - kTitleHeight - kMargin) / (QFontMetrics(font_).height() + kMenuRowPadding);
}

// The links with a piece on the lines shown, in order.
std::vector<int> PreviewWindow::visibleLinks() const
{
    std::vector<int> links;
    const int end = std::min<int>(static_cast<int>(lines_.size()), top_ + visibleLines());
    for (int line = top_; line < end; ++line)
        for (const NoteRun& run : lines_[static_cast<std::size_t>(line)])
            if (run.link >= 0 && std::find(links.begin(), links.end(), run.link) == links.end())
                links.push_back(run.link);
    return links;
}

// Up and Down select the next link shown, else scroll a line.
void PreviewWindow::moveSelection(int step)
{
    if (!history_.current()) {
        if (!menu_.empty())
            selected_ = std::clamp(selected_ + step, 0, static_cast<int>(menu_.size()) - 1);
        // The menu scrolls to keep the selected entry in sight.
        top_ = std::clamp(top_, selected_ - visibleMenuRows() + 1, std::max(selected_, 0));
        update();
        return;
    }
    std::vector<int> links = visibleLinks();
    const auto at = std::find(links.begin(), links.end(), selected_);
    const std::ptrdiff_t next = at == links.end() ? (step > 0 ? 0 : -1) : (at - links.begin()) + step;
    if (at != links.end() && next >= 0 && next < static_cast<std::ptrdiff_t>(links.size())) {
        selected_ = links[static_cast<std::size_t>(next)];
    } else {
        const int lastTop = std::max(0, static_cast<int>(lines_.size()) - visibleLines());
        top_ = std::clamp(top_ + step, 0, lastTop);
        links = visibleLinks();
        if (std::find(links.begin(), links.end(), selected_) == links.end())
            selected_ = links.empty() ? -1 : (step > 0 ? links.front() : links.back());
    }
    update();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up:
        moveSelection(event->key() == Qt::Key_Down ? 1 : -1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!history_.current() && selected_ >= 0) {
            history_.open(menu_[static_cast<std::size_t>(selected_)].file);
            showCurrent();
        } else if (history_.current() && selected_ >= 0) {
            const NoteLink& link = note_.links[static_cast<std::size_t>(selected_)];
            // A dead link does nothing, as on the iPod.
            if (QFileInfo::exists(QDir(folder_).filePath(ui::fromUtf8(link.href)))) {
                history_.follow(link);
                showCurrent();
            }
        }
        return;
    case Qt::Key_Escape:
        if (history_.back())
            showCurrent();
        else
            close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

QStringList PreviewWindow::screenLines() const
{
    QStringList shown;
    if (!history_.current()) {
        const int end = std::min<int>(static_cast<int>(menu_.size()), top_ + visibleMenuRows());
        for (int i = top_; i < end; ++i)
            shown << menu_[static_cast<std::size_t>(i)].title;
        return shown;
    }
    const int end = std::min<int>(static_cast<int>(lines_.size()), top_ + visibleLines());
    for (int line = top_; line < end; ++line) {
        QString text;
        for (const NoteRun& run : lines_[static_cast<std::size_t>(line)])
            text += ui::fromUtf8(run.text);
        shown << text;
    }
    return shown;
}

QString PreviewWindow::selection() const
{
    if (selected_ < 0)
        return {};
    if (!history_.current())
        return menu_[static_cast<std::size_t>(selected_)].title;
    QString text;
    for (const NoteRun& run : note_.runs)
        if (run.link == selected_)
            text += ui::fromUtf8(run.text);
    return text;
}

void PreviewWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ui::kPanelColour);
    painter.fillRect(0, 0, kScreenWidth, kScreenHeight, Qt::white);
    QLinearGradient bar(0, 0, 0, kTitleHeight);
    bar.setColorAt(0, QColor(0xF4, 0xF6, 0xF8));
    bar.setColorAt(1, QColor(0xC8, 0xCE, 0xD6));
    painter.fillRect(0, 0, kScreenWidth, kTitleHeight, bar);
    painter.setPen(QColor(0x70, 0x78, 0x80));
    painter.drawLine(0, kTitleHeight, kScreenWidth, kTitleHeight);
    QFont bold = font_;
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    const QString title = QFontMetrics(bold).elidedText(title_, Qt::ElideRight, kScreenWidth - 2 * kMargin);
    painter.drawText(QRect(0, 0, kScreenWidth, kTitleHeight), Qt::AlignCenter, title);

    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    const int lineHeight = metrics.height();
    int y = kTitleHeight + kMargin;
    if (!history_.current()) {
        // The menu: one entry a line, the selected one on the selection bar.
        const int rowHeight = lineHeight + kMenuRowPadding;
        for (int i = top_; i < static_cast<int>(menu_.size()) && y + rowHeight <= kScreenHeight; ++i) {
            const QRect row(0, y, kScreenWidth, rowHeight);
            const bool chosen = i == selected_;
            if (chosen)
                painter.fillRect(row, kSelection);
            painter.setPen(chosen ? Qt::white : Qt::black);
            painter.drawText(
                row.adjusted(kMargin, 0, -16, 0), Qt::AlignVCenter | Qt::AlignLeft,
                metrics.elidedText(menu_[static_cast<std::size_t>(i)].title, Qt::ElideRight, kScreenWidth - 24));
            painter.drawText(row.adjusted(0, 0, -kMargin, 0), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral(">"));
            y += rowHeight;
        }
        return;
    }
    const int end = std::min<int>(static_cast<int>(lines_.size()), top_ + visibleLines());
    for (int line = top_; line < end; ++line, y += lineHeight) {
        int x = kMargin;
        for (const NoteRun& run : lines_[static_cast<std::size_t>(line)]) {
            const QString text = ui::fromUtf8(run.text);
            const int width = metrics.horizontalAdvance(text);
            const bool chosen = run.link >= 0 && run.link == selected_;
            if (chosen)
                painter.fillRect(x, y, width, lineHeight, kSelection);
            painter.setPen(chosen ? Qt::white : Qt::black);
            painter.drawText(x, y + metrics.ascent(), text);
            if (run.link >= 0)
                painter.drawLine(x, y + metrics.ascent() + 2, x + width, y + metrics.ascent() + 2);
            x += width;
        }
    }
}

}  // namespace leafmill
