#pragma once

#include "convert/ConfinedReading.h"
#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "extract/Formats.h"

#include <atomic>
#include <functional>
#include <string>

namespace leafmill {

class CodePage;
class PageCutter;

// Turns one source into pages: a text source is cut as it is (UTF-16 and
// UTF-32 text is first put into the code page); any other kind of the table
// is read apart from the program (readSourceConfined) into a temporary text
// file that is cut and deleted.
class SourceConverter {
public:
    SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
                    std::function<void(int)> sourceProgress);

    // Pages for the Notes reader: every source, text ones too, is converted
    // to the page encoding (the encoder must outlive the converter).
    void usePageText(const PageTextRules& rules) { pageText_ = rules; }
    // What reading a source may take, and the flag that ends it at once.
    void confine(const SourceLimits& limits, const std::atomic<bool>* stopNow)
    {
        limits_ = limits;
        stopNow_ = stopNow;
    }

    // The encoding text sources (and pages declaring none) are read in:
    // kDetectEncoding, the default, or an encoding's name.
    void readSourcesIn(std::string choice) { sourceEncoding_ = std::move(choice); }

    // `stopped` is true when the stop flag cut the source short.
    SourceOutcome ConvertFile(const std::string& path, bool* stopped = nullptr);

private:
    const DispatchTable& table_;
    const CodePage& codePage_;
    PageCutter& cutter_;
    std::function<void(int)> sourceProgress_;
    PageTextRules pageText_;
    SourceLimits limits_;
    const std::atomic<bool>* stopNow_ = nullptr;
    std::string sourceEncoding_ {kDetectEncoding};
};

}  // namespace leafmill
