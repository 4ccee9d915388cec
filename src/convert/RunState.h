#pragma once

#include <cstdint>
#include <string>

namespace leafmill {

// What one output run keeps while its sources are cut: the page counter that
// numbers pages straight through the book, and where and under which stem the
// pages go. One per run, owned by the run's thread.
struct RunState {
    int32_t PageCount = 0;  // pages written so far; also the next page's number
    int32_t PageEstimate = 0;  // estimated pages of the run, for the progress value
    int32_t PageNumDigits = 4;  // least width of the page number
    std::string PageNumPad = "0000";
    std::string BookName;  // stem of the page names (the source's name in whole-file mode)
    std::string OutPutDir;  // the book folder, ending with a separator
    bool wholeFileMode = false;  // one unnumbered page per source

    // The file name of the next page. Numbers below 10,000 are padded to four
    // digits; later pages get a wider number rather than reusing earlier names.
    std::string nextPageFileName() const { return pageFileName(PageCount); }
    // The file name of page `number` of this run.
    std::string pageFileName(int32_t number) const;

    // The run's progress after PageCount pages, 0..99; the run sets 100 itself.
    int progressValue() const;
};

}  // namespace leafmill
