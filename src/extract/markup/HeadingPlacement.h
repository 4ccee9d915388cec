#pragma once

#include "extract/Extractor.h"
#include "extract/markup/HtmlHeadings.h"

#include <cstddef>
#include <deque>
#include <limits>

namespace leafmill::extract {

// Places a page's headings in the text the line filter makes of it, while
// the text grows: each heading is looked for from just after where the one
// before was found, and its chapter starts at the line its words begin on
// (back to that point); a heading whose words the text never holds is left
// out. Text no heading can start in any more goes on to the options' sink.
// With a sink, the text looked through is at most `reach` bytes: a heading
// waits for its words no further, and older text is handed on.
class HeadingPlacement {
public:
    explicit HeadingPlacement(std::size_t reach = std::numeric_limits<std::size_t>::max());

    // A heading whose markup has come; `result.text` holds the text so far.
    void add(PageHeading heading, const Result& result);
    // Places what the text so far allows and hands on what it can.
    void place(Result& result, const Options& options);
    // Places the rest once the text is done.
    void finish(Result& result);

private:
    struct Waiting {
        PageHeading heading;
        std::size_t seenAt = 0;  // the text's length when its markup came
    };

    bool placeFirst(Result& result);
    void leaveOutFirst(const Result& result);

    std::size_t reach_;
    std::deque<Waiting> waiting_;
    std::size_t searchFrom_ = 0;  // offsets in the whole text
    std::size_t searchedTo_ = 0;  // the first waiting heading's words start nowhere before this
    std::size_t unfoundSearches_ = 0;
    bool stopped_ = false;
};

}  // namespace leafmill::extract
