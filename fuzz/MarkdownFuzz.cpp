// The Markdown reader over arbitrary bytes; parsed a few blocks at a time, a
// document reads as when it is parsed whole.
#include "FuzzSupport.h"
#include "extract/markdown/MarkdownToText.h"

#include <algorithm>
#include <cstdint>

namespace {

bool sameChapters(const leafmill::extract::Result& a, const leafmill::extract::Result& b)
{
    return std::ranges::equal(a.chapters, b.chapters, [](const auto& x, const auto& y) {
        return x.title == y.title && x.offset == y.offset && x.level == y.level;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace leafmill;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzz::runExtractor(extract::markdownToText, bytes);
    extract::Options options;
    options.codePage = &fuzz::codePageFor(static_cast<unsigned>(size));
    const extract::Result whole = extract::markdownToText(bytes, options, SIZE_MAX);
    const extract::Result runs = extract::markdownToText(bytes, options, size % 64);
    fuzz::check(whole.ok == runs.ok && whole.text == runs.text && sameChapters(whole, runs),
                "the runs of a document read otherwise than the whole");
    return 0;
}
