#include "PackageFixtures.h"
#include "ZipWriter.h"

#include "extract/odt/OdtToText.h"

using leafmill::extract::odtToText;
using leafmill::test::makeZip;
using leafmill::test::ReadCase;
using leafmill::test::ZipParts;

namespace {

const std::string kNamespaces = R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
                                R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
                                R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
                                R"( xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0")"
                                R"( xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")"
                                R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")";

const std::string kListStyles
    = R"(<text:list-style style:name="N"><text:list-level-style-number text:level="1" style:num-format="1")"
      R"x( style:num-suffix="."/><text:list-level-style-number text:level="2" style:num-format="a" style:num-suffix=")")x"
      R"( text:display-levels="2"/></text:list-style><text:list-style style:name="B">)"
      R"(<text:list-level-style-bullet text:level="1" text:bullet-char="–"/></text:list-style>)";

const std::string kOutline
    = R"(<text:outline-style style:name="Outline">)"
      R"(<text:outline-level-style text:level="1" style:num-format="I" style:num-suffix="."/>)"
      R"(<text:outline-level-style text:level="2" style:num-format="1" text:display-levels="2"/>)"
      R"(</text:outline-style>)";

// A package whose content holds `body` and the list styles, and whose styles part the outline numbering.
std::string odt(const std::string& body, const std::string& outline = "")
{
    return makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                    {"content.xml",
                     "<office:document-content" + kNamespaces + "><office:automatic-styles>" + kListStyles
                         + "</office:automatic-styles><office:body><office:text>" + body
                         + "</office:text></office:body></office:document-content>"},
                    {"styles.xml",
                     "<office:document-styles" + kNamespaces + "><office:styles>" + outline
                         + "</office:styles></office:document-styles>"}});
}

std::string p(const std::string& inner)
{
    return "<text:p>" + inner + "</text:p>";
}

std::string list(const std::string& attributes, const std::vector<std::string>& items)
{
    std::string out = "<text:list " + attributes + ">";
    for (const std::string& item : items)
        out += "<text:list-item>" + item + "</text:list-item>";
    return out + "</text:list>";
}

std::string note(const std::string& noteClass, const std::string& citation, const std::string& text)
{
    return "<text:note text:note-class=\"" + noteClass + "\"><text:note-citation" + citation
        + "</text:note-citation><text:note-body>" + p(text) + "</text:note-body></text:note>";
}

}  // namespace

class Odt : public testing::TestWithParam<ReadCase> { };

TEST_P(Odt, ReadsWhatTheWordProcessorShows)
{
    leafmill::test::expectRead(odtToText, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Odt,
    testing::Values(
        ReadCase {"spaces",
                  odt(p("One\n  <text:span>two</text:span> <text:span>three</text:span>a<text:s text:c=\"3\"/>b"
                        "<text:tab/>c<text:line-break/>d\u00ADe<text:soft-page-break/>")),
                  "One two threea   b\tc\r\nde\r\n"},
        ReadCase {"table",
                  odt("<table:table><table:table-column/><table:table-header-rows><table:table-row><table:table-cell>"
                      + p("a") + "</table:table-cell><table:covered-table-cell/><table:table-cell>" + p("b")
                      + "</table:table-cell></table:table-row></table:table-header-rows><table:table-row>"
                        "<table:table-cell>"
                      + p("1") + p("2") + "</table:table-cell></table:table-row></table:table>"),
                  "a\t\tb\r\n1 2\r\n"},
        ReadCase {"hidden",
                  odt(p("kept<office:annotation><text:p>comment</text:p></office:annotation> "
                        "<draw:frame><svg:title>alt</svg:title><draw:image/></draw:frame>"
                        "<text:hidden-text text:string-value=\"h\">hidden</text:hidden-text>end")
                      + "<text:tracked-changes><text:changed-region><text:deletion>" + p("deleted")
                      + "</text:deletion></text:changed-region></text:tracked-changes>"),
                  "kept end\r\n"},
        ReadCase {"frames after their paragraph",
                  odt(p("Before<draw:frame><draw:text-box>" + p("boxed") + "</draw:text-box></draw:frame> after")),
                  "Before after\r\nboxed\r\n"},
        ReadCase {"lists",
                  odt(list("text:style-name=\"N\"", {p("one"), p("two") + list("", {p("sub"), p("sub")}), p("three")})
                      + list("text:style-name=\"N\" text:continue-numbering=\"true\"", {p("four")})
                      + list("text:style-name=\"N\" xml:id=\"first\"", {p("again")})
                      + list("text:style-name=\"B\"", {p("dash")})
                      + list("text:style-name=\"N\" text:continue-list=\"first\"", {p("next")})
                      + list("text:style-name=\"none\"", {p("plain")})),
                  "1. one\r\n2. two\r\n2.a) sub\r\n2.b) sub\r\n3. three\r\n4. four\r\n1. again\r\n– dash\r\n2. next\r\n"
                  "plain\r\n"},
        ReadCase {"notes after the text, each with its mark",
                  odt(p("Text" + note("endnote", ">i", "End.") + note("footnote", ">1", "Foot.") + ".")
                      + p("More" + note("footnote", " text:label=\"*\">*", "Starred."))),
                  "Text.\r\nMore\r\n1. Foot.\r\n* Starred.\r\ni. End.\r\n"},
        ReadCase {"flat",
                  "<?xml version=\"1.0\"?><office:document" + kNamespaces
                      + " office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:body><office:text>"
                      + p("flat &amp; whole") + "</office:text></office:body></office:document>",
                  "flat & whole\r\n"}));

TEST(OdtChapters, HeadingsAreChaptersWithTheirOutlineNumbers)
{
    const auto result
        = odtToText(odt("<text:h text:outline-level=\"1\">Intro</text:h>" + p("Body")
                            + "<text:h text:outline-level=\"2\">Part</text:h>"
                              "<text:h text:outline-level=\"1\">Next</text:h>"
                              "<text:h text:outline-level=\"2\">Again</text:h>"
                              "<text:h text:outline-level=\"1\" text:is-list-header=\"true\">Plain</text:h>",
                        kOutline),
                    {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "I. Intro\r\nBody\r\nI.1 Part\r\nII. Next\r\nII.1 Again\r\nPlain\r\n");
    EXPECT_EQ(
        leafmill::test::chapterList(result),
        (std::vector<std::tuple<std::string, std::size_t, int>> {
            {"I. Intro", 0, 1}, {"I.1 Part", 16, 2}, {"II. Next", 26, 1}, {"II.1 Again", 36, 2}, {"Plain", 48, 1}}));
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, Odt,
    testing::Values(
        ReadCase {"nocontent", makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"}}), "", "content.xml"},
        ReadCase {"word", makeZip({{"word/document.xml", "<x/>"}, {"content.xml", "<x/>"}}), "", "Word document"},
        ReadCase {"spreadsheet",
                  makeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                           {"content.xml",
                            "<office:document-content" + kNamespaces
                                + "><office:body><office:spreadsheet/></office:body>"
                                  "</office:document-content>"}}),
                  "", "spreadsheet"},
        ReadCase {"encrypted",
                  makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                           {"META-INF/manifest.xml",
                            R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">)"
                            R"(<manifest:file-entry manifest:full-path="content.xml"><manifest:encryption-data/>)"
                            R"(</manifest:file-entry></manifest:manifest>)"},
                           {"content.xml", "\x93\x11garbage"}}),
                  "", "password"},
        ReadCase {"bomb", odt(p(std::string(20 * 1024 * 1024, 'a'))), "", "zip bomb"},
        ReadCase {"deep", odt(leafmill::test::repeated("<text:span>", 100000)), "", "nests"},
        ReadCase {"notxml", "plain words", "", "no XML"},
        // An entity bomb and a broken end leave the text, with a warning.
        ReadCase {"damaged",
                  R"(<?xml version="1.0"?><!DOCTYPE office:document [<!ENTITY a "aaaaaaaaaa">)"
                  R"(<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">]><office:document)"
                      + kNamespaces + "><office:body><office:text>" + p("&b;") + "<text:p>cut</text:p><text:p>c",
                  "&b;\r\ncut\r\n", "", 1}));
