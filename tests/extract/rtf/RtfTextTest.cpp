// Documents (text.txt and a few built here) and the text they must give:
// structure, destinations, code pages and Unicode, damage and its warnings.
#include "../CaseFile.h"
#include "CaseName.h"
#include "RtfRead.h"

#include "extract/common/ChapterTitle.h"
#include "extract/rtf/RtfReader.h"

#include <algorithm>
#include <string>

using leafmill::test::readRtf;
using leafmill::test::rtfText;

namespace {

struct Read {
    std::string rtf, text;
    std::string warning = {};  // part of a warning it must give, or none at all
    std::string programPage = "windows-1252";
};

class RtfText : public testing::TestWithParam<Read> { };
constexpr leafmill::test::NamedByContent<&Read::rtf, &Read::text, &Read::warning, &Read::programPage> kNamed;

TEST_P(RtfText, IsWhatAReaderShows)
{
    const Read& c = GetParam();
    const auto r = readRtf(c.rtf, c.programPage);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, c.text) << c.rtf.substr(0, 100);
    if (c.warning.empty()) {
        EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
    } else {
        EXPECT_TRUE(std::any_of(r.warnings.begin(), r.warnings.end(), [&](const std::string& w) {
            return w.find(c.warning) != std::string::npos;
        })) << c.rtf.substr(0, 100);
    }
}

std::vector<Read> textCases()
{
    std::vector<Read> cases;
    for (const auto& f : leafmill::test::caseFile(LEAFMILL_TEST_DATA "/text.txt", 1))
        cases.push_back(
            {f.at(0), f.at(1), f.size() > 2 ? f[2] : "", f.size() > 3 && !f[3].empty() ? f[3] : "windows-1252"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Documents, RtfText, testing::ValuesIn(textCases()), kNamed);

const std::size_t kBound = leafmill::extract::rtf::RtfReader::maxGroupDepth;

// What text.txt cannot hold: line ends, bytes that are no UTF-8, deep nesting.
INSTANTIATE_TEST_SUITE_P(
    Built, RtfText,
    testing::Values(
        // Bare line ends are no text; a backslash before one is a paragraph (TextEdit).
        Read {"{\\rtf1 split\r\nword\\\nnext\\\r\nlast}", "splitword\r\nnext\r\nlast\r\n"},
        Read {std::string("{\\rtf1 a\\bin3 \0\xff}b}", 19), "ab\r\n"},
        Read {"{\\rtf1 \\'c0\xc0}", "\u0410\u0410\r\n", "", "windows-1251"},
        Read {std::string("{\\rtf1 x}\r\n \t\0\n", 15), "x\r\n"},
        Read {"{\\rtf1 start" + std::string(100000, '{') + "deep" + std::string(100000, '}') + " end}",
              "startdeep end\r\n", "nested deeper"},
        Read {"{\\rtf1" + std::string(kBound - 1, '{') + "x" + std::string(kBound - 1, '}') + "}", "x\r\n"},
        // A destination opened beyond the bound hides nothing after the flattened groups.
        Read {"{\\rtf1" + std::string(kBound + 50, '{') + "{\\*\\hidden secret}" + std::string(51, '}') + "shown"
                  + std::string(kBound - 1, '}') + "}",
              "shown\r\n", "nested deeper"}),
    kNamed);

TEST(RtfRefusal, WhatIsNotRtfIsRefusedWithAReason)
{
    for (const std::string_view bytes : {"", "plain text", " {\\rtf1 leading space}", "{\\rt", "{\\RTF1 x}"}) {
        const auto r = readRtf(bytes);
        EXPECT_FALSE(r.ok) << bytes;
        EXPECT_EQ(r.error, "not an RTF document") << bytes;
        EXPECT_TRUE(r.text.empty());
    }
    EXPECT_TRUE(readRtf("{\\rtf0 old writer}").ok);
}

TEST(RtfChapters, ParagraphsOfOutlineLevelsZeroToTwoStartChapters)
{
    // The style sheet's level is no paragraph's; a level lasts until \pard (in
    // its group: a list label's \pard ends with the label); the reference's
    // number, put in at the end, moves the chapters after it. A style with the
    // level only in the style sheet, or a built-in heading by name, gives it.
    const auto r = readRtf(
        "{\\rtf1{\\stylesheet{\\s1\\outlinelevel0 heading 1;}{\\s4\\outlinelevel1 Part;}{\\s5 Heading 2;}{\\s6 "
        "Body;}"
        "{\\s7 heading 1;}}Intro{\\super\\chftn}.\\par\\pard\\s1\\outlinelevel0{\\listtext\\pard\\plain 1.\\tab}"
        "The  First\\tab Part\\par Still a heading\\par\\pard Body.\\par\\pard\\outlinelevel2 Third level\\par"
        "\\pard\\outlinelevel3 Fourth level\\par\\pard\\outlinelevel1\\par\\pard\\s4 Styled\\par\\pard\\s5 "
        "Named\\par"
        "\\pard\\s6 Plain\\par\\pard\\s7 Top\\par}");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.text.starts_with("Intro1.\r\n1.\tThe  First\tPart\r\n")) << r.text;
    const std::vector<std::pair<std::string, int>> expected = {
        {"1. The First Part", 1}, {"Still a heading", 1}, {"Third level", 3}, {"Styled", 2}, {"Named", 2}, {"Top", 1}};
    ASSERT_EQ(r.chapters.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& chapter = r.chapters[i];
        EXPECT_EQ(std::pair(chapter.title, chapter.level), expected[i]);
        const std::size_t lineEnd = r.text.find("\r\n", chapter.offset);
        EXPECT_EQ(leafmill::extract::chapterTitle(r.text.substr(chapter.offset, lineEnd - chapter.offset)),
                  chapter.title);
    }
}

TEST(RtfProgress, RisesToOneHundredWithoutRepeats)
{
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 5000; ++i)
        rtf += "paragraph text of some length\\par ";
    std::vector<int> seen;
    leafmill::extract::Options options;
    options.progress = [&](int percent) { seen.push_back(percent); };
    ASSERT_TRUE(leafmill::extract::rtfToText(rtf + "}", options).ok);
    ASSERT_GT(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "a value was reported twice";
    EXPECT_EQ(seen.back(), 100);
    EXPECT_GE(seen.front(), 0);
}

}  // namespace
