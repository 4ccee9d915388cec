#pragma once

#include "extract/common/ListNumbers.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace leafmill::extract::rtf {

// The automatic numbers of a document's notes (\chftn): footnotes and
// endnotes count apart, each in the format and from the start the document
// names (\ftnnrlc, \aftnstart3...), and go back to their start at a section
// break when the document says they restart there.
class NoteNumbering {
public:
    enum class Kind : std::uint8_t { Footnote, Endnote };

    // Takes a numbering word; any other word changes nothing.
    void read(std::string_view word, bool hasParam, std::int32_t param);

    // The next number of that kind, as the document writes it.
    std::string next(Kind kind);

    void newSection();

private:
    struct Counter {
        NumberStyle style;
        long start = 1;
        long count = 0;
        bool restartsEachSection = false;
    };
    Counter counters_[2] = {{NumberStyle::Decimal}, {NumberStyle::LowerRoman}};
};

}  // namespace leafmill::extract::rtf
