#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// Turns the 16-bit units of a document's stories into plain UTF-8 text with
// CR LF line ends: paragraph marks, line breaks and page or section breaks end
// lines, cell marks become TABs and row-end marks line ends, fields show only
// their results, and the other control characters of the format are dropped.
class TextAssembler {
public:
    enum class Mark { Plain, RowEnd };

    // The text goes to `text`, which the reader may hand on between paragraphs.
    explicit TextAssembler(std::string& text)
        : text_(text)
    {
    }

    void put(char16_t unit, Mark mark = Mark::Plain)
    {
        // Most characters are plain ASCII outside fields: keep that path short.
        if (unit >= 0x20 && unit < 0x7F && fieldsInInstructions_ == 0 && pendingHighSurrogate_ == 0)
            text_.push_back(static_cast<char>(unit));
        else
            putSpecial(unit, mark);
    }

    void reserve(std::size_t bytes) { text_.reserve(bytes); }

    // Text the document shows without storing it (a note's number), put where
    // a character would go: hidden inside a field's instructions.
    void putGenerated(std::string_view utf8);

    // Closes the current story: open fields end and an unfinished line ends,
    // so the next story starts on a line of its own.
    void endStory();

    // Bytes of text not yet handed on.
    std::size_t size() const { return text_.size(); }

    // Text the document shows in front of a paragraph (its list label),
    // put at byte `at` of the text not yet handed on: a paragraph's start.
    void insert(std::size_t at, std::string_view utf8) { text_.insert(std::min(at, text_.size()), utf8); }

    // The text from byte `at` of what was not handed on.
    std::string_view textSince(std::size_t at) const
    {
        return std::string_view(text_).substr(std::min(at, text_.size()));
    }

private:
    void putSpecial(char16_t unit, Mark mark);
    void putVisible(char16_t unit, Mark mark);
    void appendCodePoint(std::uint32_t codePoint);
    void flushPendingSurrogate();
    void endLine() { text_ += "\r\n"; }

    std::string& text_;
    // One entry per open field: whether its result has begun.
    std::vector<bool> fields_;
    std::size_t fieldsInInstructions_ = 0;
    // The instructions of the innermost field while it alone hides text, kept
    // for fields that show something without a stored result.
    std::u16string instruction_;
    char16_t pendingHighSurrogate_ = 0;
};

}  // namespace leafmill::extract::doc
