#include "convert/OutputRun.h"

#include "convert/EstimatePages.h"
#include "convert/PageCutter.h"
#include "convert/PageNames.h"
#include "convert/PageWriter.h"
#include "convert/RunState.h"
#include "convert/SourceConverter.h"
#include "io/BookFolder.h"
#include "io/FileAccess.h"
#include "io/RunFiles.h"
#include "lang/StringId.h"
#include "text/CodePage.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace leafmill {

namespace {

constexpr std::string_view kForbiddenInNames = "\\/:*?\"<>|";

bool endsWithSeparator(const std::string& folder)
{
    return !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
}

// The part behind the last separator, without its last dot and what follows.
std::string baseNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of(
#ifdef _WIN32
        "\\/"
#else
        "/"
#endif
    );
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Sizes, cut words and character starts are those of the page encoding.
CutRules cutRulesOf(const Settings& settings, const CodePage& codePage, const PageLayout& layout)
{
    CutRules rules;
    // In whole-file mode a source always becomes one page, named after it.
    rules.pageSize = layout.pageSize;
    rules.windowSize = settings.activeCutType().InOutFileSize;
    rules.keep = settings.KeepFileSize;
    for (const std::string& word : settings.CutWord)
        rules.cutWords.push_back(codePage.fromUtf8(word));
    addWideSentenceEnds(rules, codePage);
    rules.unsplit = layout.unsplit;
    return rules;
}

}  // namespace

bool RunResult::anySourceFailed() const
{
    return std::any_of(sources.begin(), sources.end(),
                       [](const SourceOutcome& source) { return source.failure != SourceFailure::None; });
}

bool RunResult::finished() const
{
    return end == RunEnd::Completed && book == BookState::Made && !anySourceFailed();
}

int FixInput(std::string_view bookName, std::size_t sourceCount)
{
    if (bookName.empty())
        return StringId::BookNameEmpty;
    if (bookName.find_first_not_of(' ') == std::string_view::npos)
        return StringId::BookNameBlank;
    bool forbidden = false;
    for (std::size_t i = 0; i < bookName.size() && !forbidden; ++i) {
        const auto byte = static_cast<unsigned char>(bookName[i]);
        // C0 controls, DEL, and the C1 controls U+0080..U+009F in UTF-8.
        const bool c1 = byte == 0xC2 && i + 1 < bookName.size() && static_cast<unsigned char>(bookName[i + 1]) >= 0x80
            && static_cast<unsigned char>(bookName[i + 1]) <= 0x9F;
        forbidden = byte < 0x20 || byte == 0x7F || c1 || kForbiddenInNames.find(bookName[i]) != std::string_view::npos;
    }
    if (forbidden)
        return StringId::BookNameInvalid;
    // "." and ".." would put the book beside or above the chosen folder.
    if (bookName.find_first_not_of('.') == std::string_view::npos)
        return StringId::BookNameDots;
    // Windows drops a folder name's trailing blanks and dots, so the book
    // would land in another folder than the one named.
    if (bookName.back() == ' ' || bookName.back() == '.')
        return StringId::BookNameBadEnd;
    if (utf16Length(bookName) + kPageNameRoom > kLongestFileName)
        return StringId::BookNameTooLong;
    if (sourceCount == 0)
        return StringId::FileListEmpty;
    return 0;
}

struct OutputRun::Impl {
    Settings settings;
    std::shared_ptr<const CodePage> codePage;
    std::unique_ptr<OutputTarget> target;
    DispatchTable dispatch;
    SourceLimits limits;
};

// What one run works with, from the book folder's opening to its commit.
struct OutputRun::Pass {
    const std::vector<std::string>& sources;
    const PageLayout& layout;
    RunListener& listener;
    RunResult& result;
    RunState& state;
    BookFolder& book;
    RunFiles& files;
    PageWriter& writer;
    SourceConverter& converter;
    std::vector<ChapterStart> chapters;
    std::vector<std::string> wholeFiles;  // the pages' names, in whole-file mode
    bool stopped = false;
};

OutputRun::OutputRun(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                     std::unique_ptr<OutputTarget> target, DispatchTable dispatch)
    : impl_(std::make_unique<Impl>(
        Impl {settings, std::move(codePage), std::move(target), std::move(dispatch), SourceLimits {}}))
{
}

OutputRun::~OutputRun() = default;

const OutputTarget& OutputRun::target() const
{
    return *impl_->target;
}

void OutputRun::limitSources(const SourceLimits& limits)
{
    impl_->limits = limits;
}

bool OutputRun::checked(const std::string& bookName, std::size_t sourceCount, RunResult& result) const
{
    const Settings& settings = impl_->settings;
    if (const int refusal = FixInput(bookName, sourceCount)) {
        result.refusal = {refusal, {}};
        return false;
    }
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size()) {
        result.refusal = {StringId::CutTypeMissing, {{"@Row", std::to_string(settings.CutTypeIndex)}}};
        return false;
    }
    return true;
}

RunResult OutputRun::run(const std::string& bookName, const std::vector<std::string>& sources,
                         const std::string& outputFolder, RunListener& listener)
{
    const Settings& settings = impl_->settings;
    RunResult result;
    result.bookName = bookName;
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    if (!checked(bookName, sources.size(), result))
        return result;
    stopRequested_.store(abortRequested_.load());
    result.bookFolder = outputFolder + (endsWithSeparator(outputFolder) ? "" : separator) + bookName + separator;
    // Refusals come before the book folder is made, so that they leave nothing behind.
    PageLayout layout;
    if (!impl_->target->layOut(bookName, &layout, &result.refusal))
        return result;
    BookFolder book;
    std::string reason;
    switch (book.open(pathFromUtf8(result.bookFolder), &reason)) {
    case BookFolder::Opening::Busy:
        result.refusal = {StringId::BookBusy, {{"@BookName", bookName}}};
        return result;
    case BookFolder::Opening::Failed:
        result.end = RunEnd::BookFolderFailed;
        result.refusal = {StringId::BookFolderNotCreated, {{"@Folder", result.bookFolder}, {"@Reason", reason}}};
        return result;
    case BookFolder::Opening::Open:
        break;
    }
    RunState state;
    state.wholeFileMode = settings.wholeFileMode();
    state.BookName = layout.stem;
    // Every file of the run goes to the staging folder first.
    state.OutPutDir = pathToUtf8(book.staging()) + separator;
    EstimatePages(settings, sources, state);
    listener.runProgress(0);
    listener.sourceProgress(0);

    const CodePage& pageCodePage = layout.encoder ? layout.encoder->codePage() : *impl_->codePage;
    RunFiles files(sources, book, state.OutPutDir, result.bookFolder);
    PageWriter writer(state, [&listener](int value) { listener.runProgress(value); });
    writer.guard(&files, &abortRequested_);
    const CutRules rules = cutRulesOf(settings, pageCodePage, layout);
    PageCutter cutter(rules, pageCodePage, writer);
    SourceConverter converter(impl_->dispatch, *impl_->codePage, cutter,
                              [&listener](int value) { listener.sourceProgress(value); });
    converter.confine(impl_->limits, &abortRequested_);
    if (layout.encoder)
        converter.usePageText({layout.encoder.get(), layout.escape, layout.chapterPages, layout.joinLines});
    converter.readSourcesIn(settings.NotesReader.SourceEncoding);

    Pass pass {sources, layout, listener, result, state, book, files, writer, converter, {}, {}, false};
    cutSources(pass);
    finishBook(pass);
    result.notesToLoad = impl_->target->notesToLoad(outputFolder, result.notes);
    return result;
}

bool OutputRun::stopConfirmed(RunListener& listener)
{
    if (!stopRequested_.load())
        return false;
    if (abortRequested_.load() || listener.confirmStop())
        return true;
    stopRequested_.store(false);
    return false;
}

void OutputRun::cutSources(Pass& pass)
{
    for (std::size_t i = 0; i < pass.sources.size() && !pass.stopped; ++i)
        cutSource(pass, i);
    pass.listener.runProgress(100);
    pass.listener.sourceProgress(0);
    // A stop asked for during the last source ends the run as stopped too.
    pass.stopped = pass.stopped || stopRequested_.load();
    pass.result.end = pass.stopped ? RunEnd::Stopped : RunEnd::Completed;
    pass.result.pageCount = pass.state.PageCount;
    pass.result.notes = pass.state.PageCount;
}

void OutputRun::cutSource(Pass& pass, std::size_t index)
{
    RunState& state = pass.state;
    const std::string& source = pass.sources[index];
    std::string renamedTo;
    if (state.wholeFileMode) {
        const std::string stem = portableName(baseNameOf(source), kLongestFileName - kPageNameRoom);
        state.BookName = pass.files.freeStem(state.OutPutDir, stem);
        if (state.BookName != stem)
            renamedTo = state.BookName + ".txt";
    }
    if (stopConfirmed(pass.listener)) {
        pass.stopped = true;
        return;
    }
    pass.listener.sourceStarted(index, source);
    pass.listener.sourceProgress(0);
    const int32_t firstPage = state.PageCount;
    bool cutOff = false;
    SourceOutcome outcome = pass.converter.ConvertFile(source, &cutOff);
    if (cutOff || pass.writer.stopped()) {
        // Cut off by the stop, not failed: its pages so far stay.
        outcome.failure = SourceFailure::None;
        outcome.reason.clear();
        pass.stopped = true;
    }
    if (outcome.pages > 0)
        outcome.renamedTo = std::move(renamedTo);
    if (state.wholeFileMode && outcome.pages > 0)
        pass.wholeFiles.push_back(state.BookName + ".txt");
    // A source's pages start afresh, with its first chapter; a source that
    // gave no page has no chapter in the book.
    for (std::size_t c = 0; c < outcome.chapters.size(); ++c)
        if (outcome.chapters[c].page < outcome.pages)
            pass.chapters.push_back(
                {outcome.chapters[c].title, firstPage + outcome.chapters[c].page, c == 0 || pass.layout.chapterPages});
    pass.result.sources.push_back(std::move(outcome));
}

void OutputRun::finishBook(Pass& pass)
{
    RunResult& result = pass.result;
    RunState& state = pass.state;
    BookFolder& book = pass.book;
    // Only a whole new book replaces the earlier one: after a stop or a
    // failure the earlier pages may be all the reader has.
    const bool whole = !pass.stopped && !result.anySourceFailed();
    if (state.PageCount > 0 && (whole || !book.holdsEarlierBook())) {
        // After a stop at once the pages written so far are kept as they were cut.
        if (!abortRequested_.load()) {
            CutPages pages;
            pages.folder = state.OutPutDir;
            pages.isWholeFiles = state.wholeFileMode;
            pages.wholeFiles = std::move(pass.wholeFiles);
            pages.count = state.wholeFileMode ? 0 : static_cast<std::size_t>(state.PageCount);
            pages.nameOf = [&state](std::size_t page) {
                return state.pageFileName(static_cast<int32_t>(page)).substr(state.OutPutDir.size());
            };
            pages.chapters = std::move(pass.chapters);
            pages.stopNow = &abortRequested_;
            FinishedBook made;
            if (!impl_->target->finish(pages, &made, &result.notFinished) && abortRequested_.load())
                result.notFinished.clear();
            result.notes = static_cast<int64_t>(made.notes);
            result.volumes = made.volumes;
            result.cutNotes = std::move(made.cutNotes);
        }
        // A stop while the pages were finished leaves the earlier book too.
        if (abortRequested_.load())
            result.end = RunEnd::Stopped;
        if ((!abortRequested_.load() || !book.holdsEarlierBook())
            && book.commit(&result.notPlaced, &result.removedOldPages))
            result.book = BookState::Made;
    }
    if (result.book != BookState::Made) {
        book.abandon();
        result.book = book.holdsEarlierBook() ? BookState::EarlierKept : BookState::None;
    }
}

}  // namespace leafmill
