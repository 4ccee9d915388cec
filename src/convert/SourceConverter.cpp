#include "convert/SourceConverter.h"

#include "convert/PageCutter.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/TemporaryTextFile.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"
#include "text/PageEncodingAdvice.h"

namespace leafmill {

namespace {

constexpr std::size_t kSampleBytes = 65536;

// The start of the text as written in the page encoding, up to its last line
// end in the first 64 KB, in UTF-8: a page encoding suggested for the
// characters this one replaced must keep the text it did keep as well.
std::string writtenTextSample(const std::string& path, const CodePage& pageEncoding)
{
    InputFile file;
    std::string block, error;
    if (!file.open(pathFromUtf8(path), &error) || !file.read(block, kSampleBytes, &error))
        return {};
    if (const std::size_t end = block.rfind('\n'); end != std::string::npos)
        block.resize(end + 1);
    return pageEncoding.toUtf8(block);
}

}  // namespace

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
    if (outcome.replaced.count > 0 && pageText_.encoder) {
        const CodePage& pageEncoding = pageText_.encoder->codePage();
        outcome.keptBy = pageEncodingKeeping(writtenTextSample(temporary.path(), pageEncoding) + outcome.replaced.first,
                                             pageEncoding);
    }
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
