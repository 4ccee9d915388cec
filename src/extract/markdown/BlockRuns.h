#pragma once

#include "extract/markdown/RawBlockLines.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace leafmill::extract {

// Cuts a Markdown text into runs of whole top-level blocks, so that each can
// be parsed apart: after a blank line, before a line that starts at the left
// edge, where no block that blank lines do not end is open. Whatever else was
// open there (a list item, a block quote) that line ends. When the lines
// leave this unsure (sure() false), the caller checks the cut on the parsed
// run and refuses it when a block was still open.
class BlockRuns {
public:
    // Runs of about `runSize` bytes, more where no cut comes sooner.
    explicit BlockRuns(std::size_t runSize)
        : runSize_(std::max<std::size_t>(runSize, 1))
        , wanted_(runSize_)
    {
    }

    // More of the text; it ends at a line end unless it is the last.
    void add(std::string_view text);
    // The next run: the text up to the first cut at least the wanted size in,
    // or with `last` (no more text to come) all that is left; none when more
    // text is needed. Accept or refuse it before asking for the next.
    std::optional<std::string_view> next(bool last);
    // Whether the run given is the rest of the text.
    bool isLast() const { return last_; }
    // Whether the lines left no doubt that the run may end where it does.
    bool sure() const { return !raw_.unsure(); }
    // The run is taken: the next one starts after it.
    void accept();
    // The run may not end there: it grows to at least twice its size.
    void refuse();

private:
    std::string pending_;
    std::size_t start_ = 0;  // where the pending run starts in pending_
    std::size_t scanned_ = 0;  // the start of the first line not yet given to raw_
    std::size_t runSize_;
    std::size_t wanted_;  // the least size of the pending run
    bool afterBlank_ = false;
    bool last_ = false;
    RawBlockLines raw_;
};

}  // namespace leafmill::extract
