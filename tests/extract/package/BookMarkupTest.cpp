// The pieces of the Kindle and help book readers that work on markup and
// names without their libraries: older Kindle HTML made well-formed, help
// books' sitemaps, links and locales.
#include "extract/chm/ChmLocale.h"
#include "extract/chm/Sitemap.h"
#include "extract/mobi/TagSoup.h"
#include "extract/package/XmlDocument.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

namespace {

using namespace leafmill::extract;

TEST(TagSoup, BecomesWellFormedWithItsTextKept)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<p>a<br>b<hr>c</p>", "<p>a<br/>b<hr/>c</p>"},
        {"<P ALIGN=left><font size=7>T</font>", "<p align=\"left\"><font size=\"7\">T</font></p>"},
        {"<p>a<b>b</p>c</i>d", "<p>a<b>b</b></p>cd"},
        {"<img src=\"a\" alt='q\"<'>", "<img src=\"a\" alt=\"q&quot;&lt;\"/>"},
        {"<a b c=1 b=2 />", "<a b=\"b\" c=\"1\"/>"},
        {"<!DOCTYPE html><?xml x?><!-- c --><mbp:pagebreak>x", "<!-- c --><mbp:pagebreak>x</mbp:pagebreak>"},
        {"1 < 2 <", "1 &lt; 2 &lt;"},
        {"<p title=\"open", "<p title=\"open\"></p>"},
    };
    for (const auto& [html, expected] : cases) {
        const std::string repaired = mobi::wellFormed(html);
        EXPECT_EQ(repaired, expected) << html;
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(("<r>" + repaired + "</r>").c_str())) << html;
    }
    // Unclosed elements nest no deeper than the XML reader takes.
    std::string deep;
    for (int k = 0; k < 5000; ++k)
        deep += "<div>";
    EXPECT_NO_THROW(package::XmlDocument(mobi::wellFormed(deep), "deep.html"));
}

TEST(Sitemap, EntriesKeepTheirOrderAndLevels)
{
    const auto entries = chm::readSitemap(
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name = \"Name\" value= \"One\"><param name=Local "
        "value=\"a.htm\"></OBJECT><UL><LI><object type='text/sitemap'><PARAM NAME=\"Name\" VALUE=\"Two\">"
        "<param name=\"Name\" value=\"Zwei\"><param name=\"Local\" value=\"b.htm#x\"></object></UL>"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"No page\"></OBJECT>"
        "<OBJECT type=\"text/site properties\"><param name=\"Local\" value=\"c.htm\"></OBJECT></UL>");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(std::tie(entries[0].name, entries[0].local, entries[0].level), std::tuple("One", "a.htm", 1));
    EXPECT_EQ(std::tie(entries[1].name, entries[1].local, entries[1].level), std::tuple("Two", "b.htm#x", 2));

    const std::pair<std::string, std::string> links[] = {
        {"html/intro.htm#top", "/html/intro.htm"},
        {"book.chm::/a.htm", "/a.htm"},
        {"./a/../b.htm?q", "/b.htm"},
        {"a\\b.htm", "/a/b.htm"},
        {"../x.htm", ""},
        {"http://example.com/x.htm", ""},
    };
    for (const auto& [local, path] : links)
        EXPECT_EQ(chm::archivePath(local), path) << local;
}

TEST(ChmLocale, NamesTheCodePageOfItsScript)
{
    const std::pair<std::uint32_t, std::string_view> locales[] = {
        {0x0804, "GBK"},          {0x0404, "Big5"},         {0x0411, "Shift_JIS"},
        {0x0419, "windows-1251"}, {0x0C1A, "windows-1251"}, {0x041A, "windows-1250"},
        {0x0408, "windows-1253"}, {0x0409, "windows-1252"}, {0x0000, "windows-1252"},
    };
    for (const auto& [lcid, encoding] : locales)
        EXPECT_EQ(chm::localeEncoding(lcid), encoding) << std::hex << lcid;
}

}  // namespace
