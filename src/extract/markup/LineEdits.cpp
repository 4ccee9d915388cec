#include "extract/markup/LineEdits.h"

#include "text/AsciiCase.h"

namespace leafmill::extract {

namespace {

bool endsTagName(char c)
{
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\f';
}

// Whether a break or paragraph start tag begins at line[pos] ('<').
bool isBreakTag(std::string_view line, std::size_t pos)
{
    for (std::string_view name : {std::string_view("br"), std::string_view("p")}) {
        const std::size_t after = pos + 1 + name.size();
        if (startsWithNoCase(line, pos + 1, name) && after < line.size() && endsTagName(line[after]))
            return true;
    }
    return false;
}

}  // namespace

std::string replaceBreakTags(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    std::size_t done = 0;
    // The next '>' at or after a tag start, looked up once for a run of tags
    // that lack one, so a line full of unclosed "<p " stays linear.
    std::size_t nextClose = 0;
    for (std::size_t lt = line.find('<'); lt != std::string_view::npos; lt = line.find('<', lt + 1)) {
        if (!isBreakTag(line, lt))
            continue;
        if (nextClose != std::string_view::npos && nextClose <= lt)
            nextClose = line.find('>', lt);
        if (nextClose == std::string_view::npos)
            break;  // the tag goes on on the next line; tag removal hides it
        out.append(line.substr(done, lt - done));
        out.append("\r\n");
        done = nextClose + 1;
        lt = nextClose;
    }
    out.append(line.substr(done));
    return out;
}

std::string squeezeSpaces(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    bool inRun = false;
    for (char c : line) {
        const bool space = c == ' ' || c == '\t';
        if (!space)
            out.push_back(c);
        else if (!inRun)
            out.push_back(' ');
        inRun = space;
    }
    return out;
}

std::string collapseLineBreaks(std::string_view text)
{
    constexpr std::string_view pair = "\r\n";
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = text.find(pair); at != std::string_view::npos; at = text.find(pair, done)) {
        out.append(text.substr(done, at - done + pair.size()));
        done = at + pair.size();
        while (text.substr(done, pair.size()) == pair)
            done += pair.size();
    }
    out.append(text.substr(done));
    return out;
}

}  // namespace leafmill::extract
