#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace leafmill::extract::doc {

class WordDocument;

// The character ranges of the main document's text boxes, in the order of
// their story, each without the mark that closes the box. Boxes Word keeps
// for reuse (deleted ones) are left out. Nothing when the document has no
// text-box story; an unreadable box table gives the whole story as one box.
std::vector<std::pair<std::uint64_t, std::uint64_t>> textBoxRanges(const WordDocument& document);

}  // namespace leafmill::extract::doc
