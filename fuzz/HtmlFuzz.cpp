// The HTML filter over arbitrary page bytes, whole and handed on in pieces.
#include "FuzzSupport.h"
#include "extract/markup/HtmlToText.h"

#include <string>
#include <vector>

namespace {

using leafmill::extract::Chapter;

constexpr std::size_t kLargestInPieces = 65536;

bool sameChapters(const std::vector<Chapter>& a, const std::vector<Chapter>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (a[k].title != b[k].title || a[k].offset != b[k].offset || a[k].level != b[k].level)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace leafmill;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::runExtractor(extract::htmlToText, bytes);
    // Pieces of a few bytes cut the markup, its lines and its headings anywhere; on the small inputs only, so
    // the large ones keep their time for the reading itself.
    if (size > kLargestInPieces)
        return 0;
    extract::Options options;
    options.codePage = &fuzz::codePageFor(static_cast<unsigned>(size));
    const extract::Result whole = extract::htmlToText(bytes, options);
    options.pieceSize = 1 + size % 13;
    std::string text;
    options.sink = [&text](std::string_view piece, std::span<const Chapter>) { text.append(piece); };
    const extract::Result pieces = extract::htmlToText(bytes, options);
    fuzz::check(text + pieces.text == whole.text, "the text handed on in pieces differs from the whole");
    fuzz::check(sameChapters(pieces.chapters, whole.chapters), "the chapters found in pieces differ");
    return 0;
}
