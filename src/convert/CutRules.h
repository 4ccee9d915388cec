#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;

// A full-width sentence end of Chinese, Japanese or Korean text, in the code
// page, and the ASCII cut word it counts as ('.' for "。").
struct WideSentenceEnd {
    std::string bytes;
    char asciiMark;
};

// How text is cut into pages, all in bytes of the code page.
struct CutRules {
    int32_t pageSize = 0;  // S; 0 or less: the text is not cut
    int32_t windowSize = 0;  // W: where before the page end a cut word is looked for
    int32_t keep = 0;  // K: bytes repeated at the start of the next page
    std::vector<std::string> cutWords;  // in list order, in the code page
    std::vector<std::string> unsplit;  // sequences a page never ends inside ("&lt;")
    // Text without blanks: its sentence ends, and the closing quotes a page
    // takes along behind one. Empty where the code page holds none of them.
    std::vector<WideSentenceEnd> sentenceEnds;
    std::vector<std::string> closingQuotes;
};

// Puts the sentence ends and closing quotes the code page can hold into `rules`.
void addWideSentenceEnds(CutRules& rules, const CodePage& codePage);

}  // namespace leafmill
