#pragma once

#include "app/Settings.h"
#include "convert/ConfinedReading.h"
#include "convert/OutputTarget.h"
#include "convert/SourceFailure.h"
#include "extract/Formats.h"
#include "text/PageEncoder.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

// What the run tells whoever watches it. Called on the thread that runs the
// engine; a window forwards these to its own thread.
class RunListener {
public:
    virtual ~RunListener() = default;
    // A source is about to be converted (the progress caption names it).
    virtual void sourceStarted(std::size_t index, const std::string& path) = 0;
    // ProgressBar1: pages of the whole run, 0..100.
    virtual void runProgress(int value) = 0;
    // ProgressBar2: the current source's extraction, 0..100.
    virtual void sourceProgress(int value) = 0;
    // A stop was requested; asked before the next source. True ends the run
    // (the user answered Yes to the stop question), false goes on.
    virtual bool confirmStop() = 0;
};

struct SourceOutcome {
    std::string path;
    int32_t pages = 0;
    SourceFailure failure = SourceFailure::None;
    std::string reason;  // the extractor's or the system's words
    std::vector<std::string> warnings;  // survivable problems of the extractor
    // In whole-file mode, the page's name when another source of the run had
    // already taken the source's own name.
    std::string renamedTo;
    Replacements replaced;  // characters the page encoding could not keep
    std::string keptBy;  // a page encoding that would keep the first of them
    std::string readAs;  // the encoding the text was read in, when not the code page
    std::vector<ChapterStart> chapters;  // pages counted from the source's first
};

enum class RunEnd {
    Refused,  // the checks before a run failed, or another run writes the book; `message` says why
    BookFolderFailed,  // the book folder could not be created or used; nothing written
    Completed,
    Stopped,  // the user confirmed a stop request
};

// What the book folder holds after a run that started.
enum class BookState {
    None,  // no book: no source gave a page
    Made,  // this run's book, in place of the earlier one
    EarlierKept,  // the earlier book, as it was: this run's pages were not kept
};

// What a run did, for the front ends to put into words (EndMessage.h).
struct RunResult {
    RunEnd end = RunEnd::Refused;
    std::string bookName;  // as the user gave it
    // Why the run was refused or could not use the book folder.
    Refusal refusal;
    std::vector<SourceOutcome> sources;  // one per source that was handled
    int32_t pageCount = 0;
    // The files the book has for its reader (pages, contents and records,
    // all volumes together), the files of the folder the reader loads them
    // from (the book's own when no other), and those it cuts short.
    int64_t notes = 0;
    int64_t notesToLoad = 0;
    std::size_t volumes = 0;
    std::vector<CutNote> cutNotes;
    BookState book = BookState::None;
    std::string notPlaced;  // why the book could not be put in place, when it could not
    std::string notFinished;  // why the target could not finish the pages, when it could not
    int removedOldPages = 0;  // files of the earlier book that this one did not replace by name
    // The book folder, ending with a separator; the caller stores it in
    // OutPutDir.
    std::string bookFolder;

    bool anySourceFailed() const;
    // Every source gave its pages and the book is in place.
    bool finished() const;
};

// The checks made before a run: 0 when the run may start, else the number of
// the language string that says why not (10 empty name, 11 a character a file
// name cannot hold or a name of dots only, 128 a name too long for the page
// names, 12 an empty list).
int FixInput(std::string_view bookName, std::size_t sourceCount);

// One output run over an ordered list of sources into one book folder of
// the target's kind, with no windows. Everything a run needs is copied in at
// construction, so the run may go on a worker thread while the caller's
// thread keeps the settings.
class OutputRun {
public:
    OutputRun(const Settings& settings, std::shared_ptr<const CodePage> codePage, std::unique_ptr<OutputTarget> target,
              DispatchTable dispatch = defaultDispatchTable());
    ~OutputRun();

    const OutputTarget& target() const;

    // What reading one source may take (the defaults otherwise).
    void limitSources(const SourceLimits& limits);

    // Asks the run to stop before the next source. Safe from any thread.
    void requestStop() { stopRequested_.store(true); }
    // Stops the run without a question at once: a reader at work is ended,
    // the page being written is finished (or removed when it is written in
    // pieces). Safe from a signal handler.
    void requestAbort()
    {
        abortRequested_.store(true);
        stopRequested_.store(true);
    }

    // Runs FixInput, creates <outputFolder>/<bookName>/ and converts every
    // source in order; the book replaces the earlier one of its folder only
    // when every source gave its pages. `outputFolder` must exist (the caller
    // chose it).
    RunResult run(const std::string& bookName, const std::vector<std::string>& sources, const std::string& outputFolder,
                  RunListener& listener);

private:
    struct Impl;
    struct Pass;
    // The checks of the name, the list and the settings; false with the
    // refusal in `result`.
    bool checked(const std::string& bookName, std::size_t sourceCount, RunResult& result) const;
    // A stop was asked for and is to end the run now.
    bool stopConfirmed(RunListener& listener);
    void cutSources(Pass& pass);
    void cutSource(Pass& pass, std::size_t index);
    void finishBook(Pass& pass);

    std::unique_ptr<Impl> impl_;
    std::atomic<bool> stopRequested_ {false};
    std::atomic<bool> abortRequested_ {false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace leafmill
