#pragma once

#include "extract/doc/ParagraphFormat.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

struct Fib;

// The paragraph styles of a Word 97-2003 style sheet (STSH), each with the
// list and outline properties it gives its paragraphs, its base styles'
// included. The built-in styles "heading 1" to "heading 9" have their outline
// level even where the file stores none.
class StyleSheet {
public:
    // An empty sheet when the document has none or it cannot be read.
    static StyleSheet read(std::string_view table, const Fib& fib);

    // The format of style `istd`; an empty one for an unknown style.
    const ParagraphFormat& format(std::uint16_t istd) const;

private:
    struct Style {
        std::uint16_t sti = 0;
        std::uint16_t base = 0;
        std::string_view papx;  // the style's own paragraph modifiers
    };

    void resolve(const std::vector<Style>& styles);

    std::vector<ParagraphFormat> formats_;  // by istd
};

}  // namespace leafmill::extract::doc
