#pragma once

#include "FuzzSupport.h"

#include "extract/Extractor.h"
#include "text/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace leafmill::fuzz {

// The input's length picks the program's code page, so that the readers'
// 8-bit paths meet single-byte, double-byte and UTF-8 code pages while the
// bytes stay the document's own (a seed file is fed as it stands).
inline const CodePage& codePageFor(std::uint8_t selector)
{
    static const auto western = requireCodePage("windows-1252");
    static const auto chinese = requireCodePage("windows-936");
    static const auto utf8 = requireCodePage("UTF-8");
    switch (selector % 3) {
    case 0:
        return *western;
    case 1:
        return *chinese;
    default:
        return *utf8;
    }
}

// Runs an extractor and checks its contract: text is UTF-8, a failure says
// why, progress stays within 0..100.
inline void runExtractor(extract::Extractor extractor, const std::uint8_t* data, std::size_t size)
{
    extract::Options options;
    options.codePage = &codePageFor(static_cast<std::uint8_t>(size % 3));
    options.progress = [](int value) { check(value >= 0 && value <= 100, "progress value outside 0..100"); };
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const extract::Result result = extractor(bytes, options);
    if (result.ok)
        check(isUtf8(result.text), "extracted text is not UTF-8");
    else
        check(!result.error.empty(), "a failure without a reason");
}

}  // namespace leafmill::fuzz
