#pragma once

#include "extract/markup/HtmlToText.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::test {

// The filter's result for `page` with the program's code page `pageName`;
// the percentages it reports go to `progress` when given.
inline Result convert(std::string_view page, const char* pageName = "windows-1252",
                      std::vector<int>* progress = nullptr)
{
    const auto cp = CodePage::open(pageName);
    EXPECT_TRUE(cp) << pageName;
    Options options;
    options.codePage = cp.get();
    if (progress)
        options.progress = [progress](int percent) { progress->push_back(percent); };
    return htmlToText(page, options);
}

// The same handed on to a sink in pieces of `pieceSize` bytes (the markup is
// decoded in pieces of that size too), gathered again.
inline Result convertInPieces(std::string_view page, std::size_t pieceSize, const char* pageName = "windows-1252")
{
    const auto cp = CodePage::open(pageName);
    Options options;
    options.codePage = cp.get();
    options.pieceSize = pieceSize;
    std::string text;
    options.sink = [&](std::string_view piece, std::span<const Chapter> starting) {
        EXPECT_TRUE(std::all_of(starting.begin(), starting.end(), [&](const Chapter& c) {
            return c.offset >= text.size() && c.offset < text.size() + piece.size();
        }));
        text.append(piece);
    };
    Result result = htmlToText(page, options);
    text.append(result.text);
    result.text = std::move(text);
    return result;
}

inline std::string textOf(std::string_view page, const char* pageName = "windows-1252")
{
    Result result = convert(page, pageName);
    EXPECT_TRUE(result.ok) << result.error;
    return result.text;
}

}  // namespace leafmill::extract::test
