#include "extract/layout/PagedText.h"

#include "extract/layout/PageStore.h"
#include "extract/layout/Paragraphs.h"
#include "extract/layout/RunningLines.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

namespace leafmill::extract::layout {

namespace {

// More bookmarks than any book's contents note could show.
constexpr std::size_t outlineLimit = 2000;

// The joined text goes on in pieces of at most this size: a page adds a few
// kilobytes, while a megabyte gathered would be held again by whoever takes
// it (in the code page, on its way out).
constexpr std::size_t kHandedPiece = std::size_t {64} << 10;

// "3", "3-5", "3, 7-9": the pages listed compactly.
std::string pageList(const std::vector<int>& pages)
{
    std::string list;
    for (std::size_t i = 0; i < pages.size();) {
        std::size_t j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1)
            ++j;
        list += (list.empty() ? "" : ", ") + std::to_string(pages[i]);
        if (j > i)
            list += "-" + std::to_string(pages[j]);
        i = j + 1;
    }
    return list;
}

// Below this many pages a second reader (opening the document once more)
// and a second thread cost more than they save; above the most, the memory
// the library keeps for each page a reader has laid out (a few kilobytes,
// until the document is closed) would be held twice over.
constexpr int kSharedPages = 16;
constexpr int kSharedPagesMost = 5000;

// The cores this process may run on.
unsigned usableCores()
{
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
#endif
    return std::thread::hardware_concurrency();
}

struct LaidOutPage {
    std::vector<Line> lines;
    bool cutShort = false;
    bool done = false;
};

LaidOutPage layOut(const PageReader& reader, int index)
{
    LaidOutPage page;
    page.lines = groupIntoLines(reader(index, &page.cutShort));
    page.done = true;
    return page;
}

// Lays out every page, on a second thread too where there is a second
// reader (each thread taking the next page not yet taken), and hands the
// pages to `take` in page order on the calling thread.
void layOutInOrder(int count, const PageReader& reader, const PageReader& second,
                   const std::function<void(int, LaidOutPage&)>& take)
{
    if (!second) {
        for (int i = 0; i < count; ++i) {
            LaidOutPage page = layOut(reader, i);
            take(i, page);
        }
        return;
    }
    std::vector<LaidOutPage> pages(static_cast<std::size_t>(count));
    std::atomic<int> next {0};
    std::mutex mutex;
    std::condition_variable ready;
    std::exception_ptr failure;
    bool helperEnded = false;
    std::jthread helper([&](const std::stop_token& stop) {
        try {
            for (int i = 0; !stop.stop_requested() && (i = next++) < count;) {
                LaidOutPage page = layOut(second, i);
                const std::lock_guard lock(mutex);
                pages[static_cast<std::size_t>(i)] = std::move(page);
                ready.notify_one();
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            failure = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        helperEnded = true;
        ready.notify_one();
    });
    int handed = 0;
    // Hands on the pages laid out so far in order; with `wait`, every page,
    // unless the helper failed.
    const auto handOn = [&](bool wait) {
        while (handed < count) {
            LaidOutPage page;
            {
                std::unique_lock lock(mutex);
                LaidOutPage& slot = pages[static_cast<std::size_t>(handed)];
                if (wait)
                    ready.wait(lock, [&] { return slot.done || helperEnded; });
                if (!slot.done)
                    return;
                page = std::move(slot);
            }
            take(handed++, page);
        }
    };
    for (int i = 0; (i = next++) < count;) {
        LaidOutPage page = layOut(reader, i);
        {
            const std::lock_guard lock(mutex);
            pages[static_cast<std::size_t>(i)] = std::move(page);
        }
        handOn(false);
    }
    handOn(true);
    helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

// Leaves the running lines out of the stored pages, places the bookmarks
// and joins the paragraphs into `result`, its text handed on as it grows.
void joinPages(PageStore& store, RunningLines& running, const std::vector<OutlineEntry>& outline,
               const Options& options, Result& result)
{
    std::vector<std::size_t> lineCounts;
    std::size_t textSize = 0;
    for (std::size_t p = 0; p < store.pageCount(); ++p) {
        store.remove(p, running.of(p));
        lineCounts.push_back(store.lineCount(p));
        textSize += store.textSize(p) + 2 * store.lineCount(p);
    }
    running = RunningLines();
    const auto linesOf = [&](std::size_t page) { return store.lines(page); };
    std::vector<Anchor> anchors;
    std::vector<Chapter> bookmarks = placeBookmarks(outline, store.pageCount(), linesOf, anchors, result.warnings);
    LineGaps gaps;
    for (std::size_t p = 0; p < store.pageCount(); ++p)
        gaps.addPage(store.lines(p));
    ParagraphJoiner joiner(gaps.median(), lineCounts, anchors);
    // Held whole, the text grows in its own room; handed on, a page at a
    // time with the bookmarks placed by then (bookmarks need not follow the
    // pages, the chapters do).
    if (!options.sink)
        result.text.reserve(textSize);
    std::size_t chapters = 0;
    const auto handOnJoined = [&] {
        for (; chapters < joiner.anchorsPlaced(); ++chapters) {
            const std::size_t k = joiner.textOrder()[chapters];
            result.chapters.push_back(std::move(bookmarks[k]));
            result.chapters.back().offset = anchors[k].offset;
        }
        result.text += joiner.takeText();
        handOn(result, options);
    };
    for (std::size_t p = 0; p < store.pageCount(); ++p) {
        joiner.addPage(store.lines(p));
        handOnJoined();
    }
    joiner.finish();
    handOnJoined();
}

}  // namespace

Result pagedText(const PagedDocument& document, const Options& options, const PagedRefusals& refusals,
                 const AnotherReader& anotherReader)
{
    const int count = document.pageCount;
    if (count <= 0)
        return Result::failure(refusals.noPages);
    PageReader second;
    if (anotherReader && count >= kSharedPages && count <= kSharedPagesMost && usableCores() >= 2)
        second = anotherReader();
    // Each page is kept compactly as it comes, with the few facts of its
    // edge lines that tell running heads and feet.
    PageStore store;
    RunningLines running;
    std::vector<int> withoutText, cutShort;
    layOutInOrder(count, document.pageWords, second, [&](int i, LaidOutPage& page) {
        if (page.cutShort)
            cutShort.push_back(i + 1);
        if (page.lines.empty())
            withoutText.push_back(i + 1);
        running.addPage(page.lines);
        store.add(page.lines);
        if (options.progress)
            options.progress((i + 1) * 100 / count);
    });
    second = nullptr;
    if (withoutText.size() == static_cast<std::size_t>(count))
        return Result::failure(refusals.noText);

    Result result;
    Options handedOn = options;
    handedOn.pieceSize = std::min(options.pieceSize, kHandedPiece);
    try {
        joinPages(store, running, document.outline(outlineLimit), handedOn, result);
    } catch (const PageStore::Unreadable& failure) {
        return Result::failure(failure.what());
    }
    if (!withoutText.empty())
        result.warnings.push_back("page(s) " + pageList(withoutText)
                                  + " have no text layer (scanned pictures?) and are left out");
    if (!cutShort.empty())
        result.warnings.push_back(
            "page(s) " + pageList(cutShort)
            + " draw far more than a page can show (forms within forms?) and were read only in part");
    result.ok = true;
    return result;
}

}  // namespace leafmill::extract::layout
