#include "RtfRead.h"

#include "TestSupport.h"
#include "extract/rtf/RtfReader.h"

#include <algorithm>
#include <string>
#include <vector>

using leafmill::test::readRtf;

namespace {

bool hasWarning(const leafmill::extract::Result& r, std::string_view part)
{
    return std::any_of(r.warnings.begin(), r.warnings.end(),
                       [&](const std::string& w) { return w.find(part) != std::string::npos; });
}

}  // namespace

TEST(RtfRobustness, WhatIsNotRtfIsRefusedWithAReason)
{
    for (const std::string_view bytes : {"", "plain text", " {\\rtf1 leading space}", "{\\rt", "{\\RTF1 x}"}) {
        const auto r = readRtf(bytes);
        EXPECT_FALSE(r.ok) << bytes;
        EXPECT_EQ(r.error, "not an RTF document") << bytes;
        EXPECT_TRUE(r.text.empty());
    }
    EXPECT_TRUE(readRtf("{\\rtf0 old writer}").ok);
}

TEST(RtfRobustness, DeepNestingIsBoundedAndKeepsTheText)
{
    constexpr int depth = 100000;
    const std::string rtf = "{\\rtf1 start" + std::string(depth, '{') + "deep" + std::string(depth, '}') + " end}";
    const auto r = readRtf(rtf);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "startdeep end\r\n");
    EXPECT_TRUE(hasWarning(r, "nested deeper"));

    // Below the bound nothing is flattened.
    const std::size_t inside = leafmill::extract::rtf::RtfReader::maxGroupDepth - 1;
    const std::string shallow = "{\\rtf1" + std::string(inside, '{') + "x" + std::string(inside, '}') + "}";
    const auto s = readRtf(shallow);
    EXPECT_EQ(s.text, "x\r\n");
    EXPECT_TRUE(s.warnings.empty());
}

TEST(RtfRobustness, FlattenedGroupsStillCloseTheirDestinations)
{
    const std::size_t bound = leafmill::extract::rtf::RtfReader::maxGroupDepth;
    // A skipped destination opened beyond the bound does not hide what follows the flattened groups.
    const std::string rtf = "{\\rtf1" + std::string(bound + 50, '{') + "{\\*\\hidden secret}" + std::string(51, '}')
        + "shown" + std::string(bound - 1, '}') + "}";
    const auto r = readRtf(rtf);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "shown\r\n");
}

TEST(RtfRobustness, UnbalancedGroupsAreReadWithAWarning)
{
    const auto open = readRtf("{\\rtf1 never {\\b closed\\par");
    ASSERT_TRUE(open.ok);
    EXPECT_EQ(open.text, "never closed\r\n\r\n");
    EXPECT_TRUE(hasWarning(open, "unclosed groups"));

    const auto extra = readRtf("{\\rtf1 done\\par}}{after the end}");
    ASSERT_TRUE(extra.ok);
    EXPECT_EQ(extra.text, "done\r\n\r\n");
    EXPECT_TRUE(hasWarning(extra, "closing brace"));

    // Trailing line ends after the document are no reason to warn.
    EXPECT_TRUE(readRtf("{\\rtf1 x}\r\n\r\n").warnings.empty());
}

TEST(RtfRobustness, TruncatedDocumentsEndCleanly)
{
    for (const std::string_view bytes :
         {"{\\rtf1 a\\", "{\\rtf1 a\\'", "{\\rtf1 a\\'4", "{\\rtf1 a\\u", "{\\rtf1 a\\u-", "{\\rtf1\\ansicpg932 a\\'82",
          "{\\rtf1 a\\bin99 xyz", "{\\rtf1 a\\bin2147483647 ", "{\\rtf1 a\\bin99999999999999999999 z",
          "{\\rtf1 a\\uc2147483647 \\u65 bc{d}"}) {
        const auto r = readRtf(bytes);
        EXPECT_TRUE(r.ok) << bytes;
        EXPECT_TRUE(r.text.starts_with("a")) << bytes;
        EXPECT_TRUE(r.text.ends_with("\r\n")) << bytes;
        EXPECT_FALSE(r.warnings.empty()) << bytes;
    }
    EXPECT_TRUE(hasWarning(readRtf("{\\rtf1 a\\bin99 xyz}"), "binary data"));
}

TEST(RtfRobustness, OutOfRangeNumbersDoNotUpsetTheReader)
{
    const auto r = readRtf("{\\rtf1\\ansicpg-5\\deff-3{\\fonttbl{\\f-2\\fcharset-1 A;}{\\f99999999\\cpg-7 B;}}"
                           "\\f-2 a\\f99999999 b\\uc-4 \\u65 c\\'41}");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "abAcA\r\n");
}

TEST(RtfRobustness, ProgressRisesToOneHundred)
{
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i)
        rtf += "paragraph text of some length\\par ";
    rtf += "}";
    std::vector<int> seen;
    leafmill::extract::Options options;
    options.progress = [&](int percent) { seen.push_back(percent); };
    const auto r = leafmill::extract::rtfToText(rtf, options);
    ASSERT_TRUE(r.ok);
    ASSERT_GT(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "a value was reported twice";
    EXPECT_EQ(seen.back(), 100);
    EXPECT_GE(seen.front(), 0);
}
