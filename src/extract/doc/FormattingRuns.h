#pragma once

#include "extract/doc/StreamView.h"

#include <cstdint>
#include <forward_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// A run of the WordDocument stream [start, end) with the formatting stored
// for it: the paragraph style (paragraph runs only) and the property
// modifiers applied on top of the style.
struct FormattingRun {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    std::uint16_t istd = 0;
    std::string_view grpprl;  // into the file, or a page gathered from it
};

// The paragraph or character formatting of a Word 97-2003 document: the
// formatting pages (FKPs, 512 bytes each, in the WordDocument stream) that
// the table stream's bin table (PlcfBtePapx, PlcfBteChpx) names. Pages whose
// runs follow one another, as Word writes them, are read again when looked
// up, one held at a time, so that a long document's formatting is not held
// whole; pages out of order have all their runs held.
class FormattingRuns {
public:
    enum class Kind { Paragraph, Character };

    // Nothing when the bin table or a page it names cannot be read. The
    // stream must outlive the runs.
    static std::optional<FormattingRuns> read(const StreamView& wordDocument, std::string_view table,
                                              std::uint32_t fcBinTable, std::uint32_t lcbBinTable, Kind kind);

    // The run holding this stream offset, or null; it lasts until the next call.
    const FormattingRun* at(std::uint32_t streamOffset) const;

private:
    static constexpr std::uint32_t kNoPage = 0xFFFFFFFF;

    // A page of runs that follow those of the pages before it.
    struct Page {
        std::uint32_t firstStart = 0;
        std::uint32_t number = 0;
    };

    FormattingRuns(const StreamView& stream, Kind kind)
        : stream_(&stream)
        , kind_(kind)
    {
    }
    std::string_view pageBytes(std::uint32_t number, std::string& scratch) const;
    static void addPage(std::string_view page, Kind kind, std::vector<FormattingRun>& into);
    static const FormattingRun* find(const std::vector<FormattingRun>& runs, std::uint32_t streamOffset);

    const StreamView* stream_;
    Kind kind_;
    std::vector<Page> pages_;  // sorted by firstStart; empty when the pages are out of order
    mutable std::uint32_t heldPage_ = kNoPage;
    mutable std::string heldBytes_;  // the held page when it does not lie in one piece of the file
    mutable std::vector<FormattingRun> held_;
    // Pages out of order: all their runs, sorted by start, and those of their
    // pages that do not lie in one piece of the file, gathered (a list, so
    // that they stay where they are as pages are added).
    std::vector<FormattingRun> runs_;
    std::forward_list<std::string> gatheredPages_;
};

}  // namespace leafmill::extract::doc
