#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract {

// The edits that the HTML filter makes to a line, each in one left-to-right
// pass and none of them tied to state kept across lines.

// Every break tag and paragraph start tag, in any letter case and with or
// without a slash or attributes (<br>, <BR clear=all>, <br/>, <p class="x">),
// becomes CR LF. The paragraph end tag is not one of them.
std::string replaceBreakTags(std::string_view line);

// Every run of spaces and TABs becomes one space.
std::string squeezeSpaces(std::string_view line);

// Every run of CR LF pairs becomes one pair.
std::string collapseLineBreaks(std::string_view text);

// A line that produces nothing: empty or exactly one space.
inline bool isBlank(std::string_view line)
{
    return line.empty() || line == " ";
}

}  // namespace leafmill::extract
