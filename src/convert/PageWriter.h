#pragma once

#include "convert/OutputFile.h"
#include "convert/RunState.h"

#include <functional>
#include <string>
#include <string_view>

namespace leafmill {

// Writes the page files of a run into its book folder: the page text as it
// stands, one closing CR LF, the next name of the run; then counts the page
// and reports the run's progress.
class PageWriter {
public:
    PageWriter(RunState& state, std::function<void(int)> progress);

    // One whole page. False with the system's reason when the file cannot be
    // written; the page is then not counted.
    bool WritePage(std::string_view text, std::string* error);

    // A page written in pieces, for text that is not cut (whole files).
    bool beginPage(std::string* error);
    bool appendToPage(std::string_view text, std::string* error);
    bool finishPage(std::string* error);
    bool pageOpen() const { return file_.isOpen(); }

private:
    void countPage();
    // Puts the page's name before the reason; always false.
    bool named(std::string* error) const;
    // Removes the page that failed half-way, then names it; always false.
    bool discarded(std::string* error) const;

    RunState& state_;
    std::function<void(int)> progress_;
    OutputFile file_;
    std::string pageName_;
    std::string scratch_;
};

} // namespace leafmill
