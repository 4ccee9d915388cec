#include "RtfRead.h"

#include <string>

using leafmill::test::readRtf;
using leafmill::test::rtfText;

namespace {

struct CharsetCase {
    int charset;
    const char* escapes;  // the character as \'hh escapes
    const char* expected;  // UTF-8
};

std::string withFontCharset(const CharsetCase& c)
{
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset" + std::to_string(c.charset)
        + (c.charset == 2 ? " Symbol;}}" : " Other;}}") + "\\f0 \\'e9 {\\f1 " + c.escapes + "} \\'e9}";
}

}  // namespace

class RtfFontCharset : public testing::TestWithParam<CharsetCase> { };

TEST_P(RtfFontCharset, EscapesAreDecodedInTheCodePageOfTheCurrentFont)
{
    const CharsetCase& c = GetParam();
    EXPECT_EQ(rtfText(withFontCharset(c)), std::string("\u00E9 ") + c.expected + " \u00E9\r\n");
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

TEST(RtfCodePage, DocumentCodePageAppliesWhereTheFontNamesNone)
{
    EXPECT_EQ(rtfText("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 \\'cf\\'f0\\'e8}"),
              "\u041F\u0440\u0438\r\n");
    EXPECT_EQ(rtfText("{\\rtf1\\ansi\\ansicpg65001 \\'c3\\'a9t\\'c3\\'a9}"), "\u00E9t\u00E9\r\n");
    EXPECT_EQ(rtfText("{\\rtf1\\mac \\'8e\\'9a}"), "\u00E9\u00F6\r\n");
    EXPECT_EQ(rtfText("{\\rtf1\\mac\\ansicpg10001 \\'82\\'a0}"), "\u3042\r\n");
    // A font's own \cpg wins over the document's page.
    EXPECT_EQ(rtfText("{\\rtf1\\ansicpg1252{\\fonttbl{\\f3\\cpg1251 X;}}\\f3 \\'c0}"), "\u0410\r\n");
    // \plain returns to the default font.
    EXPECT_EQ(rtfText("{\\rtf1\\ansicpg1252\\deff0{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f1 \\'c0\\plain \\'c0}"),
              "\u0410\u00C0\r\n");
}

TEST(RtfCodePage, SymbolFontsGiveTheirCharactersOrABullet)
{
    const std::string fonts
        = "{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fcharset2{\\*\\panose 0}Wingdings;}"
          "{\\f3\\fcharset0 Arial;}}";
    EXPECT_EQ(rtfText(fonts + "{\\f1 \\'61\\u61623?}{\\f2 \\'61\\u61692?}{\\f3 \\'61\\u61623?}}"),
              "\u03B1\uF0B7\u264B\u2714a\uF0B7\r\n");
    // Known by name whatever the character set; "Wingdings 2" has no table.
    const std::string more = "{\\rtf1{\\fonttbl{\\f1\\fcharset0 Webdings;}{\\f2 Zapf Dingbats;}"
                             "{\\f3\\fcharset2 Wingdings 2;}}";
    EXPECT_EQ(rtfText(more + "{\\f1 \\'61}{\\f2 \\'61\\u61548?}{\\f3 \\'61}}"), "\u2714\u2741\u25CF\u2022\r\n");
}

TEST(RtfCodePage, WithoutADeclaredPageTheProgramCodePageIsUsed)
{
    EXPECT_EQ(rtfText("{\\rtf1 \\'c0}", "windows-1251"), "\u0410\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 \\'c0}", "windows-1252"), "\u00C0\r\n");
    // Bytes above 127 written without escapes are read the same way.
    EXPECT_EQ(rtfText("{\\rtf1 \xc0}", "windows-1251"), "\u0410\r\n");
}

TEST(RtfCodePage, UnknownCodePageFallsBackWithAWarning)
{
    const auto r = readRtf("{\\rtf1\\ansicpg9999 \\'c0}", "windows-1251");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "\u0410\r\n");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("9999"), std::string::npos);
}

TEST(RtfCodePage, DoubleBytePairsAreJoinedAcrossEscapesAndPlainBytes)
{
    // The trail byte 0x5C is a backslash and may be written escaped as \\.
    EXPECT_EQ(rtfText("{\\rtf1\\ansicpg932 \\'83\\'65\\'83\\'58\\'83\\'67\\'95\\\\}"), "\u30C6\u30B9\u30C8\u8868\r\n");
    // A lead byte cut off by a Unicode character is a broken character, not a swallowed one.
    EXPECT_EQ(rtfText("{\\rtf1\\ansicpg932\\uc0 \\'82\\u65 B}"), "\uFFFDAB\r\n");
}

TEST(RtfUnicode, FallbackCharactersAreSkippedByTheUcCount)
{
    EXPECT_EQ(rtfText("{\\rtf1 caf\\u233?s}"), "caf\u00E9s\r\n");
    EXPECT_EQ(rtfText("{\\rtf1\\uc2 \\u20320\\'c4\\'e3!}"), "\u4F60!\r\n");
    EXPECT_EQ(rtfText("{\\rtf1\\uc0 \\u20320\\u22909 x}"), "\u4F60\u597Dx\r\n");
    // A control word counts as one fallback character.
    EXPECT_EQ(rtfText("{\\rtf1 a\\u8212\\endash b}"), "a\u2014b\r\n");
    // \uc belongs to its group; a group boundary ends the fallback early.
    EXPECT_EQ(rtfText("{\\rtf1{\\uc3 \\u233}x\\u233 yz}"), "\u00E9x\u00E9z\r\n");
}

TEST(RtfUnicode, NegativeValuesAndSurrogatePairs)
{
    EXPECT_EQ(rtfText("{\\rtf1 \\u-3913?}"), "\uF0B7\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 \\u-10179?\\u-8704?}"), "\U0001F600\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 \\u55357?\\u56832?}"), "\U0001F600\r\n");
    // Unpaired halves become the replacement character.
    EXPECT_EQ(rtfText("{\\rtf1\\uc0 hi \\u-10240  lo \\u-9216  swap \\u-9216\\u-10240 .}"),
              "hi \uFFFD lo \uFFFD swap \uFFFD\uFFFD.\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 \\u99999?}"), "\uFFFD\r\n");
    // No number, or zero, is no character; its fallback still goes.
    EXPECT_EQ(rtfText("{\\rtf1 a\\u?b\\u0?c}"), "abc\r\n");
}
