#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract {

// A heading's text as a chapter's title: on one line, runs of blanks, tabs
// and line ends as one space, cut to a sensible length on a character start.
std::string chapterTitle(std::string_view heading);

}  // namespace leafmill::extract
