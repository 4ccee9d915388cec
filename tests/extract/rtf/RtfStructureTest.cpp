#include "RtfRead.h"

#include "extract/ChapterTitle.h"

using leafmill::test::readRtf;
using leafmill::test::rtfText;

TEST(RtfStructure, ParagraphsEndLinesAndTheTextEndsWithOneMoreLineEnd)
{
    EXPECT_EQ(rtfText("{\\rtf1\\ansi one\\par two\\par three\\par}"), "one\r\ntwo\r\nthree\r\n\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 last paragraph without a mark}"), "last paragraph without a mark\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 a\\line b\\tab c\\page d\\sect e}"), "a\r\nb\tc\r\nd\r\ne\r\n");
    // Bare line ends in the file are not text; a backslash before one is a paragraph (TextEdit).
    EXPECT_EQ(rtfText("{\\rtf1 split\r\nword\\\nnext\\\r\nlast}"), "splitword\r\nnext\r\nlast\r\n");
}

TEST(RtfStructure, TablesEndCellsWithTabsAndRowsWithLineEnds)
{
    const std::string rtf = "{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl A1\\cell A2\\cell\\row"
                            "\\trowd\\intbl B1\\cell "
                            "\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}"
                            "\\itap1\\cell\\row}";
    EXPECT_EQ(rtfText(rtf), "A1\tA2\t\r\nB1\tn1\tn2\t\r\n\t\r\n\r\n");
    // Some writers put the nested cells' text inside the nested row properties.
    EXPECT_EQ(rtfText("{\\rtf1{\\*\\nesttableprops\\trowd inner\\nestcell\\nestrow}outer\\cell\\row}"),
              "inner\t\r\nouter\t\r\n\r\n");
}

TEST(RtfStructure, TablesAndMetadataDestinationsAreSkipped)
{
    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times;}{\\f1 Arial;}}"
                            "{\\colortbl;\\red0\\green0\\blue0;}"
                            "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}"
                            "{\\info{\\title The Title}{\\author Someone}}"
                            "{\\*\\generator Writer 1.0;}{\\*\\unknowndest hidden {nested} words}"
                            "{\\header page header}{\\footerl left footer}{\\headerf first header}"
                            "{\\pict\\pngblip 89504e470d0a}{\\object{\\*\\objdata 0102}{\\result shown}}"
                            "{\\*\\bkmkstart mark}body{\\annotation a comment}\\par}";
    EXPECT_EQ(rtfText(rtf), "shownbody\r\n\r\n");
}

TEST(RtfStructure, HiddenTextIsLeftOut)
{
    EXPECT_EQ(rtfText("{\\rtf1 shown{\\v hidden}shown \\v gone\\v0 back \\v again\\plain  end}"),
              "shownshown back  end\r\n");
}

TEST(RtfStructure, StarOnlyMarksADestinationAtTheStartOfAGroup)
{
    // A writer that puts \* before a style word inside running text keeps the text.
    EXPECT_EQ(rtfText("{\\rtf1{\\f2\\*\\cs7 The quick fox}}"), "The quick fox\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 a{\\*\\ud b}c}"), "abc\r\n");
}

TEST(RtfStructure, FieldsKeepTheirResultAndDropTheirInstruction)
{
    const std::string rtf = "{\\rtf1 See {\\field{\\*\\fldinst HYPERLINK \"http://x.example/\"}"
                            "{\\fldrslt the site}} and {\\field{\\fldinst PAGE}{\\fldrslt 7}}.}";
    EXPECT_EQ(rtfText(rtf), "See the site and 7.\r\n");
}

TEST(RtfStructure, BinaryDataIsSkippedByItsByteCount)
{
    // The data holds braces and backslashes that must not be read as RTF.
    std::string rtf = "{\\rtf1 before{\\pict\\bin8 }{\\x}\\'}}after}";
    EXPECT_EQ(rtfText(rtf), "beforeafter\r\n");
    rtf = std::string("{\\rtf1 a\\bin3 ") + std::string("\0\xff}", 3) + "b}";
    EXPECT_EQ(rtfText(rtf), "ab\r\n");
}

TEST(RtfStructure, SymbolWordsAndEscapes)
{
    EXPECT_EQ(rtfText("{\\rtf1 a\\emdash b\\endash c\\lquote d\\rquote e\\ldblquote f\\rdblquote g\\bullet h}"),
              "a\u2014b\u2013c\u2018d\u2019e\u201Cf\u201Dg\u2022h\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 non\\~breaking opt\\-ional non\\_breaking}"),
              "non\u00A0breaking optional non-breaking\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 \\{braces\\} and \\\\backslash}"), "{braces} and \\backslash\r\n");
    EXPECT_EQ(rtfText("{\\rtf1 en\\enspace em\\emspace q\\qmspace z\\zwj w}"), "en em q zw\r\n");
}

TEST(RtfStructure, FootnotesFollowTheMainTextEachOnItsOwnLine)
{
    const std::string rtf = "{\\rtf1 First{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} One note.} sentence.\\par "
                            "Second{\\footnote Two {\\i notes}\\par}.\\par}";
    EXPECT_EQ(rtfText(rtf), "First1 sentence.\r\nSecond.\r\n1  One note.\r\nTwo notes\r\n\r\n");
}

TEST(RtfStructure, UnicodeAlternativeIsReadInsteadOfItsAnsiCopy)
{
    const std::string rtf
        = "{\\rtf1\\ansi\\ansicpg936{\\upr{\\'c4\\'e3 ansi copy}{\\*\\ud{\\u20320?\\u22909? unicode}}}}";
    EXPECT_EQ(rtfText(rtf), "\u4F60\u597D unicode\r\n");
}

TEST(RtfStructure, EncapsulatedHtmlMailShowsItsRtfRendering)
{
    // What an RTF reader shows: the HTML tags go, the RTF-only breaks stay.
    const std::string rtf = "{\\rtf1\\ansi\\fromhtml1{\\*\\htmltag64 <P>}\\htmlrtf{\\htmlrtf0 Hello\\htmlrtf\\par}"
                            "\\htmlrtf0{\\*\\htmltag72 </P>}World{\\*\\htmltag0 <BR>}\\htmlrtf\\line\\htmlrtf0 !}";
    EXPECT_EQ(rtfText(rtf), "Hello\r\nWorld\r\n!\r\n");
}

TEST(RtfStructure, EmbeddedRtfHeaderIsReadAsPartOfTheDocumentWithAWarning)
{
    const auto r = readRtf("{\\rtf1 outer {\\rtf1 inner\\par} tail}");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.text, "outer inner\r\n tail\r\n");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("inside the document"), std::string::npos);
}

TEST(RtfStructure, ParagraphsOfOutlineLevelsZeroToTwoStartChapters)
{
    // The style sheet's level is no paragraph's; a level lasts until \pard (in
    // its group: a list label's \pard ends with the label); the
    // reference's number, put in at the end, moves the chapters after it.
    // A style that carries the level only in the style sheet, or is a
    // built-in heading by name, gives it to the paragraphs that name it.
    const std::string rtf
        = "{\\rtf1{\\stylesheet{\\s1\\outlinelevel0 heading 1;}{\\s4\\outlinelevel1 Part;}"
          "{\\s5 Heading 2;}{\\s6 Body;}{\\s7 heading 1;}}Intro{\\super\\chftn}.\\par"
          "\\pard\\s1\\outlinelevel0{\\listtext\\pard\\plain 1.\\tab}The  First\\tab Part\\par Still a heading\\par"
          "\\pard Body.\\par\\pard\\outlinelevel2 Third level\\par"
          "\\pard\\outlinelevel3 Fourth level\\par\\pard\\outlinelevel1\\par"
          "\\pard\\s4 Styled\\par\\pard\\s5 Named\\par\\pard\\s6 Plain\\par\\pard\\s7 Top\\par}";
    const leafmill::extract::Result r = readRtf(rtf);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.text.starts_with("Intro1.\r\n1.\tThe  First\tPart\r\n")) << r.text;
    const std::vector<std::pair<std::string, int>> expected = {
        {"1. The First Part", 1}, {"Still a heading", 1}, {"Third level", 3}, {"Styled", 2}, {"Named", 2}, {"Top", 1}};
    ASSERT_EQ(r.chapters.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& chapter = r.chapters[i];
        EXPECT_EQ(chapter.title, expected[i].first);
        EXPECT_EQ(chapter.level, expected[i].second) << chapter.title;
        const std::size_t lineEnd = r.text.find("\r\n", chapter.offset);
        EXPECT_EQ(leafmill::extract::chapterTitle(r.text.substr(chapter.offset, lineEnd - chapter.offset)),
                  chapter.title);
    }
}
