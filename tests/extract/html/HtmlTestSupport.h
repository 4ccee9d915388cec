#pragma once

#include "extract/html/HtmlToText.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::test {

inline std::shared_ptr<const CodePage> codePage(const char* name = "windows-1252")
{
    auto page = CodePage::open(name);
    EXPECT_TRUE(page) << name;
    return page;
}

// What the filter writes for `page`, read with no declared character set in
// the code page `pageName`.
inline Result convert(std::string_view page, const char* pageName = "windows-1252")
{
    const auto cp = codePage(pageName);
    Options options;
    options.codePage = cp.get();
    return htmlToText(page, options);
}

inline std::string textOf(std::string_view page, const char* pageName = "windows-1252")
{
    Result result = convert(page, pageName);
    EXPECT_TRUE(result.ok) << result.error;
    return result.text;
}

// The percentages the filter reports, in order.
inline std::vector<int> progressOf(std::string_view page, const char* pageName = "windows-1252")
{
    const auto cp = codePage(pageName);
    std::vector<int> reported;
    Options options;
    options.codePage = cp.get();
    options.progress = [&](int percent) { reported.push_back(percent); };
    htmlToText(page, options);
    return reported;
}

} // namespace leafmill::extract::test
