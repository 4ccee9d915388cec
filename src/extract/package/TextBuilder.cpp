#include "extract/package/TextBuilder.h"

#include "extract/common/ChapterTitle.h"

#include "text/Utf8.h"

#include <algorithm>

namespace leafmill::extract::package {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool atLineStart(const std::string& text)
{
    return text.empty() || text.back() == '\n';
}

// The code point starting at bytes[i] and its length; an ill-formed sequence
// gives U+FFFD for its first byte.
char32_t decodeAt(std::string_view bytes, std::size_t i, std::size_t& length)
{
    length = validUtf8Length(bytes, i);
    if (length == 0) {
        length = 1;
        return kReplacement;
    }
    return decodeUtf8(bytes, i, length);
}

bool isCollapsibleSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void TextBuilder::beforeContent()
{
    if (pendingParagraph_ && !atLineStart(result_.text))
        result_.text += "\r\n";
    pendingParagraph_ = false;
    if (pendingSpace_ && !atLineStart(result_.text) && result_.text.back() != '\t')
        result_.text += ' ';
    pendingSpace_ = false;
    afterLabel_ = false;
    for (std::size_t k = result_.chapters.size() - unplaced_; k < result_.chapters.size(); ++k)
        result_.chapters[k].offset = result_.end();
    unplaced_ = 0;
}

void TextBuilder::append(std::string_view utf8, Space space)
{
    appendValidated(utf8, space);
}

void TextBuilder::append(char32_t c)
{
    std::string utf8;
    appendUtf8(c, utf8);
    appendValidated(utf8, Space::Preserve);
}

void TextBuilder::appendValidated(std::string_view utf8, Space space)
{
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length;
        const char32_t c = decodeAt(utf8, i, length);
        i += length;
        if (space == Space::Collapse && isCollapsibleSpace(c)) {
            pendingSpace_ = true;
            continue;
        }
        if (c == '\t') {
            tab();
            continue;
        }
        if (c == 0x2028 || c == 0x2029 || (c == '\n' && space == Space::Preserve)) {
            lineBreak();
            continue;
        }
        // Soft hyphens, byte-order marks and control characters show nothing.
        if (c == 0xAD || c == 0xFEFF || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            if (c == '\r' || c == '\n')
                pendingSpace_ = true;
            continue;
        }
        beforeContent();
        if (c == ' ' || c == 0xA0)
            result_.text += ' ';
        else
            appendUtf8(c, result_.text);
    }
}

void TextBuilder::appendLabel(std::string_view label)
{
    append(label);
    afterLabel_ = true;
}

void TextBuilder::tab()
{
    pendingSpace_ = false;
    beforeContent();
    result_.text += '\t';
}

void TextBuilder::lineBreak()
{
    pendingSpace_ = false;
    beforeContent();
    result_.text += "\r\n";
}

void TextBuilder::endParagraph()
{
    if (afterLabel_) {
        pendingSpace_ = true;
        return;
    }
    closeHeading();
    pendingSpace_ = false;
    pendingParagraph_ = true;
}

void TextBuilder::appendDocument(const Result& document, Space space)
{
    // Its last line ends where the block holding it does.
    std::string_view text = document.text;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    std::size_t from = 0;
    for (const Chapter& chapter : document.chapters) {
        if (space == Space::Collapse || chapter.offset < from || chapter.offset > text.size())
            continue;
        append(text.substr(from, chapter.offset - from), space);
        endParagraph();
        startChapter(chapter.title, chapter.level);
        from = chapter.offset;
    }
    append(text.substr(from), space);
}

void TextBuilder::startChapter(std::string title, int level)
{
    closeHeading();
    result_.chapters.push_back({chapterTitle(title), result_.end(), level});
    ++unplaced_;
}

void TextBuilder::startHeading(int level)
{
    startChapter({}, level);
    headingOpen_ = true;
}

void TextBuilder::closeHeading()
{
    if (!headingOpen_)
        return;
    headingOpen_ = false;
    Chapter& heading = result_.chapters.back();
    if (unplaced_ > 0) {
        // Nothing was written since the heading started.
        result_.chapters.pop_back();
        --unplaced_;
        return;
    }
    heading.title = chapterTitle(std::string_view(result_.text).substr(heading.offset - result_.handedOn));
    if (heading.title.empty())
        result_.chapters.pop_back();
}

void TextBuilder::handOn(const Options& options)
{
    const std::size_t waiting = std::max<std::size_t>(unplaced_, headingOpen_ ? 1 : 0);
    if (waiting == 0)
        extract::handOn(result_, options);
    else
        handOnBefore(result_, options, result_.chapters[result_.chapters.size() - waiting].offset);
    // Chapters handed on are the sink's: a book of many keeps none of them.
    result_.chapters.erase(result_.chapters.begin(),
                           result_.chapters.begin() + static_cast<std::ptrdiff_t>(result_.chaptersHandedOn));
    result_.chaptersHandedOn = 0;
}

Result TextBuilder::take()
{
    closeHeading();
    if (!atLineStart(result_.text))
        result_.text += "\r\n";
    for (std::size_t k = result_.chapters.size() - unplaced_; k < result_.chapters.size(); ++k)
        result_.chapters[k].offset = result_.end();
    unplaced_ = 0;
    std::stable_sort(result_.chapters.begin() + static_cast<std::ptrdiff_t>(result_.chaptersHandedOn),
                     result_.chapters.end(), [](const Chapter& a, const Chapter& b) { return a.offset < b.offset; });
    result_.ok = true;
    return std::move(result_);
}

std::string wellFormedWords(std::string_view utf8)
{
    TextBuilder words;
    words.append(utf8);
    std::string text = words.take().text;
    text.resize(text.size() - std::min<std::size_t>(text.size(), 2));
    return text;
}

}  // namespace leafmill::extract::package
