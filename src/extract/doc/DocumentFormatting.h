#pragma once

#include "extract/doc/FontTable.h"
#include "extract/doc/FormattingRuns.h"
#include "extract/doc/ListTables.h"
#include "extract/doc/ParagraphFormat.h"
#include "extract/doc/StyleSheet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace leafmill::extract::doc {

class WordDocument;

// What the reader needs of a document's formatting: where table rows end,
// each paragraph's list label and outline level, and the characters that
// symbol fonts draw. Parts that cannot be read are left out; the text is
// then given without what they would have added.
class DocumentFormatting {
public:
    explicit DocumentFormatting(const WordDocument& document);

    // Whether the paragraph formatting could be read at all.
    bool hasParagraphs() const { return paragraphs_.has_value(); }

    // The format of the paragraph whose mark is stored at this stream offset.
    ParagraphFormat paragraph(std::uint32_t streamOffset) const;

    // Counts the paragraph in its list and gives its label, or "".
    std::string nextListLabel(const ParagraphFormat& format) { return lists_.nextLabel(format.ilfo.value_or(0), format.ilvl.value_or(0)); }

    // The character shown for `unit` stored at this offset when it is a
    // symbol font's: an inserted symbol (stored as '('), a code in a run of a
    // symbol font, or a private-use code U+F020..U+F0FF (taken as Symbol's
    // where the run names no font). 0 when the unit stands for itself.
    // Called for the characters in stream order, so it keeps the last run.
    char32_t symbol(std::uint32_t streamOffset, char16_t unit);

private:
    // What a character run says about symbols.
    struct RunSymbols {
        std::optional<SymbolFont> font;
        std::optional<char32_t> inserted;
    };
    void readRun(std::uint32_t streamOffset);

    std::optional<FormattingRuns> paragraphs_;
    std::optional<FormattingRuns> characters_;
    StyleSheet styles_;
    FontTable fonts_;
    ListTables lists_;
    std::uint32_t runStart_ = 0, runEnd_ = 0;  // of the run last read
    RunSymbols run_;
};

}  // namespace leafmill::extract::doc
