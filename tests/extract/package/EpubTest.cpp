#include "PackageFixtures.h"
#include "ZipWriter.h"

#include "extract/epub/EpubToText.h"

using leafmill::test::makeZip;
using leafmill::test::ReadCase;
using leafmill::test::ZipParts;

namespace {

const std::string kContainer = R"(<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
<rootfiles><rootfile full-path="OEBPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)";

std::string xhtml(const std::string& body)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" )"
           R"(xmlns:epub="http://www.idpf.org/2007/ops"><head><title>t</title></head><body>)"
        + body + "</body></html>";
}

// A book whose manifest holds `items` (id, href), whose spine lists `spine` (ids), with `more` parts.
std::string book(const std::vector<std::pair<std::string, std::string>>& items, const std::vector<std::string>& spine,
                 ZipParts more = {})
{
    std::string opf = R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0"><manifest>)";
    for (const auto& [id, href] : items)
        opf += "<item id=\"" + id + "\" href=\"" + href + "\" media-type=\"application/xhtml+xml\"/>";
    opf += "</manifest><spine>";
    for (const std::string& id : spine)
        opf += "<itemref idref=\"" + id + "\"/>";
    more.insert(more.begin(),
                {{"mimetype", "application/epub+zip"},
                 {"META-INF/container.xml", kContainer},
                 {"OEBPS/book.opf", opf + "</spine></package>"}});
    return makeZip(more);
}

std::string oneChapter(const std::string& body, ZipParts more = {})
{
    more.emplace_back("OEBPS/c1.xhtml", xhtml(body));
    return book({{"c1", "c1.xhtml"}}, {"c1"}, more);
}

const std::string kDrm = R"(<encryption xmlns="urn:oasis:names:tc:opendocument:xmlns:container" )"
                         R"(xmlns:enc="http://www.w3.org/2001/04/xmlenc#"><enc:EncryptedData>)"
                         R"(<enc:EncryptionMethod Algorithm="http://www.w3.org/2001/04/xmlenc#aes128-cbc"/>)"
                         R"(</enc:EncryptedData></encryption>)";

class Epub : public testing::TestWithParam<ReadCase> { };

TEST_P(Epub, ReadsWhatAReaderShows)
{
    leafmill::test::expectRead(leafmill::extract::epubToText, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Epub,
    testing::Values(
        ReadCase {"blocks", oneChapter("<h1>Title</h1><p>One\n  two</p><p>three<br/>four <em>a</em> <b>b</b></p>"),
                  "Title\r\nOne two\r\nthree\r\nfour a b\r\n"},
        ReadCase {"references", oneChapter("<p>caf&eacute;&nbsp;au&#160;lait &amp;lt; &#x263A;</p>"),
                  "café au lait &lt; ☺\r\n"},
        ReadCase {"table",
                  oneChapter("<table><tr><th>a</th><th>b</th></tr><tr><td>1</td><td><p>2</p></td></tr></table>"),
                  "a\tb\r\n1\t2\r\n"},
        ReadCase {
            "lists",
            oneChapter("<ol start=\"3\"><li><p>x</p></li><li value=\"9\">y</li><li>z</li></ol><ul><li>w</li></ul>"),
            "3. x\r\n9. y\r\n10. z\r\n\u2022 w\r\n"},
        ReadCase {
            "notes after the text",
            oneChapter("<p>Word<a epub:type=\"noteref\" href=\"#n1\">1</a> end.<img alt=\"a picture\" src=\"p.png\"/>"
                       "</p><aside epub:type=\"footnote\" id=\"n1\"><p>1 The note.</p></aside><p>After.</p>"
                       "<aside epub:type=\"endnote\"><p>2 End.</p></aside><div epub:type=\"rearnote\"><p>3 Rear.</p>"
                       "</div><p role=\"doc-endnote\">4 Role.</p><p>Last.</p>"),
            "Word end.\r\nAfter.\r\nLast.\r\n1 The note.\r\n2 End.\r\n3 Rear.\r\n4 Role.\r\n"},
        ReadCase {
            "ruby, script and pre",
            oneChapter("<p><ruby>漢<rt>kan</rt>字<rp>(</rp><rt>ji</rt><rp>)</rp></ruby></p><script>var x;</script>"
                       "<pre>a  b\nc</pre>"),
            "漢字\r\na  b\r\nc\r\n"},
        // Spine entries read once; entities stay unexpanded.
        ReadCase {"repeats and entity bombs",
                  book({{"c1", "c1.xhtml"}, {"c2", "c2.xhtml"}}, {"c1", "c2", "c1", "nothing"},
                       {{"OEBPS/c1.xhtml", xhtml("<p>first</p>")},
                        {"OEBPS/c2.xhtml",
                         R"(<?xml version="1.0"?><!DOCTYPE html [<!ENTITY lol "lol">)"
                         R"(<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]>)"
                         R"(<html><body><p>&lol2;</p></body></html>)"}}),
                  "first\r\n&lol2;\r\n", "", 2}));

INSTANTIATE_TEST_SUITE_P(
    Hostile, Epub,
    testing::Values(ReadCase {"no zip", "<html>not a book</html>", "", "zip"},
                    ReadCase {"bomb", oneChapter("<p>" + std::string(20 * 1024 * 1024, 'a') + "</p>"), "", "zip bomb"},
                    ReadCase {"drm", oneChapter("<p>x</p>", {{"META-INF/encryption.xml", kDrm}}), "", "DRM"},
                    ReadCase {"no container", makeZip({{"mimetype", "application/epub+zip"}}), "", "container.xml"},
                    ReadCase {"empty spine", book({{"c1", "c1.xhtml"}}, {"missing"}), "", "spine"},
                    ReadCase {"escape", book({{"c1", "../../../etc/passwd"}}, {"c1"}, {{"../../../etc/passwd", "x"}}),
                              "", "spine"},
                    ReadCase {"deep", oneChapter(leafmill::test::repeated("<div>", 100000) + "deep"), "",
                              "none of the book's documents"}));

}  // namespace
