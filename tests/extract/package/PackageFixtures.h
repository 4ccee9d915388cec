#pragma once

#include "TestSupport.h"

#include "extract/Extractor.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace leafmill::test {

// A document built in the test and what its reader must make of it: the
// whole text and how many warnings, or, when `refusal` is set, a refusal
// whose reason holds it.
struct ReadCase {
    std::string what, bytes, text;
    std::string refusal = {};
    std::size_t warnings = 0;
};

inline void expectRead(extract::Extractor extractor, const ReadCase& c)
{
    const extract::Result r = extractor(c.bytes, {});
    if (c.refusal.empty()) {
        ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ(r.warnings.size(), c.warnings) << c.what << (r.warnings.empty() ? "" : ": " + r.warnings[0]);
    } else {
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.refusal), std::string::npos) << c.what << ": " << r.error;
    }
}

inline std::string repeated(std::string_view unit, int times)
{
    std::string text;
    for (int k = 0; k < times; ++k)
        text += unit;
    return text;
}

// The chapters as (title, offset, level), for comparing in one go.
inline std::vector<std::tuple<std::string, std::size_t, int>> chapterList(const extract::Result& r)
{
    std::vector<std::tuple<std::string, std::size_t, int>> chapters;
    for (const auto& chapter : r.chapters)
        chapters.emplace_back(chapter.title, chapter.offset, chapter.level);
    return chapters;
}

}  // namespace leafmill::test
