#pragma once

#include "extract/package/XmlBlocks.h"

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace leafmill::extract {
struct Options;
}

namespace leafmill::extract::package {
class TextBuilder;
}

namespace leafmill::extract::fb2 {

// Writes a FictionBook's bodies into the text: paragraphs, subtitles,
// verses and authors' lines one to a line, an empty line for <empty-line/>,
// table rows a line each with their cells parted by TAB. The main bodies
// come first, then those of notes and comments. Section titles start
// chapters (a nested section's a level deeper), as do the bodies' titles;
// the sections of notes are no chapters. The book is read a block of a
// section at a time (bodies and sections are containers, see role()) and
// the text is handed on between the blocks.
class Fb2Text {
public:
    Fb2Text(package::TextBuilder& out, const Options& options);

    // The bodies of the other kind met while writing.
    struct OtherBodies {
        bool found = false;
        // Their XML, unless it grew past the size kept (the book is then read again).
        std::string xml;
        bool kept = true;
    };

    // Writes the main bodies of the book whose root `pieces` returned, or
    // with `notes` those of notes and comments.
    void write(package::XmlBlocks& pieces, bool notes, OtherBodies& others);
    // What the elements of a FictionBook are to the pieces read.
    static package::XmlBlocks::Role role(std::string_view name, std::size_t depth);

private:
    void title(pugi::xml_node title, int level);
    void blocks(pugi::xml_node container);
    void content(pugi::xml_node node);
    void block(pugi::xml_node element);
    void table(pugi::xml_node table);
    void line(pugi::xml_node element);
    void inlineText(pugi::xml_node element);

    package::TextBuilder& out_;
    const Options& options_;
};

}  // namespace leafmill::extract::fb2
