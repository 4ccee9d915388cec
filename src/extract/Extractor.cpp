#include "extract/Extractor.h"

#include <algorithm>

namespace leafmill::extract {

namespace {

void handOnUpTo(Result& result, const Options& options, std::size_t cut)
{
    if (cut == 0)
        return;
    const std::size_t end = result.handedOn + cut;
    const auto first = result.chapters.begin() + static_cast<std::ptrdiff_t>(result.chaptersHandedOn);
    const auto last = std::find_if(first, result.chapters.end(), [&](const Chapter& c) { return c.offset >= end; });
    options.sink(std::string_view(result.text).substr(0, cut), std::span<const Chapter>(first, last));
    result.chaptersHandedOn = static_cast<std::size_t>(last - result.chapters.begin());
    result.text.erase(0, cut);
    result.handedOn = end;
}

}  // namespace

void handOn(Result& result, const Options& options, bool all)
{
    if (options.sink && (all || result.text.size() >= options.pieceSize))
        handOnUpTo(result, options, all ? result.text.size() : result.text.rfind('\n') + 1);
}

void handOnBefore(Result& result, const Options& options, std::size_t limit)
{
    if (!options.sink || result.text.size() < options.pieceSize || limit <= result.handedOn)
        return;
    const std::size_t before = std::min(limit - result.handedOn, result.text.size());
    handOnUpTo(result, options, result.text.rfind('\n', before - 1) + 1);
}

}  // namespace leafmill::extract
