#pragma once

#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "convert/SourceDispatch.h"
#include "convert/TextSource.h"

#include <functional>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;
class PageCutter;

// A document's plain text (UTF-8), or why there is none.
struct ExtractedText {
    std::string text;
    SourceFailure failure = SourceFailure::None;  // Missing or ExtractorFailed
    std::string reason;
    std::vector<std::string> warnings;
    std::vector<extract::Chapter> chapters;
};

// Reads the source and runs the extractor of its kind over it.
ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::function<void(int)> progress);
// The same for a document's bytes in memory.
ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::function<void(int)> progress);

// A text source of that form as UTF-8: code-page bytes through the code page
// (a UTF-8 mark left out), UTF-16 and UTF-32 as they say.
ExtractedText readTextSource(const std::string& path, const CodePage& codePage, TextForm form);

// Turns one source into pages: a text source is cut as it is (UTF-16 and
// UTF-32 text is first put into the code page); any other kind of the table
// goes through its extractor into a temporary text file that is cut and
// deleted.
class SourceConverter {
public:
    SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
                    std::function<void(int)> sourceProgress);

    // Pages for the Notes reader: every source, text ones too, is converted
    // to the page encoding (the encoder must outlive the converter).
    void usePageText(const PageTextRules& rules) { pageText_ = rules; }

    SourceOutcome ConvertFile(const std::string& path);

private:
    const DispatchTable& table_;
    const CodePage& codePage_;
    PageCutter& cutter_;
    std::function<void(int)> sourceProgress_;
    PageTextRules pageText_;
};

}  // namespace leafmill
