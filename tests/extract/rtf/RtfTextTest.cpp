// Documents and the text they must give: structure, destinations, code
// pages and Unicode, damage and its warnings.
#include "RtfRead.h"

#include "extract/ChapterTitle.h"
#include "extract/rtf/RtfReader.h"

#include <algorithm>
#include <string>

using leafmill::test::readRtf;
using leafmill::test::rtfText;

namespace {

struct Read {
    std::string rtf, text;
    const char* warning = "";  // part of a warning it must give, or none at all
    const char* programPage = "windows-1252";
};

class RtfText : public testing::TestWithParam<Read> { };

TEST_P(RtfText, IsWhatAReaderShows)
{
    const Read& c = GetParam();
    const auto r = readRtf(c.rtf, c.programPage);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, c.text) << c.rtf.substr(0, 100);
    if (*c.warning == '\0') {
        EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
    } else {
        EXPECT_TRUE(std::any_of(r.warnings.begin(), r.warnings.end(), [&](const std::string& w) {
            return w.find(c.warning) != std::string::npos;
        })) << c.rtf.substr(0, 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Structure, RtfText,
    testing::Values(
        Read {"{\\rtf1\\ansi one\\par two\\par three\\par}", "one\r\ntwo\r\nthree\r\n\r\n"},
        Read {"{\\rtf1 a\\line b\\tab c\\page d\\sect e}", "a\r\nb\tc\r\nd\r\ne\r\n"},
        // Bare line ends are no text; a backslash before one is a paragraph (TextEdit).
        Read {"{\\rtf1 split\r\nword\\\nnext\\\r\nlast}", "splitword\r\nnext\r\nlast\r\n"},
        Read {"{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl A1\\cell A2\\cell\\row\\trowd\\intbl B1\\cell \\itap2 n1"
              "\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}\\itap1\\cell\\row}",
              "A1\tA2\t\r\nB1\tn1\tn2\t\r\n\t\r\n\r\n"},
        // Some writers put the nested cells' text inside the nested row properties.
        Read {"{\\rtf1{\\*\\nesttableprops\\trowd inner\\nestcell\\nestrow}outer\\cell\\row}",
              "inner\t\r\nouter\t\r\n\r\n"},
        Read {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times;}{\\f1 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
              "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}{\\info{\\title The Title}{\\author Someone}}"
              "{\\*\\generator Writer 1.0;}{\\*\\unknowndest hidden {nested} words}{\\header page header}"
              "{\\footerl left footer}{\\headerf first header}{\\pict\\pngblip 89504e470d0a}"
              "{\\object{\\*\\objdata 0102}{\\result shown}}{\\*\\bkmkstart mark}body{\\annotation a comment}\\par}",
              "shownbody\r\n\r\n"},
        Read {"{\\rtf1 shown{\\v hidden}shown \\v gone\\v0 back \\v again\\plain  end}", "shownshown back  end\r\n"},
        // \* marks a destination only at the start of a group.
        Read {"{\\rtf1{\\f2\\*\\cs7 The quick fox}}", "The quick fox\r\n"}, Read {"{\\rtf1 a{\\*\\ud b}c}", "abc\r\n"},
        Read {"{\\rtf1 See {\\field{\\*\\fldinst HYPERLINK \"http://x.example/\"}{\\fldrslt the site}} and "
              "{\\field{\\fldinst PAGE}{\\fldrslt 7}}.}",
              "See the site and 7.\r\n"},
        // Binary data holds braces and backslashes that are no RTF.
        Read {"{\\rtf1 before{\\pict\\bin8 }{\\x}\\'}}after}", "beforeafter\r\n"},
        Read {std::string("{\\rtf1 a\\bin3 \0\xff}b}", 19), "ab\r\n"},
        Read {"{\\rtf1 a\\emdash b\\endash c\\lquote d\\rquote e\\ldblquote f\\rdblquote g\\bullet h}",
              "a\u2014b\u2013c\u2018d\u2019e\u201Cf\u201Dg\u2022h\r\n"},
        Read {"{\\rtf1 non\\~breaking opt\\-ional non\\_breaking}", "non\u00A0breaking optional non-breaking\r\n"},
        Read {"{\\rtf1 \\{braces\\} and \\\\backslash}", "{braces} and \\backslash\r\n"},
        Read {"{\\rtf1 en\\enspace em\\emspace q\\qmspace z\\zwj w}", "en em q zw\r\n"},
        Read {"{\\rtf1 First{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} One note.} sentence.\\par "
              "Second{\\footnote Two {\\i notes}\\par}.\\par}",
              "First1 sentence.\r\nSecond.\r\n1  One note.\r\nTwo notes\r\n\r\n"},
        Read {"{\\rtf1\\ansi\\ansicpg936{\\upr{\\'c4\\'e3 ansi copy}{\\*\\ud{\\u20320?\\u22909? unicode}}}}",
              "\u4F60\u597D unicode\r\n"},
        // Encapsulated HTML mail: the HTML tags go, the RTF-only breaks stay.
        Read {"{\\rtf1\\ansi\\fromhtml1{\\*\\htmltag64 <P>}\\htmlrtf{\\htmlrtf0 Hello\\htmlrtf\\par}\\htmlrtf0"
              "{\\*\\htmltag72 </P>}World{\\*\\htmltag0 <BR>}\\htmlrtf\\line\\htmlrtf0 !}",
              "Hello\r\nWorld\r\n!\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    CodePages, RtfText,
    testing::Values(
        Read {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'cf\\'f0\\'e8}", "\u041F\u0440\u0438\r\n"},
        Read {"{\\rtf1\\ansi\\ansicpg65001 \\'c3\\'a9t\\'c3\\'a9}", "\u00E9t\u00E9\r\n"},
        Read {"{\\rtf1\\mac \\'8e\\'9a}", "\u00E9\u00F6\r\n"},
        Read {"{\\rtf1\\mac\\ansicpg10001 \\'82\\'a0}", "\u3042\r\n"},
        // A font's own \cpg wins over the document's page; \plain returns to the default font.
        Read {"{\\rtf1\\ansicpg1252{\\fonttbl{\\f3\\cpg1251 X;}}\\f3 \\'c0}", "\u0410\r\n"},
        Read {"{\\rtf1\\ansicpg1252\\deff0{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f1 \\'c0\\plain \\'c0}",
              "\u0410\u00C0\r\n"},
        Read {"{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fcharset2{\\*\\panose 0}Wingdings;}"
              "{\\f3\\fcharset0 Arial;}}{\\f1 \\'61\\u61623?}{\\f2 \\'61\\u61692?}{\\f3 \\'61\\u61623?}}",
              "\u03B1\uF0B7\u264B\u2714a\uF0B7\r\n"},
        // Symbol fonts are known by name whatever the character set; "Wingdings 2" has no table.
        Read {"{\\rtf1{\\fonttbl{\\f1\\fcharset0 Webdings;}{\\f2 Zapf Dingbats;}{\\f3\\fcharset2 Wingdings 2;}}"
              "{\\f1 \\'61}{\\f2 \\'61\\u61548?}{\\f3 \\'61}}",
              "\u2714\u2741\u25CF\u2022\r\n"},
        // Without a declared page the program's is used, for escapes and plain bytes.
        Read {"{\\rtf1 \\'c0\xc0}", "\u0410\u0410\r\n", "", "windows-1251"}, Read {"{\\rtf1 \\'c0}", "\u00C0\r\n"},
        Read {"{\\rtf1\\ansicpg9999 \\'c0}", "\u0410\r\n", "9999", "windows-1251"},
        // A trail byte 0x5C may be written \\; a lead byte cut off by \u is a broken character.
        Read {"{\\rtf1\\ansicpg932 \\'83\\'65\\'83\\'58\\'83\\'67\\'95\\\\}", "\u30C6\u30B9\u30C8\u8868\r\n"},
        Read {"{\\rtf1\\ansicpg932\\uc0 \\'82\\u65 B}", "\uFFFDAB\r\n"},
        Read {"{\\rtf1 caf\\u233?s}", "caf\u00E9s\r\n"}, Read {"{\\rtf1\\uc2 \\u20320\\'c4\\'e3!}", "\u4F60!\r\n"},
        Read {"{\\rtf1\\uc0 \\u20320\\u22909 x}", "\u4F60\u597Dx\r\n"},
        // A control word is one fallback character; \uc belongs to its group.
        Read {"{\\rtf1 a\\u8212\\endash b}", "a\u2014b\r\n"},
        Read {"{\\rtf1{\\uc3 \\u233}x\\u233 yz}", "\u00E9x\u00E9z\r\n"}, Read {"{\\rtf1 \\u-3913?}", "\uF0B7\r\n"},
        Read {"{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600\r\n"}, Read {"{\\rtf1 \\u55357?\\u56832?}", "\U0001F600\r\n"},
        Read {"{\\rtf1\\uc0 hi \\u-10240  lo \\u-9216  swap \\u-9216\\u-10240 .}",
              "hi \uFFFD lo \uFFFD swap \uFFFD\uFFFD.\r\n"},
        Read {"{\\rtf1 \\u99999?}", "\uFFFD\r\n"}, Read {"{\\rtf1 a\\u?b\\u0?c}", "abc\r\n"}));

const std::size_t kBound = leafmill::extract::rtf::RtfReader::maxGroupDepth;

INSTANTIATE_TEST_SUITE_P(
    Damage, RtfText,
    testing::Values(Read {"{\\rtf1 start" + std::string(100000, '{') + "deep" + std::string(100000, '}') + " end}",
                          "startdeep end\r\n", "nested deeper"},
                    Read {"{\\rtf1" + std::string(kBound - 1, '{') + "x" + std::string(kBound - 1, '}') + "}", "x\r\n"},
                    // A destination opened beyond the bound hides nothing after the flattened groups.
                    Read {"{\\rtf1" + std::string(kBound + 50, '{') + "{\\*\\hidden secret}" + std::string(51, '}')
                              + "shown" + std::string(kBound - 1, '}') + "}",
                          "shown\r\n", "nested deeper"},
                    Read {"{\\rtf1 never {\\b closed\\par", "never closed\r\n\r\n", "unclosed groups"},
                    Read {"{\\rtf1 done\\par}}{after the end}", "done\r\n\r\n", "closing brace"},
                    Read {"{\\rtf1 x}\r\n\r\n", "x\r\n"},
                    Read {"{\\rtf1 outer {\\rtf1 inner\\par} tail}", "outer inner\r\n tail\r\n", "inside the document"},
                    Read {"{\\rtf1\\ansicpg-5\\deff-3{\\fonttbl{\\f-2\\fcharset-1 A;}{\\f99999999\\cpg-7 B;}}"
                          "\\f-2 a\\f99999999 b\\uc-4 \\u65 c\\'41}",
                          "abAcA\r\n"},
                    Read {"{\\rtf1 a\\bin99 xyz}", "a\r\n", "binary data"}, Read {"{\\rtf1 a\\", "a\r\n", "unclosed"},
                    Read {"{\\rtf1 a\\'", "a\r\n", "unclosed"}, Read {"{\\rtf1 a\\'4", "a4\r\n", "unclosed"},
                    Read {"{\\rtf1 a\\u", "a\r\n", "unclosed"}, Read {"{\\rtf1 a\\u-", "a\r\n", "unclosed"},
                    Read {"{\\rtf1\\ansicpg932 a\\'82", "a\uFFFD\r\n", "unclosed"},
                    Read {"{\\rtf1 a\\bin2147483647 ", "a\r\n", "binary data"},
                    Read {"{\\rtf1 a\\bin99999999999999999999 z", "a\r\n", "binary data"},
                    Read {"{\\rtf1 a\\uc2147483647 \\u65 bc{d}", "aAd\r\n", "unclosed"}));

struct CharsetCase {
    int charset;
    const char* escapes;  // the character as \'hh escapes
    const char* expected;
};

class RtfFontCharset : public testing::TestWithParam<CharsetCase> { };

TEST_P(RtfFontCharset, EscapesAreDecodedInTheCodePageOfTheCurrentFont)
{
    const CharsetCase& c = GetParam();
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset"
        + std::to_string(c.charset) + (c.charset == 2 ? " Symbol;}}" : " Other;}}") + "\\f0 \\'e9 {\\f1 " + c.escapes
        + "} \\'e9}";
    EXPECT_EQ(rtfText(rtf), std::string("\u00E9 ") + c.expected + " \u00E9\r\n");
}

INSTANTIATE_TEST_SUITE_P(Charsets, RtfFontCharset,
                         testing::Values(CharsetCase {0, "\\'e9", "\u00E9"},  // 1252
                                         CharsetCase {2, "\\'61\\'44", "\u03B1\u0394"},  // Symbol font
                                         CharsetCase {77, "\\'8e", "\u00E9"},  // Mac Roman
                                         CharsetCase {128, "\\'82\\'a0", "\u3042"},  // Shift-JIS
                                         CharsetCase {129, "\\'b0\\'a1", "\uAC00"},  // Hangul
                                         CharsetCase {134, "\\'c4\\'e3", "\u4F60"},  // GBK
                                         CharsetCase {136, "\\'a4\\'a4", "\u4E2D"},  // Big5
                                         CharsetCase {161, "\\'e1", "\u03B1"},  // 1253
                                         CharsetCase {162, "\\'fe", "\u015F"},  // 1254
                                         CharsetCase {163, "\\'e0", "\u00E0"},  // 1258
                                         CharsetCase {177, "\\'e0", "\u05D0"},  // 1255
                                         CharsetCase {178, "\\'c7", "\u0627"},  // 1256
                                         CharsetCase {186, "\\'e0", "\u0105"},  // 1257
                                         CharsetCase {204, "\\'c0", "\u0410"},  // 1251
                                         CharsetCase {222, "\\'a1", "\u0E01"},  // 874
                                         CharsetCase {238, "\\'b9", "\u0105"}));  // 1250

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
