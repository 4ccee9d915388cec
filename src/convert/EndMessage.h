#pragma once

#include "convert/OutputRun.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class LanguageTable;

// Every occurrence of `marker` (exact case) replaced by `value`.
std::string replaceAll(std::string text, std::string_view marker, std::string_view value);

// The message at the end of a run: stopped, or finished with the book's name,
// then the sources that gave no pages because of a failure, each with why.
std::string endMessage(const LanguageTable& language, bool stopped, const std::string& bookName,
    const std::vector<SourceOutcome>& sources);

// One line of the failure list: the source and the reason in the language.
std::string failureLine(const LanguageTable& language, const SourceOutcome& source);

} // namespace leafmill
