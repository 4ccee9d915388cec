#include "targets/notes/BookFinisher.h"

#include "convert/PageNames.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/OutputFile.h"
#include "targets/notes/NotesNames.h"
#include "targets/notes/ReaderLimits.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace leafmill {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Room for page numbers up to 9,999,999 in titles.
constexpr std::size_t kNumberDigits = 7;
// With no chapter in the book, the contents links to every 20th page.
constexpr std::size_t kContentsStride = 20;

// The chapter's name as the page encoding writes it, cut to whole characters
// within the title's room.
std::string shortTitle(const PageEncoder& encoder, const std::string& title)
{
    const std::string bytes = encoder.encode(title, nullptr);
    const std::size_t end = encoder.codePage().boundaryAtOrBefore(bytes, std::min(bytes.size(), kChapterTitleBytes));
    return encoder.codePage().toUtf8(bytes.substr(0, end));
}

std::size_t pageOf(const ChapterStart& chapter)
{
    return static_cast<std::size_t>(chapter.page);
}
std::size_t pageOf(std::size_t page)
{
    return page;
}

// The chapter the page opens in: one that starts on the page when the page
// begins with it, else the one before (or the page's first when none came
// before).
const ChapterStart* chapterOf(const BookPlan& plan, std::size_t index)
{
    // Only the chapters on the page are looked at, so that a book of many
    // chapters takes no longer per page.
    const auto onPage = std::equal_range(plan.chapters.begin(), plan.chapters.end(), index,
                                         [](const auto& a, const auto& b) { return pageOf(a) < pageOf(b); });
    const ChapterStart* found = onPage.first == plan.chapters.begin() ? nullptr : &*(onPage.first - 1);
    for (auto chapter = onPage.first; chapter != onPage.second; ++chapter)
        if (chapter->opensPage || !found)
            found = &*chapter;
    return found;
}

// Markup texts are put into the page encoding before they are escaped, so
// that nothing the encoding spells otherwise turns into a tag.
LinkTexts fittedTexts(const BookPlan& plan)
{
    return {plan.encoder->fit(plan.texts.previous, nullptr), plan.encoder->fit(plan.texts.next, nullptr)};
}

PageFrame frameOf(const BookPlan& plan, std::size_t index)
{
    PageFrame frame;
    if (plan.titles)
        frame.title = pageTitle(plan, index);
    if (plan.links && index > 0)
        frame.previous = pageName(plan, index - 1);
    if (plan.links && index + 1 < plan.pageCount)
        frame.next = pageName(plan, index + 1);
    return frame;
}

// Writes a new note of the book; a failure leaves no part of it.
bool writeBookFile(const std::string& path, std::string_view bytes, std::string* error)
{
    OutputFile file;
    if (!file.open(pathFromUtf8(path), OutputFile::Mode::Fresh, error)) {
        *error = path + ": " + *error;
        return false;
    }
    if (!file.write(bytes, error) || !file.close(error)) {
        std::error_code ignored;
        std::filesystem::remove(pathFromUtf8(path), ignored);
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

struct ContentsEntry {
    std::string title;
    std::size_t page;
};

std::vector<ContentsEntry> contentsEntries(const BookPlan& plan)
{
    std::vector<ContentsEntry> entries;
    for (const ChapterStart& chapter : plan.chapters)
        entries.push_back({chapter.title, static_cast<std::size_t>(chapter.page)});
    if (plan.chapters.size() <= 1)
        for (std::size_t page = kContentsStride; page < plan.pageCount; page += kContentsStride)
            entries.push_back({plan.bookName + " " + std::to_string(page + 1), page});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ContentsEntry& a, const ContentsEntry& b) { return a.page < b.page; });
    return entries;
}

// The lines of the contents, parted into notes that fit the page size.
std::vector<std::vector<std::string>> contentsParts(const BookPlan& plan, std::size_t pageSize)
{
    const std::vector<ContentsEntry> entries = contentsEntries(plan);
    const PageEncoder& encoder = *plan.encoder;
    const LinkTexts texts = fittedTexts(plan);
    std::vector<std::vector<std::string>> parts(1);
    std::size_t used = 0;
    // Head and tail of a contents note at their longest.
    PageFrame worst;
    worst.title = plan.contentsTitle + " " + paddedNumber(0, kNumberDigits);
    worst.next = contentsFileName(entries.size(), entries.size() + 1);
    const std::size_t frame = plan.declaration.size()
        + encoder.encode(frameHead(worst, texts) + frameTail(worst, texts), nullptr).size() + kLineEnd.size();
    for (const ContentsEntry& entry : entries) {
        const std::string line
            = encoder.encode(noteLink(pageName(plan, entry.page), shortTitle(encoder, entry.title)), nullptr)
            + std::string(kLineEnd);
        if (used > 0 && frame + used + line.size() > pageSize) {
            parts.emplace_back();
            used = 0;
        }
        parts.back().push_back(line);
        used += line.size();
    }
    return parts;
}

// The contents, as many notes as its lines need, each linking to the next.
bool writeContents(const BookPlan& plan, const std::vector<std::vector<std::string>>& parts, std::string* error)
{
    const PageEncoder& encoder = *plan.encoder;
    const LinkTexts texts = fittedTexts(plan);
    const std::string title = encoder.fit(plan.contentsTitle, nullptr);
    for (std::size_t part = 0; part < parts.size(); ++part) {
        PageFrame note;
        note.title = parts.size() == 1 ? title : title + " " + std::to_string(part + 1);
        if (part + 1 < parts.size())
            note.next = contentsFileName(part + 1, parts.size());
        std::string bytes = plan.declaration + encoder.encode(frameHead(note, texts), nullptr);
        for (const std::string& line : parts[part])
            bytes += line;
        bytes += encoder.encode(frameTail(note, texts), nullptr);
        if (!writeBookFile(plan.folder + contentsFileName(part, parts.size()), bytes, error))
            return false;
    }
    return true;
}

}  // namespace

std::string pageName(const BookPlan& plan, std::size_t index)
{
    return pageFileName(plan.stem, static_cast<int64_t>(index), pageNumberWidth(static_cast<int64_t>(plan.pageCount)));
}

std::string pageTitle(const BookPlan& plan, std::size_t index)
{
    const ChapterStart* chapter = chapterOf(plan, index);
    const std::string name = chapter ? shortTitle(*plan.encoder, chapter->title) : plan.bookName;
    const std::size_t width = std::to_string(plan.pageCount).size();
    return plan.encoder->fit(name + " \xE2\x80\x93 " + paddedNumber(static_cast<int64_t>(index) + 1, width) + "/"
                                 + std::to_string(plan.pageCount),
                             nullptr);
}

std::size_t markupReserve(const BookPlan& plan, std::size_t longestPageName)
{
    const PageEncoder& encoder = *plan.encoder;
    PageFrame worst;
    if (plan.titles) {
        std::string longest = plan.bookName;
        for (const ChapterStart& chapter : plan.chapters)
            if (encoder.encode(shortTitle(encoder, chapter.title), nullptr).size() > longest.size())
                longest = shortTitle(encoder, chapter.title);
        worst.title
            = longest + " \xE2\x80\x93 " + paddedNumber(0, kNumberDigits) + "/" + paddedNumber(0, kNumberDigits);
    }
    if (plan.links) {
        worst.previous = std::string(longestPageName, 'x');
        worst.next = worst.previous;
    }
    const std::string continuation = plan.continuation.empty()
        ? std::string()
        : escapeMarkup(encoder.fit(plan.continuation, nullptr)) + std::string(kLineEnd);
    return plan.declaration.size()
        + encoder
              .encode(frameHead(worst, fittedTexts(plan)) + frameTail(worst, fittedTexts(plan)) + continuation, nullptr)
              .size();
}

std::size_t contentsNotes(const BookPlan& plan, std::size_t pageSize)
{
    return plan.contents && plan.pageCount > 0 ? contentsParts(plan, pageSize).size() : 0;
}

bool frameNoteFile(const std::string& path, std::string_view head, std::string_view tail, std::string& scratch,
                   std::uintmax_t* size, std::string* error)
{
    if (frameFileInPlace(pathFromUtf8(path), head, tail, scratch, size, error))
        return true;
    *error = path + ": " + *error;
    return false;
}

bool finishBook(const BookPlan& plan, std::size_t pageSize, std::size_t* notes, std::vector<CutNote>* cutNotes,
                std::string* error)
{
    const PageEncoder& encoder = *plan.encoder;
    const LinkTexts texts = fittedTexts(plan);
    const std::string continuation = plan.continuation.empty()
        ? std::string()
        : encoder.encode(escapeMarkup(encoder.fit(plan.continuation, nullptr)), nullptr) + std::string(kLineEnd);
    *notes = plan.pageCount;
    const bool framed = plan.links || plan.titles || !plan.declaration.empty() || !continuation.empty();
    std::string scratch;
    for (std::size_t i = 0; i < plan.pageCount; ++i) {
        const std::string name = pageName(plan, i);
        std::uintmax_t size = 0;
        if (framed) {
            if (plan.stopNow && plan.stopNow->load()) {
                *error = "the output was stopped";
                return false;
            }
            const PageFrame frame = frameOf(plan, i);
            const bool last = i + 1 == plan.pageCount;
            if (!frameNoteFile(plan.folder + name, plan.declaration + encoder.encode(frameHead(frame, texts), nullptr),
                               (last ? continuation : std::string()) + encoder.encode(frameTail(frame, texts), nullptr),
                               scratch, &size, error))
                return false;
        } else {
            std::error_code ec;
            size = std::filesystem::file_size(pathFromUtf8(plan.folder + name), ec);
        }
        if (size > static_cast<std::uintmax_t>(kReaderNoteBytes))
            cutNotes->push_back({name, size});
    }
    if (!plan.contents || plan.pageCount == 0)
        return true;
    const std::vector<std::vector<std::string>> parts = contentsParts(plan, pageSize);
    *notes += parts.size();
    return writeContents(plan, parts, error);
}

}  // namespace leafmill
