#pragma once

#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "convert/SourceDispatch.h"
#include "convert/TextSource.h"

#include <functional>
#include <string>
#include <string_view>
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
    std::string readAs;  // the encoding a text without a declared one was read in, when not the code page
};

// Reads the source and runs the extractor of its kind over it; `sourceEncoding`
// is the setting for pages that declare no encoding (kDetectEncoding or a name).
ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress);
// The same for a document's bytes in memory.
ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::string_view sourceEncoding, std::function<void(int)> progress);

// A text source as UTF-8, read in its encoding.
ExtractedText readTextSource(const std::string& path, const SourceEncoding& encoding);

// Turns one source into pages: a text source in the code page is cut as it
// is, one in another encoding is first put into the code page; any other kind
// of the table goes through its extractor into a temporary text file that is
// cut and deleted.
class SourceConverter {
public:
    SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
                    std::function<void(int)> sourceProgress);

    // Pages for the Notes reader: every source, text ones too, is converted
    // to the page encoding (the encoder must outlive the converter).
    void usePageText(const PageTextRules& rules) { pageText_ = rules; }

    // The encoding text sources (and pages declaring none) are read in:
    // kDetectEncoding, the default, or an encoding's name.
    void readSourcesIn(std::string choice) { sourceEncoding_ = std::move(choice); }

    SourceOutcome ConvertFile(const std::string& path);

private:
    const DispatchTable& table_;
    const CodePage& codePage_;
    PageCutter& cutter_;
    std::function<void(int)> sourceProgress_;
    PageTextRules pageText_;
    std::string sourceEncoding_ {kDetectEncoding};
};

}  // namespace leafmill
