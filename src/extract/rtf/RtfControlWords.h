#pragma once

#include <cstdint>
#include <string_view>

namespace leafmill::extract::rtf {

// What a control word does to the text; words not listed only format it.
enum class WordAction : uint8_t {
    Character,  // puts `value` into the text (0: nothing)
    LineEnd,  // ends a line
    SkippedGroup,  // the group holds no text for a reader
    FontTable,  // \fonttbl
    StyleSheet,  // \stylesheet
    Footnote,  // \footnote
    FootnoteMark,  // \chftn: the automatic number of a footnote
    AnsiAlternative,  // \upr: the group's plain-ANSI copy, skipped for its \ud twin
    UnicodeAlternative,  // \ud
    // A marked (\*) destination whose text is read like any other: \ud
    // outside \upr, \nesttableprops (some writers put cell text in it).
    TextGroup,
    Unicode,  // \uN
    UnicodeSkipCount,  // \ucN
    Font,  // \fN
    FontCharset,  // \fcharsetN
    FontCodePage,  // \cpgN
    DefaultFont,  // \deffN
    DocumentCodePage,  // \ansicpgN, or \ansi \mac \pc \pca with `value` as the page
    Plain,  // \plain
    Hidden,  // \v: hidden text
    RtfHeader,  // \rtfN
};

struct WordEntry {
    WordAction action;
    char32_t value = 0;
};

// Null for a word that only formats.
const WordEntry* findControlWord(std::string_view word);

// The text of a control symbol such as \~ or \{ (0: nothing).
char32_t controlSymbolChar(char symbol);

}  // namespace leafmill::extract::rtf
