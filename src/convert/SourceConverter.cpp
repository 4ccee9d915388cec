#include "convert/SourceConverter.h"

#include "convert/PageCutter.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/TemporaryTextFile.h"
#include "text/PageEncoder.h"
#include "text/PageEncodingAdvice.h"

namespace leafmill {

SourceConverter::SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
                                 std::function<void(int)> sourceProgress)
    : table_(table)
    , codePage_(codePage)
    , cutter_(cutter)
    , sourceProgress_(std::move(sourceProgress))
{
}

SourceOutcome SourceConverter::ConvertFile(const std::string& path, bool* stopped)
{
    bool cutOff = false;
    SourceOutcome outcome;
    outcome.path = path;
    TemporaryTextFile temporary;
    std::string writeError;
    SourceSink sink;
    sink.progress = sourceProgress_;
    sink.begin = [&](std::string_view kindWord) { temporary.open(kindWord, &writeError); };
    sink.bytes = [&](std::string_view bytes) {
        if (writeError.empty())
            temporary.append(bytes, &writeError);
    };
    // Opened once: every reader and the cut read this one file, whatever
    // happens to its name meanwhile, and its state tells whether it changed.
    InputFile source;
    PreparedSource prepared = openSource(path, table_, source);
    const FileState opened = source.state();
    if (prepared.failure == SourceFailure::None)
        prepared = readSourceConfined(path, source, table_, codePage_, pageText_, sourceEncoding_, sink, limits_,
                                      stopNow_, &cutOff);
    if (stopped)
        *stopped = cutOff;
    outcome.warnings = std::move(prepared.warnings);
    outcome.failure = prepared.failure;
    outcome.reason = std::move(prepared.reason);
    if (cutOff || prepared.failure != SourceFailure::None)
        return outcome;
    if (writeError.empty() && !prepared.cutInPlace)
        temporary.close(&writeError);
    if (!writeError.empty()) {
        outcome.failure = SourceFailure::ExtractorFailed;
        outcome.reason = std::move(writeError);
        return outcome;
    }
    outcome.readAs = std::move(prepared.readAs);
    outcome.replaced = std::move(prepared.replaced);
    if (outcome.replaced.count > 0 && pageText_.encoder)
        outcome.keptBy = pageEncodingKeeping(outcome.replaced.first, pageText_.encoder->codePage());
    CutOutcome cut;
    if (prepared.cutInPlace) {
        cut = cutter_.CutText(source, prepared.skip);
    } else {
        std::vector<std::size_t> offsets;
        for (const ChapterMark& chapter : prepared.chapters)
            offsets.push_back(chapter.offset);
        cutter_.setMarks(std::move(offsets), pageText_.chapterPages);
        cut = cutter_.CutTextFile(pathFromUtf8(temporary.path()));
        for (std::size_t i = 0; i < prepared.chapters.size() && i < cutter_.markPages().size(); ++i)
            outcome.chapters.push_back({std::move(prepared.chapters[i].title), cutter_.markPages()[i]});
    }
    outcome.pages = cut.pages;
    outcome.failure = cut.failure;
    outcome.reason = std::move(cut.reason);
    if (prepared.cutInPlace && cut.failure == SourceFailure::None && source.state() != opened) {
        outcome.failure = SourceFailure::Changed;
        outcome.reason.clear();
    } else if (cut.failure == SourceFailure::None && cut.pages == 0) {
        outcome.failure = SourceFailure::NoText;
    }
    return outcome;
}

}  // namespace leafmill
