// Every page of the corpus: text that reads like the page and comes close to
// the shipped expected text where there is one.
#include "HtmlTestSupport.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <algorithm>

namespace leafmill::extract::test {
namespace {

using leafmill::test::CorpusEntry;

// What must hold for any page's text; the text to score.
std::optional<std::string> plausibleText(const CorpusEntry& entry)
{
    const std::string bytes = leafmill::test::readFile(entry.file);
    const Result result = convert(bytes);
    EXPECT_TRUE(result.ok) << entry.name << ": " << result.error;
    EXPECT_EQ(CodePage::open("UTF-8")->toUtf8(result.text), result.text) << entry.name;
    // Markup never survives as text: whatever '<' remains came from &lt;.
    std::size_t references = 0;
    for (std::string_view what : {"&lt;", "&#60;", "&LT;"})
        for (std::size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1))
            ++references;
    EXPECT_LE(static_cast<std::size_t>(std::count(result.text.begin(), result.text.end(), '<')), references)
        << entry.name;
    EXPECT_EQ(result.text.find("</script>"), std::string::npos) << entry.name;
    EXPECT_TRUE(result.text.empty() || result.text.ends_with("\r\n")) << entry.name;
    // Decoded, filtered and handed on a piece at a time, the page gives the same text and chapters.
    const Result inPieces = convertInPieces(bytes, 4096);
    EXPECT_TRUE(inPieces.text == result.text) << entry.name;
    EXPECT_EQ(inPieces.chapters.size(), result.chapters.size()) << entry.name;
    for (std::size_t k = 0; k < std::min(inPieces.chapters.size(), result.chapters.size()); ++k)
        EXPECT_TRUE(inPieces.chapters[k].title == result.chapters[k].title
                    && inPieces.chapters[k].offset == result.chapters[k].offset)
            << entry.name << " chapter " << k;
    // Every page has visible text but the one whose expected text is empty.
    const auto expected = entry.reference();
    if (!expected || leafmill::test::readFile(*expected).find_first_not_of(" \r\n\t") != std::string::npos) {
        EXPECT_NE(result.text.find_first_not_of(" \r\n\t"), std::string::npos) << entry.name << ": no text";
    }
    return result.text;
}

TEST(HtmlCorpus, PagesReadPlausiblyAndCloseToTheirExpectedTexts)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("html");
    leafmill::test::expectCloseToReferences("html", {0.75, 0.95}, plausibleText);
}

// Known words of pages in other character sets, each read through its own
// route: a byte-order mark, a <meta> declaration, a wrong declaration, none.
TEST(HtmlCorpus, KnownWordsOfOtherCharacterSetsComeOutRight)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("html");
    const std::tuple<const char*, const char*, std::string_view> cases[] = {
        {"tika_testHTML_charset_utf16le.html", "windows-1252", "Title"},
        {"tika_testHTMLNoisyMetaEncoding_1.html", "windows-1252",
         "\xD8\xA7\xD9\x84\xD8\xA7\xD8\xAA\xD8\xAD\xD8\xA7\xD8\xAF"},
        {"read_qq.html", "windows-1252", "\xE8\x85\xBE\xE8\xAE\xAF"},
        {"traf_archive.org.he.xinhuanet.com.25340717.html", "windows-936", "\xE6\x96\xB0\xE5\x8D\x8E"},
        {"traf_landwirt.com.sensortechnik.html", "windows-1252", "f\xC3\xBCr"},
        {"insc_wikipedia-consequtive-links-and-umlauts.html", "windows-1252", "\xC3\xBC"},
    };
    for (const auto& [file, codePage, word] : cases)
        EXPECT_NE(textOf(leafmill::test::readFile(leafmill::test::corpusDir() / "html" / file), codePage).find(word),
                  std::string::npos)
            << file;
}

}  // namespace
}  // namespace leafmill::extract::test
