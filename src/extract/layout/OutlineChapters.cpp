#include "extract/layout/OutlineChapters.h"

#include "extract/layout/Scripts.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace leafmill::extract::layout {

namespace {

// How many lines a heading may be broken over.
constexpr std::size_t headingLines = 3;
// How many more letters and digits than the title a heading line may hold
// besides a numbering the title leaves out ("CHAPTER ONE" for "Chapter 1").
constexpr std::size_t extraLetters = 8;

// The words of a text as their letters and digits, case folded: "2.1
// Data-Flow" gives "2", "1", "data", "flow".
std::vector<std::string> keyWords(std::string_view text)
{
    std::vector<std::string> words(1);
    for (int32_t i = 0; i < static_cast<int32_t>(text.size());) {
        UChar32 c = 0;
        U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
        if (c < 0 || !u_isalnum(c)) {
            if (!words.back().empty())
                words.emplace_back();
            continue;
        }
        const UChar32 folded = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        char bytes[U8_MAX_LENGTH];
        int32_t length = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(bytes), length, folded);
        words.back().append(bytes, static_cast<std::size_t>(length));
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

std::string joined(const std::vector<std::string>& words, std::size_t from = 0)
{
    std::string key;
    for (std::size_t i = from; i < words.size(); ++i)
        key += words[i];
    return key;
}

// A number as headings write them: digits, a Roman numeral, a single letter.
bool isNumbering(const std::string& word)
{
    if (codePointCount(word) == 1)
        return true;
    if (word.find_first_not_of("0123456789") == std::string::npos)
        return true;
    return word.size() <= 7 && word.find_first_not_of("ivxlcdm") == std::string::npos;
}

struct Title {
    std::string key;  // every letter and digit
    std::string core;  // without the numbering in front ("Chapter 1:", "2.1", "IV.")
};

Title titleOf(std::string_view text)
{
    const std::vector<std::string> words = keyWords(text);
    std::size_t from = 0;
    while (from + 1 < words.size() && (isNumbering(words[from]) || isNumbering(words[from + 1])))
        ++from;
    if (from + 1 == words.size() && isNumbering(words[from]) && from > 0)
        from = 0;  // the title is a number and nothing else
    return {joined(words), joined(words, from)};
}

struct Place {
    std::size_t page, line;
};

class Placer {
public:
    Placer(std::size_t pageCount, const std::function<std::vector<Line>(std::size_t page)>& linesOf)
        : linesOf_(linesOf)
        , keys_(pageCount)
    {
    }

    // The first line from `from` on the page (or, with `wholeText`, on any
    // page after it) that starts a heading with the title.
    std::optional<Place> find(const Title& title, Place from, bool wholeText)
    {
        if (title.key.empty())
            return std::nullopt;
        for (std::size_t page = from.page; page < keys_.size(); ++page) {
            for (std::size_t line = page == from.page ? from.line : 0; line < linesOn(page).size(); ++line)
                if (startsHeading(title, page, line))
                    return Place {page, line};
            if (!wholeText)
                break;
        }
        return std::nullopt;
    }

    // The first line, in reading order, that does not end above `top`.
    std::size_t firstBelow(std::size_t page, const std::optional<double>& top)
    {
        const std::vector<Line>& lines = linesOn(page);
        std::size_t line = 0;
        while (top && line < lines.size() && lines[line].rotation == 0 && lines[line].bottom <= *top)
            ++line;
        return line;
    }

private:
    // A heading broken over lines keeps its type size and goes down the page.
    bool continuesHeading(const Line& above, const Line& below) const
    {
        return below.rotation == above.rotation && below.top > above.top
            && std::abs(below.height() - above.height()) <= 0.2 * std::max(below.height(), above.height());
    }

    bool startsHeading(const Title& title, std::size_t page, std::size_t line)
    {
        const std::vector<std::string>& keys = keysOf(page);
        const std::vector<Line>& lines = linesOn(page);
        std::string text;
        for (std::size_t k = line; k < keys.size() && k < line + headingLines; ++k) {
            if (k > line && !continuesHeading(lines[k - 1], lines[k]))
                return false;
            text += keys[k];
            if (text.size() >= title.core.size() && text.find(title.core) != std::string::npos)
                return text.size() - title.core.size() <= title.key.size() - title.core.size() + extraLetters;
            if (text.size() > title.key.size() + extraLetters)
                return false;
        }
        return false;
    }

    const std::vector<std::string>& keysOf(std::size_t page)
    {
        std::vector<std::string>& keys = keys_[page];
        if (keys.empty())
            for (const Line& line : linesOn(page))
                keys.push_back(joined(keyWords(line.text)));
        return keys;
    }

    // The page's lines, the last page asked for kept at hand.
    const std::vector<Line>& linesOn(std::size_t page)
    {
        if (page != linesPage_) {
            lines_ = linesOf_(page);
            linesPage_ = page;
        }
        return lines_;
    }

    const std::function<std::vector<Line>(std::size_t page)>& linesOf_;
    std::vector<std::vector<std::string>> keys_;
    std::size_t linesPage_ = SIZE_MAX;
    std::vector<Line> lines_;
};

std::string missingWarning(const std::vector<std::string>& missing)
{
    std::string warning = std::to_string(missing.size()) + " bookmark(s) name no heading found in the text:";
    for (std::size_t i = 0; i < missing.size() && i < 3; ++i)
        warning += (i == 0 ? " \"" : ", \"") + missing[i] + '"';
    return missing.size() > 3 ? warning + ", ..." : warning;
}

}  // namespace

std::vector<Chapter> placeBookmarks(const std::vector<OutlineEntry>& outline, std::size_t pageCount,
                                    const std::function<std::vector<Line>(std::size_t page)>& linesOf,
                                    std::vector<Anchor>& anchors, std::vector<std::string>& warnings)
{
    std::vector<Chapter> chapters;
    std::vector<std::string> missing;
    Placer placer(pageCount, linesOf);
    Place after {0, 0};
    for (const OutlineEntry& entry : outline) {
        const Title title = titleOf(entry.title);
        // A title of signs alone ("*", "§") still names a place, but no line.
        if (entry.title.find_first_not_of(" \t") == std::string::npos)
            continue;
        std::optional<Place> place;
        if (entry.page >= 0 && static_cast<std::size_t>(entry.page) < pageCount) {
            const auto page = static_cast<std::size_t>(entry.page);
            const Place destination {page, placer.firstBelow(page, entry.top)};
            place = placer.find(title, destination, false).value_or(destination);
        } else {
            place = placer.find(title, after, true);
        }
        if (!place) {
            missing.push_back(entry.title);
            continue;
        }
        chapters.push_back({entry.title, 0, entry.level});
        anchors.push_back({place->page, place->line});
        after = {place->page, place->line + 1};
    }
    if (!missing.empty())
        warnings.push_back(missingWarning(missing));
    return chapters;
}

std::vector<Chapter> placeBookmarks(const std::vector<OutlineEntry>& outline,
                                    const std::vector<std::vector<Line>>& pages, std::vector<Anchor>& anchors,
                                    std::vector<std::string>& warnings)
{
    return placeBookmarks(
        outline, pages.size(), [&](std::size_t page) { return pages[page]; }, anchors, warnings);
}

}  // namespace leafmill::extract::layout
