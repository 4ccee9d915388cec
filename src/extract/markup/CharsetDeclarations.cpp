#include "extract/markup/CharsetDeclarations.h"

#include "text/AsciiCase.h"

#include <algorithm>

namespace leafmill::extract {

namespace {

// A <meta> tag that starts inside the window may end a little past it.
constexpr std::size_t kLongestMetaTag = 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool endsName(char c)
{
    return isSpace(c) || c == '"' || c == '\'' || c == ';' || c == '>' || c == '/' || c == ',';
}

// The value after each "charset" followed by '=' in the attributes of one tag.
void collectCharsets(std::string_view lowerTag, std::vector<std::string>& names)
{
    constexpr std::string_view key = "charset";
    for (std::size_t at = lowerTag.find(key); at != std::string_view::npos; at = lowerTag.find(key, at + 1)) {
        std::size_t pos = at + key.size();
        while (pos < lowerTag.size() && isSpace(lowerTag[pos]))
            ++pos;
        if (pos >= lowerTag.size() || lowerTag[pos] != '=')
            continue;
        ++pos;
        while (pos < lowerTag.size() && (isSpace(lowerTag[pos]) || lowerTag[pos] == '"' || lowerTag[pos] == '\''))
            ++pos;
        const std::size_t start = pos;
        while (pos < lowerTag.size() && !endsName(lowerTag[pos]))
            ++pos;
        if (pos > start)
            names.emplace_back(lowerTag.substr(start, pos - start));
    }
}

}  // namespace

std::vector<std::string> declaredCharsets(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, std::min(bytes.size(), kCharsetDeclarationWindow + kLongestMetaTag));
    std::vector<std::string> names;
    for (std::size_t meta = findNoCase(head, "<meta");
         meta != std::string_view::npos && meta < kCharsetDeclarationWindow;
         meta = findNoCase(head, "<meta", meta + 1)) {
        const std::size_t attributes = meta + 5;
        if (attributes < head.size() && !isSpace(head[attributes]) && head[attributes] != '/')
            continue;  // another tag name, such as <metadata>
        const std::size_t end = std::min(head.find('>', attributes), head.size());
        collectCharsets(asciiLowered(head.substr(attributes, end - attributes)), names);
    }
    return names;
}

}  // namespace leafmill::extract
