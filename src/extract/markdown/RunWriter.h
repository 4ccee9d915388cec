#pragma once

#include "extract/Extractor.h"
#include "extract/package/TextBuilder.h"

#include <optional>
#include <string_view>

struct cmark_node;

namespace leafmill::extract {

// Writes the text of a Markdown document parsed a run of blocks at a time,
// as the whole document's: a list that goes on in the next run goes on
// counting, and the builder's lines and chapters carry on. Headings of
// levels 1 to 3 are chapters, list items keep their numbers or bullets, code
// blocks their lines as written; links and pictures give their text; HTML
// gives nothing.
class RunWriter {
public:
    RunWriter(package::TextBuilder& out, const Options& options)
        : out_(out)
        , options_(options)
    {
    }

    // The tree of one run, parsed from `source`, whose own text starts on
    // the line `firstLine` (after lines that only define links).
    void write(cmark_node* document, std::string_view source, int firstLine);

    // An open list: the number of its next item, or none for a bulleted one.
    struct OpenList {
        bool ordered = false;
        int next = 1;
        bool parenthesis = false;
        char bullet = 0;
    };

private:
    package::TextBuilder& out_;
    const Options& options_;
    std::optional<OpenList> lastList_;  // the list the run before ended with
};

}  // namespace leafmill::extract
