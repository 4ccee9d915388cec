#include "PackageFixtures.h"
#include "ZipWriter.h"

#include "extract/epub/EpubToText.h"

#include <gtest/gtest.h>

using leafmill::extract::epubToText;
using leafmill::test::makeZip;
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

// A book whose manifest holds `items` (id, href) and whose spine lists `spine` (ids).
ZipParts book(const std::vector<std::pair<std::string, std::string>>& items, const std::vector<std::string>& spine)
{
    std::string opf = R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0"><manifest>)";
    for (const auto& [id, href] : items)
        opf += "<item id=\"" + id + "\" href=\"" + href + "\" media-type=\"application/xhtml+xml\"/>";
    opf += "</manifest><spine>";
    for (const std::string& id : spine)
        opf += "<itemref idref=\"" + id + "\"/>";
    opf += "</spine></package>";
    return {{"mimetype", "application/epub+zip"}, {"META-INF/container.xml", kContainer}, {"OEBPS/book.opf", opf}};
}

ZipParts oneChapter(const std::string& body)
{
    ZipParts parts = book({{"c1", "c1.xhtml"}}, {"c1"});
    parts.emplace_back("OEBPS/c1.xhtml", xhtml(body));
    return parts;
}

std::string text(const ZipParts& parts)
{
    const auto r = epubToText(makeZip(parts), {});
    EXPECT_TRUE(r.ok) << r.error;
    return r.text;
}

}  // namespace

class EpubFixture : public testing::TestWithParam<leafmill::test::FixtureCase> { };

TEST_P(EpubFixture, MatchesTheReferenceAndFindsTheChapters)
{
    leafmill::test::expectFixtureRead(epubToText, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Books, EpubFixture,
    testing::Values(
        leafmill::test::FixtureCase {
            "novel.epub", "novel", {"The Harbour", "The Letter", "What the Letter Said", "The Answer", "The Road"}},
        leafmill::test::FixtureCase {
            "novel-epub2.epub",
            "novel",
            {"The Salt Road", "The Harbour", "The Letter", "What the Letter Said", "The Answer", "The Road"}},
        leafmill::test::FixtureCase {
            "report.epub",
            "report",
            {"Summary", "Visitors and Loans", "Work Done", "Building", "Services", "Plans for Next Year"}},
        leafmill::test::FixtureCase {"cjk.epub", "cjk", {"第一章　春天", "第二章　夏天", "第三章　秋天"}}));

TEST(Epub, TocLevelsFollowTheNesting)
{
    const auto r = epubToText(leafmill::test::fixture("novel.epub"), {});
    std::vector<int> levels;
    for (const auto& chapter : r.chapters)
        levels.push_back(chapter.level);
    EXPECT_EQ(levels, (std::vector<int> {1, 1, 2, 2, 1}));
}

struct Shown {
    std::string body;
    std::string expected;
};

class EpubText : public testing::TestWithParam<Shown> { };

TEST_P(EpubText, WritesTheBlocksAsLines)
{
    EXPECT_EQ(text(oneChapter(GetParam().body)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, EpubText,
    testing::Values(
        Shown {"<h1>Title</h1><p>One\n  two</p><p>three<br/>four <em>a</em> <b>b</b></p>",
               "Title\r\nOne two\r\nthree\r\nfour a b\r\n"},
        Shown {"<p>caf&eacute;&nbsp;au&#160;lait &amp;lt; &#x263A;</p>", "café au lait &lt; ☺\r\n"},
        Shown {"<table><tr><th>a</th><th>b</th></tr><tr><td>1</td><td><p>2</p></td></tr></table>", "a\tb\r\n1\t2\r\n"},
        Shown {"<ol start=\"3\"><li><p>x</p></li><li value=\"9\">y</li><li>z</li></ol><ul><li>w</li></ul>",
               "3. x\r\n9. y\r\n10. z\r\n\u2022 w\r\n"},
        Shown {"<p>Word<a epub:type=\"noteref\" href=\"#n1\">1</a> end.<img alt=\"a picture\" src=\"p.png\"/></p>"
               "<aside epub:type=\"footnote\" id=\"n1\"><p>1 The note.</p></aside><p>After.</p>",
               "Word end.\r\nAfter.\r\n1 The note.\r\n"},
        Shown {"<p><ruby>漢<rt>kan</rt>字<rp>(</rp><rt>ji</rt><rp>)</rp></ruby></p><script>var x;</script>"
               "<pre>a  b\nc</pre>",
               "漢字\r\na  b\r\nc\r\n"}));

struct Refused {
    std::string what;
    ZipParts parts;
    std::string reason;  // a part of the reason
};

class EpubRefusal : public testing::TestWithParam<Refused> { };

TEST_P(EpubRefusal, GivesAReason)
{
    const auto r = epubToText(makeZip(GetParam().parts), {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(GetParam().reason), std::string::npos) << r.error;
}

std::string deepNesting()
{
    std::string s;
    for (int k = 0; k < 100000; ++k)
        s += "<div>";
    return s + "deep";
}

ZipParts withPart(ZipParts parts, std::string name, std::string bytes)
{
    parts.emplace_back(std::move(name), std::move(bytes));
    return parts;
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, EpubRefusal,
    testing::Values(
        Refused {"bomb", oneChapter("<p>" + std::string(20 * 1024 * 1024, 'a') + "</p>"), "zip bomb"},
        Refused {"drm",
                 withPart(oneChapter("<p>x</p>"), "META-INF/encryption.xml",
                          R"(<encryption xmlns="urn:oasis:names:tc:opendocument:xmlns:container" )"
                          R"(xmlns:enc="http://www.w3.org/2001/04/xmlenc#"><enc:EncryptedData>)"
                          R"(<enc:EncryptionMethod Algorithm="http://www.w3.org/2001/04/xmlenc#aes128-cbc"/>)"
                          R"(</enc:EncryptedData></encryption>)"),
                 "DRM"},
        Refused {"nocontainer", {{"mimetype", "application/epub+zip"}}, "container.xml"},
        Refused {"emptyspine", book({{"c1", "c1.xhtml"}}, {"missing"}), "spine"},
        Refused {"escape", withPart(book({{"c1", "../../../etc/passwd"}}, {"c1"}), "../../../etc/passwd", "x"),
                 "spine"},
        Refused {"deep", oneChapter(deepNesting()), "none of the book's documents"}),
    [](const testing::TestParamInfo<Refused>& param) { return param.param.what; });

TEST(EpubRefusal, NoZipAtAll)
{
    const auto r = epubToText("<html>not a book</html>", {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("zip"), std::string::npos) << r.error;
}

TEST(EpubSurvival, RepeatedSpineEntriesAndEntityBombsAreReadOnce)
{
    ZipParts parts = book({{"c1", "c1.xhtml"}, {"c2", "c2.xhtml"}}, {"c1", "c2", "c1", "nothing"});
    parts.emplace_back("OEBPS/c1.xhtml", xhtml("<p>first</p>"));
    parts.emplace_back("OEBPS/c2.xhtml",
                       R"(<?xml version="1.0"?><!DOCTYPE html [<!ENTITY lol "lol">)"
                       R"(<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]>)"
                       R"(<html><body><p>&lol2;</p></body></html>)");
    const auto r = epubToText(makeZip(parts), {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, "first\r\n&lol2;\r\n");
    EXPECT_EQ(r.warnings.size(), 2u);
}
