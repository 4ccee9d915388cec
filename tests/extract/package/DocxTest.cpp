#include "PackageFixtures.h"
#include "ZipWriter.h"

#include "extract/docx/DocxToText.h"
#include "extract/package/ListNumbers.h"

using leafmill::extract::docxToText;
using leafmill::test::makeZip;
using leafmill::test::ReadCase;
using leafmill::test::ZipParts;

namespace {

const std::string kNamespaces = R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
                                R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
                                R"( xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape")"
                                R"( xmlns:v="urn:schemas-microsoft-com:vml")";

std::string part(const std::string& root, const std::string& inner)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><w:)" + root + kNamespaces + ">" + inner + "</w:" + root + ">";
}

// A package whose document's body is `body`, with further parts of word/ by name ("numbering").
std::string document(const std::string& body, const std::vector<std::pair<std::string, std::string>>& more = {})
{
    ZipParts parts = {{"word/document.xml", part("document", "<w:body>" + body + "</w:body>")}};
    for (const auto& [name, inner] : more)
        parts.emplace_back("word/" + name + ".xml", part(name, inner));
    return makeZip(parts);
}

std::string p(const std::string& runs, const std::string& properties = "")
{
    return "<w:p><w:pPr>" + properties + "</w:pPr>" + runs + "</w:p>";
}

std::string r(const std::string& text)
{
    return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

std::string listItem(int numId, int level, const std::string& text)
{
    return p(r(text),
             "<w:numPr><w:ilvl w:val=\"" + std::to_string(level) + "\"/><w:numId w:val=\"" + std::to_string(numId)
                 + "\"/></w:numPr>");
}

std::string level(int index, const std::string& format, const std::string& text, const std::string& extra = "")
{
    return "<w:lvl w:ilvl=\"" + std::to_string(index) + "\"><w:start w:val=\"1\"/><w:numFmt w:val=\"" + format
        + "\"/><w:lvlText w:val=\"" + text + "\"/>" + extra + "</w:lvl>";
}

const std::string kNumbering = "<w:abstractNum w:abstractNumId=\"1\">" + level(0, "decimal", "%1.")
    + level(1, "lowerLetter", "%1.%2)") + level(2, "upperRoman", "%2.%3", "<w:isLgl/>")
    + "</w:abstractNum><w:abstractNum w:abstractNumId=\"2\">"
    + level(0, "bullet", "\xEF\x82\xB7", "<w:rPr><w:rFonts w:ascii=\"Symbol\"/></w:rPr>")
    + level(1, "bullet", "\xEF\x82\xA7", "<w:rPr><w:rFonts w:ascii=\"Wingdings\"/></w:rPr>") + level(2, "none", "%3")
    + "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"1\"/></w:num>"
      "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"2\"/></w:num>"
      "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"1\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"5\"/>"
      "</w:lvlOverride></w:num>";

const std::string kStyles
    = R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
      R"(<w:style w:type="paragraph" w:styleId="H1"><w:name w:val="heading 1"/></w:style>)"
      R"(<w:style w:type="paragraph" w:styleId="Chapter"><w:basedOn w:val="Part"/></w:style>)"
      R"(<w:style w:type="paragraph" w:styleId="Part"><w:basedOn w:val="Chapter"/><w:pPr><w:outlineLvl w:val="1"/>)"
      R"(<w:numPr><w:numId w:val="1"/></w:numPr></w:pPr></w:style>)"
      R"(<w:style w:type="paragraph" w:styleId="Sub"><w:pPr><w:numPr><w:ilvl w:val="1"/><w:numId w:val="1"/>)"
      R"(</w:numPr></w:pPr></w:style>)";

const std::string kRelationships
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="a" Type="http://x/officeDocument" Target="elsewhere.xml" TargetMode="External"/>)"
      R"(<Relationship Id="b" Type="http://x/officeDocument" Target="/word/main.xml"/></Relationships>)";
const std::string kOutsideNotes
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="c" Type="http://x/footnotes" Target="../../notes.xml"/></Relationships>)";

std::string field(const std::string& instruction, const std::string& result)
{
    return R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText>)" + instruction
        + R"(</w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r>)" + result
        + R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)";
}

std::string textBox(const std::string& inner)
{
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wps:txbx><w:txbxContent>" + inner
        + "</w:txbxContent></wps:txbx></w:drawing></mc:Choice><mc:Fallback><w:pict><v:textbox><w:txbxContent>" + inner
        + "</w:txbxContent></v:textbox></w:pict></mc:Fallback></mc:AlternateContent></w:r>";
}

std::string note(const std::string& kind, const std::string& id, const std::string& text)
{
    return "<w:" + kind + " w:id=\"" + id + "\">" + p("<w:r><w:" + kind + "Ref/><w:tab/></w:r>" + r(text))
        + "</w:" + kind + ">";
}

const std::string kDamaged = R"(<?xml version="1.0"?><!DOCTYPE w:document [<!ENTITY lol "lol">)"
                             R"(<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]><w:document)"
    + kNamespaces + "><w:body>" + listItem(1, 0, "&lol2;") + "<w:p><w:r><w:t>cut</w:t></w:r>";

}  // namespace

class Docx : public testing::TestWithParam<ReadCase> { };

TEST_P(Docx, ReadsWhatWordShows)
{
    leafmill::test::expectRead(docxToText, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Docx,
    testing::Values(
        ReadCase {"runs",
                  document(p(r("One") + r(" ") + r("two"))
                           + p("<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t>"
                               "<w:softHyphen/><w:noBreakHyphen/><w:t>d</w:t></w:r>")),
                  "One two\r\na\tb\r\nc-d\r\n"},
        ReadCase {"table",
                  document("<w:tbl><w:tr><w:tc>" + p(r("a")) + "</w:tc><w:tc>" + p(r("b"))
                           + "</w:tc></w:tr><w:tr><w:tc>" + p(r("1")) + "</w:tc><w:tc>" + p(r("2")) + p(r("3"))
                           + "</w:tc></w:tr><w:ins><w:tr><w:tc>" + p(r("new")) + "</w:tc></w:tr></w:ins></w:tbl>"),
                  "a\tb\r\n1\t2 3\r\nnew\r\n"},
        ReadCase {"fields",
                  document(p(r("Page ") + field("PAGE", r("7")) + field("REF x", "") + r(" of ")
                             + field(" NUMPAGES ", field("QUOTE", r("x")) + r("9")) + R"(<w:fldSimple w:instr="DATE">)"
                             + r(" today") + "</w:fldSimple>")),
                  "Page 7 of x9 today\r\n"},
        ReadCase {"revisions and symbols",
                  document(p("<w:ins>" + r("new") + "</w:ins><w:del><w:r><w:delText>old</w:delText></w:r></w:del>"
                             + R"(<w:r><w:rPr><w:vanish/></w:rPr><w:t>hidden</w:t></w:r><w:r>)"
                             + R"(<w:sym w:font="Symbol" w:char="F061"/><w:sym w:font="Wingdings" w:char="F0E8"/>)"
                             + R"(<w:sym w:font="Arial" w:char="263A"/></w:r>)")),
                  "newα🡺☺\r\n"},
        ReadCase {"text box once, after its paragraph",
                  document(p(r("Before") + textBox(p(r("boxed") + textBox(p(r("inner"))))) + r(" after"))),
                  "Before after\r\nboxed\r\ninner\r\n"},
        ReadCase {"main document named by the relationships, never outside",
                  makeZip({{"_rels/.rels", kRelationships},
                           {"word/main.xml", part("document", "<w:body>" + p(r("main")) + "</w:body>")},
                           {"word/document.xml", part("document", "<w:body>" + p(r("usual")) + "</w:body>")},
                           {"word/_rels/main.xml.rels", kOutsideNotes},
                           {"notes.xml", "<w:footnotes/>"}}),
                  "main\r\n"},
        ReadCase {"lists",
                  document(listItem(1, 0, "one") + listItem(1, 1, "sub") + listItem(1, 1, "sub")
                               + listItem(1, 2, "deep") + listItem(1, 0, "two") + listItem(1, 1, "sub")
                               + listItem(2, 0, "dot") + listItem(2, 1, "square") + listItem(2, 2, "plain")
                               + listItem(3, 0, "five")
                               + listItem(9, 0, "unknown list")
                               // The style's list and level, unless the paragraph names its own.
                               + p(r("styled"), R"(<w:pStyle w:val="Sub"/>)")
                               + p(r("direct"), R"(<w:pStyle w:val="Sub"/><w:numPr><w:ilvl w:val="0"/></w:numPr>)"),
                           {{"numbering", kNumbering}, {"styles", kStyles}}),
                  "1. one\r\n1.a) sub\r\n1.b) sub\r\n2.1 deep\r\n2. two\r\n2.a) sub\r\n\u2022 dot\r\n\u25AA square\r\n"
                  "plain\r\n5. five\r\nunknown list\r\n2.b) styled\r\n3. direct\r\n"},
        ReadCase {"notes after the text, each with its mark",
                  document(p(r("Text.") + R"(<w:r><w:footnoteReference w:id="3"/></w:r>)"
                             + R"(<w:r><w:endnoteReference w:id="1"/></w:r>)")
                               + p(r("More") + R"(<w:r><w:footnoteReference w:customMarkFollows="1" w:id="4"/>)"
                                   + R"(<w:t>*</w:t></w:r>)" + R"(<w:r><w:footnoteReference w:id="3"/></w:r>)"),
                           {{"footnotes", note("footnote", "3", "Foot.") + note("footnote", "4", "Starred.")},
                            {"endnotes", note("endnote", "1", "End.")}}),
                  "Text.\r\nMore*\r\n1. Foot.\r\n* Starred.\r\ni. End.\r\n"}));

TEST(DocxChapters, HeadingsAreChaptersWithTheirLevelsAndLabels)
{
    const auto result = docxToText(
        document(p(r("Intro"), R"(<w:pStyle w:val="H1"/>)") + p(r("Body"))
                     + p(r("Loop"), R"(<w:pStyle w:val="Chapter"/>)") + p(r("Direct"), R"(<w:outlineLvl w:val="2"/>)")
                     + p(r("Body"), R"(<w:outlineLvl w:val="9"/>)") + p(r(""), R"(<w:pStyle w:val="H1"/>)"),
                 {{"styles", kStyles}, {"numbering", kNumbering}}),
        {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "Intro\r\nBody\r\n1. Loop\r\nDirect\r\nBody\r\n");
    EXPECT_EQ(leafmill::test::chapterList(result),
              (std::vector<std::tuple<std::string, std::size_t, int>> {
                  {"Intro", 0, 1}, {"1. Loop", 13, 2}, {"Direct", 22, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, Docx,
    testing::Values(
        ReadCase {"nozip", "PK\x03\x04 but nothing else", "", "zip"},
        ReadCase {"nodocument", makeZip({{"word/other.xml", "<x/>"}}), "", "no Word document"},
        ReadCase {"epub", makeZip({{"mimetype", "application/epub+zip"}, {"word/document.xml", "<x/>"}}), "",
                  "EPUB book"},
        ReadCase {"bomb", document(p(r(std::string(20 * 1024 * 1024, 'a')))), "", "zip bomb"},
        ReadCase {"deep", document(leafmill::test::repeated("<w:sdt>", 100000)), "", "nests"},
        ReadCase {"nobody", makeZip({{"word/document.xml", part("document", "")}}), "", "no body"},
        // A damaged part and an entity bomb leave the text, with a warning.
        ReadCase {"damaged", makeZip({{"word/document.xml", kDamaged}, {"word/numbering.xml", "<w:numbering><broken"}}),
                  "&lol2;\r\ncut\r\n", "", 1}));

struct Numbered {
    long n;
    leafmill::extract::package::NumberStyle style;
    std::string expected;
};

class NumberFormat : public testing::TestWithParam<Numbered> { };

TEST_P(NumberFormat, WritesTheNumberAsWordProcessorsDo)
{
    EXPECT_EQ(leafmill::extract::package::formatNumber(GetParam().n, GetParam().style), GetParam().expected);
}

using Style = leafmill::extract::package::NumberStyle;
INSTANTIATE_TEST_SUITE_P(Styles, NumberFormat,
                         testing::Values(Numbered {1994, Style::UpperRoman, "MCMXCIV"},
                                         Numbered {4, Style::LowerRoman, "iv"},
                                         Numbered {4000, Style::LowerRoman, "4000"},
                                         Numbered {28, Style::LowerLetter, "bb"},
                                         Numbered {26, Style::UpperLetter, "Z"}, Numbered {7, Style::DecimalZero, "07"},
                                         Numbered {12, Style::DecimalZero, "12"}, Numbered {0, Style::LowerRoman, "0"},
                                         Numbered {5, Style::None, ""}));
