#pragma once

#include "convert/OutputRun.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class LanguageTable;

// Every occurrence of `marker` (exact case) replaced by `value`.
std::string replaceAll(std::string text, std::string_view marker, std::string_view value);

// One list of the end message under its heading.
struct MessageSection {
    std::string heading;
    std::vector<std::string> lines;
};

// The refusal's language string with its markers filled in.
std::string refusalText(const LanguageTable& language, const Refusal& refusal);

// How the run ended: stopped, finished with the book's name, or a book with
// no pages; then how many old pages went and which pages were renamed.
std::string endSummary(const LanguageTable& language, const RunResult& result);

// The lists after the summary, empty ones left out: the sources that failed
// before any page, those that failed after some, the encodings sources were
// read in other than the code page (no heading), the characters the page
// encoding could not keep (no heading), the readers' warnings.
std::vector<MessageSection> endSections(const LanguageTable& language, const std::vector<SourceOutcome>& sources);

// The sources' sections, then the target's.
std::vector<MessageSection> runSections(const LanguageTable& language, const RunResult& result,
                                        const OutputTarget& target);

// All a run's end tells, as one text: why a run was refused, or the summary,
// the sections and why the target could not finish the pages.
std::string runMessage(const LanguageTable& language, const RunResult& result, const OutputTarget& target);

// The summary and the sections, a blank line between them.
std::string endMessage(const std::string& summary, const std::vector<MessageSection>& sections);

// One line of the failure list: the source and the reason in the language.
std::string failureLine(const LanguageTable& language, const SourceOutcome& source);

}  // namespace leafmill
