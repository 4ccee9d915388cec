#include "extract/doc/TextAssembler.h"

#include "extract/doc/EqField.h"
#include "text/Utf8.h"

namespace leafmill::extract::doc {

namespace {

constexpr char16_t kPictureAnchor = 0x01;
constexpr char16_t kCellMark = 0x07;
constexpr char16_t kDrawnObjectAnchor = 0x08;
constexpr char16_t kTab = 0x09;
constexpr char16_t kLineBreak = 0x0B;
constexpr char16_t kPageBreak = 0x0C;
constexpr char16_t kParagraphMark = 0x0D;
constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
constexpr char16_t kNonBreakingHyphen = 0x1E;
constexpr char16_t kOptionalHyphen = 0x1F;
constexpr char16_t kNonBreakingSpace = 0xA0;
constexpr std::uint32_t kReplacement = 0xFFFD;
constexpr std::size_t kMaxInstruction = 4096;

}  // namespace

void TextAssembler::putSpecial(char16_t unit, Mark mark)
{
    switch (unit) {
    case kFieldBegin:
        fields_.push_back(false);
        ++fieldsInInstructions_;
        instruction_.clear();
        return;
    case kFieldSeparator:
        if (!fields_.empty() && !fields_.back()) {
            fields_.back() = true;
            --fieldsInInstructions_;
        }
        return;
    case kFieldEnd:
        if (!fields_.empty()) {
            const bool withoutResult = !fields_.back();
            if (withoutResult)
                --fieldsInInstructions_;
            fields_.pop_back();
            if (withoutResult && fieldsInInstructions_ == 0)
                for (char16_t shown : eqFieldText(instruction_))
                    putVisible(shown, Mark::Plain);
            instruction_.clear();
        }
        return;
    default:
        break;
    }
    if (fieldsInInstructions_ == 1 && !fields_.back() && instruction_.size() < kMaxInstruction)
        instruction_.push_back(unit);
    // Inside a field's instructions (even of an outer field) nothing shows.
    if (fieldsInInstructions_ == 0)
        putVisible(unit, mark);
}

void TextAssembler::putVisible(char16_t unit, Mark mark)
{
    if (isLowSurrogate(unit) && pendingHighSurrogate_) {
        appendCodePoint(fromSurrogates(pendingHighSurrogate_, unit));
        pendingHighSurrogate_ = 0;
        return;
    }
    flushPendingSurrogate();
    if (isHighSurrogate(unit)) {
        pendingHighSurrogate_ = unit;
        return;
    }
    switch (unit) {
    case kParagraphMark:
    case kLineBreak:
    case kPageBreak:
        endLine();
        return;
    case kCellMark:
        if (mark == Mark::RowEnd)
            endLine();
        else
            text_ += '\t';
        return;
    case kTab:
        text_ += '\t';
        return;
    case kNonBreakingHyphen:
        text_ += '-';
        return;
    case kNonBreakingSpace:
        text_ += ' ';
        return;
    case kOptionalHyphen:
    case kPictureAnchor:
    case kDrawnObjectAnchor:
        return;
    default:
        break;
    }
    if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0))
        return;  // footnote references, annotation marks and other control characters
    appendCodePoint(isLowSurrogate(unit) ? kReplacement : unit);
}

void TextAssembler::putGenerated(std::string_view utf8)
{
    if (fieldsInInstructions_ != 0)
        return;
    flushPendingSurrogate();
    text_ += utf8;
}

void TextAssembler::flushPendingSurrogate()
{
    if (pendingHighSurrogate_) {
        pendingHighSurrogate_ = 0;
        appendCodePoint(kReplacement);
    }
}

void TextAssembler::appendCodePoint(std::uint32_t c)
{
    appendUtf8(static_cast<char32_t>(c), text_);
}

void TextAssembler::endStory()
{
    flushPendingSurrogate();
    fields_.clear();
    fieldsInInstructions_ = 0;
    if (!text_.empty() && !text_.ends_with("\r\n"))
        endLine();
}

}  // namespace leafmill::extract::doc
