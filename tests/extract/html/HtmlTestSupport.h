#pragma once

#include "extract/markup/HtmlToText.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

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

inline std::string textOf(std::string_view page, const char* pageName = "windows-1252")
{
    Result result = convert(page, pageName);
    EXPECT_TRUE(result.ok) << result.error;
    return result.text;
}

}  // namespace leafmill::extract::test
