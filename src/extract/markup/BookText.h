#pragma once

#include "extract/Extractor.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace leafmill::extract::epub {

struct TocEntry;

// A document of a book by its part name; nothing when the book lacks it.
using PartReader = std::function<std::optional<std::string>(const std::string& part)>;

// The text of a book made of XHTML documents (an EPUB's, a Kindle book's):
// those of `spine` in order through XhtmlText, each entry of `toc` starting
// where its target does. Documents that cannot be read, or break off, are
// warnings added to `warnings`. Throws PackageError when none of them can be
// read or they hold no text.
Result bookText(const PartReader& read, const std::vector<std::string>& spine, const std::deque<TocEntry>& toc,
                std::vector<std::string> warnings, const Options& options);

}  // namespace leafmill::extract::epub
