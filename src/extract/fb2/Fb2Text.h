#pragma once

#include <pugixml.hpp>

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
// the sections of notes are no chapters. The text is handed on between the
// blocks of a section.
class Fb2Text {
public:
    Fb2Text(package::TextBuilder& out, const Options& options);

    void write(pugi::xml_node book);

private:
    void body(pugi::xml_node body, bool notes);
    void section(pugi::xml_node section, int level, bool notes);
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
