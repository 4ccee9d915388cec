#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract {

// A heading of a page: its words (tags removed, references decoded, blanks
// squeezed) and its level, 1 to 3.
struct PageHeading {
    std::string words;
    int level = 1;
};

// The <h1>..<h3> headings of a page's markup (UTF-8), found as the markup
// comes in pieces: each heading once its end tag has come. An opening tag
// that never ends, or a heading that is never closed, ends the search.
class HtmlHeadings {
public:
    // The headings that end in the markup up to the end of `piece`.
    void add(std::string_view piece, std::vector<PageHeading>& found);
    // The rest, once the markup is done.
    void finish(std::vector<PageHeading>& found);

private:
    struct Unclosed {
        std::string words;
        int level = 1;
        std::string closing;
    };

    // Finds the headings of `markup` and returns where the markup that waits
    // for more starts.
    std::size_t scan(std::string_view markup, bool final, std::vector<PageHeading>& found);
    // Where the search goes on once the end tag of a heading whose words are
    // taken has come (then long_ is reset), else what must wait for more.
    std::size_t closeLong(std::string_view markup, std::vector<PageHeading>& found);

    std::string held_;  // markup from where a heading may start but is not yet whole
    std::optional<Unclosed> long_;  // a heading longer than the markup held for one
    bool stopped_ = false;
};

}  // namespace leafmill::extract
