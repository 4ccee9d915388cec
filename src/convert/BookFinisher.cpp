#include "convert/BookFinisher.h"

#include "convert/InputFile.h"
#include "convert/OutputFile.h"
#include "io/FileAccess.h"
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

std::string padded(std::size_t value, std::size_t width)
{
    std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

// The chapter's name cut to whole characters within the title's room.
std::string shortTitle(const PageEncoder& encoder, const std::string& title)
{
    const std::string bytes = encoder.encode(title, nullptr);
    if (bytes.size() <= kChapterTitleBytes)
        return title;
    const std::size_t end = encoder.codePage().boundaryAtOrBefore(bytes, kChapterTitleBytes);
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

PageFrame frameOf(const BookPlan& plan, std::size_t index)
{
    PageFrame frame;
    if (plan.titles)
        frame.title = pageTitle(plan, index);
    if (plan.links && index > 0)
        frame.previous = plan.pageNames[index - 1];
    if (plan.links && index + 1 < plan.pageNames.size())
        frame.next = plan.pageNames[index + 1];
    return frame;
}

// Writes the file under a passing name and puts it in place, so a failure
// leaves the old file whole.
bool replaceBookFile(const std::string& path, std::string_view bytes, std::string* error)
{
    const std::string passing = path + ".part";
    OutputFile file;
    if (!file.open(pathFromUtf8(passing), OutputFile::Mode::Fresh, error) || !file.write(bytes, error)
        || !file.close(error)) {
        std::error_code ignored;
        std::filesystem::remove(pathFromUtf8(passing), ignored);
        *error = path + ": " + *error;
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(pathFromUtf8(passing), pathFromUtf8(path), ec);
    if (ec) {
        std::filesystem::remove(pathFromUtf8(passing), ec);
        *error = path + ": " + ec.message();
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
        for (std::size_t page = kContentsStride; page < plan.pageNames.size(); page += kContentsStride)
            entries.push_back({plan.bookName + " " + std::to_string(page + 1), page});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ContentsEntry& a, const ContentsEntry& b) { return a.page < b.page; });
    return entries;
}

// The contents, as many notes as its lines need, each linking to the next.
bool writeContents(const BookPlan& plan, std::size_t pageSize, std::string* error)
{
    const std::vector<ContentsEntry> entries = contentsEntries(plan);
    const PageEncoder& encoder = *plan.encoder;
    std::vector<std::vector<std::string>> parts(1);
    std::size_t used = 0;
    // Head and tail of a contents note at their longest.
    PageFrame worst;
    worst.title = plan.contentsTitle + " " + padded(0, kNumberDigits);
    worst.next = contentsFileName(static_cast<int>(entries.size()) + 1);
    const std::size_t frame
        = encoder.encode(frameHead(worst, plan.texts) + frameTail(worst, plan.texts), nullptr).size() + kLineEnd.size();
    for (const ContentsEntry& entry : entries) {
        const std::string line
            = encoder.encode(noteLink(plan.pageNames[entry.page], shortTitle(encoder, entry.title)), nullptr)
            + std::string(kLineEnd);
        if (used > 0 && frame + used + line.size() > pageSize) {
            parts.emplace_back();
            used = 0;
        }
        parts.back().push_back(line);
        used += line.size();
    }
    for (std::size_t part = 0; part < parts.size(); ++part) {
        PageFrame note;
        note.title = parts.size() == 1 ? plan.contentsTitle : plan.contentsTitle + " " + std::to_string(part + 1);
        if (part + 1 < parts.size())
            note.next = contentsFileName(static_cast<int>(part) + 1);
        std::string bytes = encoder.encode(frameHead(note, plan.texts), nullptr);
        for (const std::string& line : parts[part])
            bytes += line;
        bytes += encoder.encode(frameTail(note, plan.texts), nullptr);
        if (!replaceBookFile(plan.folder + contentsFileName(static_cast<int>(part)), bytes, error))
            return false;
    }
    return true;
}

}  // namespace

std::string contentsFileName(int part)
{
    // "00 " sorts before the letters and digits page names begin with.
    return part == 0 ? "00 Contents.txt" : "00 Contents " + std::to_string(part + 1) + ".txt";
}

std::string pageTitle(const BookPlan& plan, std::size_t index)
{
    const ChapterStart* chapter = chapterOf(plan, index);
    const std::string name = chapter ? shortTitle(*plan.encoder, chapter->title) : plan.bookName;
    const std::size_t width = std::to_string(plan.pageNames.size()).size();
    return name + " \xE2\x80\x93 " + padded(index + 1, width) + "/" + std::to_string(plan.pageNames.size());
}

std::size_t markupReserve(const BookPlan& plan, std::size_t longestPageName)
{
    PageFrame worst;
    if (plan.titles) {
        std::string longest = plan.bookName;
        for (const ChapterStart& chapter : plan.chapters)
            if (plan.encoder->encode(shortTitle(*plan.encoder, chapter.title), nullptr).size() > longest.size())
                longest = shortTitle(*plan.encoder, chapter.title);
        worst.title = longest + " \xE2\x80\x93 " + padded(0, kNumberDigits) + "/" + padded(0, kNumberDigits);
    }
    if (plan.links) {
        worst.previous = std::string(longestPageName, 'x');
        worst.next = worst.previous;
    }
    return plan.encoder->encode(frameHead(worst, plan.texts) + frameTail(worst, plan.texts), nullptr).size();
}

bool finishBook(const BookPlan& plan, std::size_t pageSize, std::string* error)
{
    if (plan.links || plan.titles) {
        for (std::size_t i = 0; i < plan.pageNames.size(); ++i) {
            if (plan.stopNow && plan.stopNow->load()) {
                *error = "the output was stopped";
                return false;
            }
            const std::string path = plan.folder + plan.pageNames[i];
            std::string body;
            if (readWholeFile(pathFromUtf8(path), body, error) != ReadResult::Ok) {
                *error = path + ": " + *error;
                return false;
            }
            const PageFrame frame = frameOf(plan, i);
            const std::string bytes = plan.encoder->encode(frameHead(frame, plan.texts), nullptr) + body
                + plan.encoder->encode(frameTail(frame, plan.texts), nullptr);
            if (!replaceBookFile(path, bytes, error))
                return false;
        }
    }
    return !plan.contents || plan.pageNames.empty() || writeContents(plan, pageSize, error);
}

}  // namespace leafmill
