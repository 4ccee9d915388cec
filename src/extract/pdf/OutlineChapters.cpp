#include "extract/pdf/OutlineChapters.h"

#include "text/AsciiCase.h"

#include <optional>

namespace leafmill::extract::pdf {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Title words separated by single blanks, without blanks around.
std::string normalised(std::string_view title)
{
    std::string out;
    for (char c : title) {
        if (isBlank(c)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += asciiLower(c);
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// Whether the line at `at` starts with the title; a run of blanks in the
// text matches one blank of the title.
bool lineStartsWith(std::string_view text, std::size_t at, std::string_view title)
{
    std::size_t i = at;
    for (char c : title) {
        if (c == ' ') {
            if (i >= text.size() || !isBlank(text[i]))
                return false;
            while (i < text.size() && isBlank(text[i]))
                ++i;
        } else if (i >= text.size() || asciiLower(text[i]) != c) {
            return false;
        } else {
            ++i;
        }
    }
    return true;
}

std::optional<std::size_t> findLineStart(std::string_view text, std::size_t from, std::string_view title)
{
    for (std::size_t at = from; at < text.size();) {
        if (lineStartsWith(text, at, title))
            return at;
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::vector<Chapter> locateChapters(const std::vector<OutlineEntry>& outline, std::string_view text,
                                    std::vector<std::string>& warnings)
{
    std::vector<Chapter> chapters;
    std::vector<std::string> missing;
    std::size_t from = 0;
    for (const OutlineEntry& entry : outline) {
        const std::string title = normalised(entry.title);
        if (title.empty())
            continue;
        const std::optional<std::size_t> at = findLineStart(text, from, title);
        if (!at) {
            missing.push_back(entry.title);
            continue;
        }
        chapters.push_back({entry.title, *at, entry.level});
        from = *at + 1;
    }
    if (!missing.empty()) {
        std::string warning = std::to_string(missing.size()) + " bookmark(s) name no heading found in the text:";
        for (std::size_t i = 0; i < missing.size() && i < 3; ++i)
            warning += (i == 0 ? " \"" : ", \"") + missing[i] + '"';
        warnings.push_back(missing.size() > 3 ? warning + ", ..." : warning);
    }
    return chapters;
}

}  // namespace leafmill::extract::pdf
