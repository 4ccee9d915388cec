#pragma once

#include "convert/RunState.h"
#include "io/OutputFile.h"

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill {

class RunFiles;

// Writes the page files of a run into its book folder: the page text as it
// stands, one closing CR LF, the next name of the run; then counts the page
// and reports the run's progress.
class PageWriter {
public:
    PageWriter(RunState& state, std::function<void(int)> progress);

    // Pages are then never written over the run's sources, and each whole
    // file written is recorded there. Once `stopNow` is set no page is begun and
    // a page being written in pieces is removed.
    void guard(RunFiles* files, const std::atomic<bool>* stopNow);
    // True when a write was refused because a stop was asked for.
    bool stopped() const { return stopped_; }

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
    bool stopAsked(std::string* error);
    // Puts the page's name before the reason; always false.
    bool named(std::string* error) const;
    // Removes the page that failed half-way, then names it; always false.
    bool discarded(std::string* error) const;

    RunState& state_;
    std::function<void(int)> progress_;
    OutputFile file_;
    std::string pageName_;
    std::string scratch_;
    RunFiles* files_ = nullptr;
    const std::atomic<bool>* stopNow_ = nullptr;
    bool stopped_ = false;
};

}  // namespace leafmill
