#pragma once

#include "convert/OutputRun.h"
#include "convert/PageCutter.h"
#include "convert/SourceDispatch.h"

#include <functional>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;
class PageCutter;

// A document's plain text in the code page, or why there is none.
struct ExtractedText {
    std::string bytes;
    SourceFailure failure = SourceFailure::None; // Missing or ExtractorFailed
    std::string reason;
    std::vector<std::string> warnings;
};

// Reads the source and runs the extractor of its kind over it.
ExtractedText extractSource(
    const std::string& path, const SourceKind& kind, const CodePage& codePage, std::function<void(int)> progress);

// Turns one source into pages: a text source is cut as it is (UTF-16 and
// UTF-32 text is first put into the code page); any other kind of the table
// goes through its extractor into a temporary text file that is cut and
// deleted.
class SourceConverter {
public:
    SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
        std::function<void(int)> sourceProgress);

    SourceOutcome ConvertFile(const std::string& path);

private:
    static SourceOutcome cutOutcome(SourceOutcome outcome, CutOutcome cut);

    const DispatchTable& table_;
    const CodePage& codePage_;
    PageCutter& cutter_;
    std::function<void(int)> sourceProgress_;
};

} // namespace leafmill
