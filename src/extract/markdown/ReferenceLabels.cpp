#include "extract/markdown/ReferenceLabels.h"

#include <algorithm>
#include <cctype>

namespace leafmill::extract {

namespace {

// CommonMark allows no longer label.
constexpr std::size_t kLongestLabel = 1000;

// The text between brackets on one line: each line end and the container
// marks and indentation after it (">", blanks) are one blank.
std::string oneLine(std::string_view text)
{
    std::string line;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\r' && text[at] != '\n') {
            line += text[at];
            continue;
        }
        while (at + 1 < text.size() && std::string_view("\r\n \t>").find(text[at + 1]) != std::string_view::npos)
            ++at;
        line += ' ';
    }
    return line;
}

// Calls `each` with each span between an unescaped "[" and the next
// unescaped "]" without another bracket between, and the offset after it.
template <typename Each> void forEachBracketed(std::string_view text, Each&& each)
{
    std::size_t open = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\')
            ++at;
        else if (text[at] == '[')
            open = at;
        else if (text[at] == ']' && open != std::string_view::npos) {
            each(text.substr(open + 1, at - open - 1), at + 1);
            open = std::string_view::npos;
        }
    }
}

bool isAscii(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Labels match when they are the same once case folded, with their runs of
// white space one blank. Keys that such labels always share: for a label in
// ASCII, its characters but white space, letters in lower case; for any, its
// ASCII digits and punctuation alone, which case folding never makes or
// changes (it makes ASCII letters of a few others: "ß" is "ss").
std::string asciiKey(std::string_view label)
{
    std::string key;
    for (const char c : label)
        if (!std::isspace(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::string coarseKey(std::string_view label)
{
    std::string key;
    for (const char c : label)
        if (std::isdigit(static_cast<unsigned char>(c)) || std::ispunct(static_cast<unsigned char>(c)))
            key += c;
    return key;
}

void addFound(const std::unordered_map<std::string, std::vector<std::size_t>>& index, const std::string& key,
              std::vector<std::size_t>& found)
{
    if (const auto at = index.find(key); at != index.end())
        found.insert(found.end(), at->second.begin(), at->second.end());
}

}  // namespace

std::vector<std::string> ReferenceLabels::definable(std::string_view text)
{
    std::vector<std::string> labels;
    forEachBracketed(text, [&](std::string_view span, std::size_t after) {
        if (after < text.size() && text[after] == ':')
            if (std::string label = oneLine(span); label.size() <= kLongestLabel)
                labels.push_back(std::move(label));
    });
    return labels;
}

void ReferenceLabels::add(std::string label)
{
    if (!known_.insert(label).second)
        return;
    const std::size_t index = labels_.size();
    allByCoarseKey_[coarseKey(label)].push_back(index);
    if (isAscii(label))
        asciiByKey_[asciiKey(label)].push_back(index);
    else
        otherByCoarseKey_[coarseKey(label)].push_back(index);
    labels_.push_back(std::move(label));
}

std::string ReferenceLabels::definitionsFor(std::string_view text) const
{
    if (labels_.empty())
        return {};
    std::vector<std::size_t> found;
    forEachBracketed(text, [&](std::string_view span, std::size_t) {
        const std::string label = oneLine(span);
        if (label.size() > kLongestLabel)
            return;
        if (!isAscii(label)) {
            addFound(allByCoarseKey_, coarseKey(label), found);
            return;
        }
        addFound(asciiByKey_, asciiKey(label), found);
        addFound(otherByCoarseKey_, coarseKey(label), found);
    });
    std::ranges::sort(found);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::string definitions;
    for (const std::size_t index : found)
        definitions += "[" + labels_[index] + "]: #\n";
    return definitions.empty() ? definitions : definitions + "\n";
}

}  // namespace leafmill::extract
