#include "convert/OutputRun.h"

#include "convert/BookFinisher.h"
#include "convert/EndMessage.h"
#include "convert/EstimatePages.h"
#include "convert/NotesMessages.h"
#include "convert/NotesNames.h"
#include "convert/PageCutter.h"
#include "convert/PageWriter.h"
#include "convert/ReaderLimits.h"
#include "convert/RunState.h"
#include "convert/SourceConverter.h"
#include "io/BookFolder.h"
#include "io/FileAccess.h"
#include "io/RunFiles.h"
#include "lang/LanguageTable.h"
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

CutRules cutRulesOf(const Settings& settings, const CodePage& codePage, bool escaped)
{
    CutRules rules;
    const CutType& cutType = settings.activeCutType();
    // In whole-file mode a source always becomes one page, named after it.
    rules.pageSize = settings.wholeFileMode() ? 0 : cutType.SingleFileSize;
    rules.windowSize = cutType.InOutFileSize;
    rules.keep = settings.KeepFileSize;
    for (const std::string& word : settings.CutWord)
        rules.cutWords.push_back(codePage.fromUtf8(word));
    addWideSentenceEnds(rules, codePage);
    // A bare '<' never ends a page, where the reader's markup follows it.
    if (escaped)
        rules.unsplit = {"&lt;", "&amp;", "< "};
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
    std::shared_ptr<const LanguageTable> language;
    DispatchTable dispatch;
    SourceLimits limits;
};

OutputRun::OutputRun(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                     std::shared_ptr<const LanguageTable> language)
    : OutputRun(settings, std::move(codePage), std::move(language), defaultDispatchTable())
{
}

OutputRun::OutputRun(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                     std::shared_ptr<const LanguageTable> language, DispatchTable dispatch)
    : impl_(std::make_unique<Impl>(
        Impl {settings, std::move(codePage), std::move(language), std::move(dispatch), SourceLimits {}}))
{
}

OutputRun::~OutputRun() = default;

void OutputRun::limitSources(const SourceLimits& limits)
{
    impl_->limits = limits;
}

RunResult OutputRun::run(const std::string& bookName, const std::vector<std::string>& sources,
                         const std::string& outputFolder, RunListener& listener)
{
    const Settings& settings = impl_->settings;
    const LanguageTable& language = *impl_->language;
    RunResult result;
    if (const int refusal = FixInput(bookName, sources.size())) {
        result.message = language.text(refusal);
        return result;
    }
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size()) {
        result.message = "The cut type " + std::to_string(settings.CutTypeIndex) + " is not in the settings' table.";
        return result;
    }

    stopRequested_.store(abortRequested_.load());
    RunState state;
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    state.OutPutDir = outputFolder + (endsWithSeparator(outputFolder) ? "" : separator) + bookName + separator;
    state.BookName = bookName;
    state.wholeFileMode = settings.wholeFileMode();
    result.bookFolder = state.OutPutDir;
    // Refusals come before the book folder is made, so that they leave nothing behind.
    std::string reason;
    const CodePage& codePage = *impl_->codePage;
    const NotesReaderSettings& notes = settings.NotesReader;
    NotesLayout layout;
    if (!planNotesBook(settings, codePage, language, bookName, state.OutPutDir, &layout, &reason)) {
        result.end = RunEnd::Refused;
        result.message = reason;
        return result;
    }
    const PageEncoder* encoder = layout.encoder.get();
    const PageTextRules pageText {encoder, notes.present, notes.ChapterPages, notes.JoinLines};
    // Sizes, cut words and character starts are those of the page encoding.
    const CodePage& pageCodePage = encoder ? encoder->codePage() : codePage;
    CutRules rules = cutRulesOf(settings, pageCodePage, pageText.escapeTags);
    rules.pageSize = layout.pageSize;
    const bool framed = encoder && !state.wholeFileMode;
    state.BookName = layout.stem;
    BookFolder book;
    switch (book.open(pathFromUtf8(state.OutPutDir), &reason)) {
    case BookFolder::Opening::Busy:
        result.end = RunEnd::Refused;
        result.message = replaceAll(language.text(StringId::BookBusy), "@BookName", bookName);
        return result;
    case BookFolder::Opening::Failed:
        result.end = RunEnd::BookFolderFailed;
        result.message = replaceAll(
            replaceAll(language.text(StringId::BookFolderNotCreated), "@Folder", state.OutPutDir), "@Reason", reason);
        return result;
    case BookFolder::Opening::Open:
        break;
    }
    // Every file of the run goes to the staging folder first.
    state.OutPutDir = pathToUtf8(book.staging()) + separator;
    layout.plan.folder = state.OutPutDir;
    EstimatePages(settings, sources, state);
    listener.runProgress(0);
    listener.sourceProgress(0);

    RunFiles files(sources, book, state.OutPutDir, result.bookFolder);
    PageWriter writer(state, [&listener](int value) { listener.runProgress(value); });
    writer.guard(&files, &abortRequested_);
    PageCutter cutter(rules, pageCodePage, writer);
    SourceConverter converter(impl_->dispatch, codePage, cutter,
                              [&listener](int value) { listener.sourceProgress(value); });
    converter.confine(impl_->limits, &abortRequested_);
    if (encoder)
        converter.usePageText(pageText);
    converter.readSourcesIn(settings.NotesReader.SourceEncoding);

    bool stopped = false;
    std::vector<ChapterStart> chapters;
    std::vector<std::string> wholeFileNotes;
    for (std::size_t i = 0; i < sources.size() && !stopped; ++i) {
        std::string renamedTo;
        if (state.wholeFileMode) {
            const std::string stem = portableName(baseNameOf(sources[i]), kLongestFileName - kPageNameRoom);
            state.BookName = files.freeStem(state.OutPutDir, stem);
            if (state.BookName != stem)
                renamedTo = state.BookName + ".txt";
        }
        if (stopRequested_.load()) {
            if (abortRequested_.load() || listener.confirmStop()) {
                stopped = true;
                break;
            }
            stopRequested_.store(false);
        }
        listener.sourceStarted(i, sources[i]);
        listener.sourceProgress(0);
        const int32_t firstPage = state.PageCount;
        bool cutOff = false;
        SourceOutcome outcome = converter.ConvertFile(sources[i], &cutOff);
        if (cutOff || writer.stopped()) {
            // Cut off by the stop, not failed: its pages so far stay.
            outcome.failure = SourceFailure::None;
            outcome.reason.clear();
            stopped = true;
        }
        if (outcome.pages > 0)
            outcome.renamedTo = std::move(renamedTo);
        if (state.wholeFileMode && outcome.pages > 0)
            wholeFileNotes.push_back(state.BookName + ".txt");
        // A source's pages start afresh, with its first chapter; a source
        // that gave no page has no chapter in the book.
        for (std::size_t c = 0; c < outcome.chapters.size(); ++c)
            if (outcome.chapters[c].page < outcome.pages)
                chapters.push_back(
                    {outcome.chapters[c].title, firstPage + outcome.chapters[c].page, c == 0 || notes.ChapterPages});
        result.sources.push_back(std::move(outcome));
    }

    listener.runProgress(100);
    listener.sourceProgress(0);
    // A stop asked for during the last source ends the run as stopped too.
    stopped = stopped || stopRequested_.load();
    result.end = stopped ? RunEnd::Stopped : RunEnd::Completed;
    result.pageCount = state.PageCount;
    result.notes = state.PageCount;
    // Only a whole new book replaces the earlier one: after a stop or a
    // failure the earlier pages may be all the reader has.
    const bool whole = !stopped && !result.anySourceFailed();
    std::string bookFailure;
    if (state.PageCount > 0 && (whole || !book.holdsEarlierBook())) {
        // After a stop at once the pages written so far are kept as they were cut.
        if (encoder && !abortRequested_.load()) {
            CutPages pages;
            pages.isWholeFiles = !framed;
            pages.wholeFiles = std::move(wholeFileNotes);
            pages.count = framed ? static_cast<std::size_t>(state.PageCount) : 0;
            pages.nameOf = [&state](std::size_t page) {
                return state.pageFileName(static_cast<int32_t>(page)).substr(state.OutPutDir.size());
            };
            const auto continuedIn = [&language](const std::string& volume) {
                return replaceAll(language.text(StringId::VolumeContinues), "@Volume", volume);
            };
            layout.plan.stopNow = &abortRequested_;
            NotesBookMade made;
            if (!finishNotesBook(layout, pages, chapters, continuedIn, &made, &bookFailure))
                bookFailure = abortRequested_.load() ? std::string() : "\n\n" + bookFailure;
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
    result.notesToLoad = notesToLoad(outputFolder, result.notes);
    result.summary = endSummary(language, result, bookName);
    std::vector<MessageSection> sections = endSections(language, result.sources);
    if (notes.present)
        for (MessageSection& section : notesSections(language, result))
            sections.push_back(std::move(section));
    result.message = endMessage(result.summary, sections) + bookFailure;
    return result;
}

}  // namespace leafmill
