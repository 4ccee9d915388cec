// Every page of the corpus: no failure, text that reads like the page and
// comes close to the shipped expected text where there is one.
#include "HtmlTestSupport.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <algorithm>
#include <iostream>

namespace leafmill::extract::test {
namespace {

using leafmill::test::CorpusEntry;

bool isUtf8(std::string_view text)
{
    const auto utf8 = CodePage::open("UTF-8");
    return utf8->toUtf8(text) == text;
}

class HtmlCorpus : public ::testing::TestWithParam<CorpusEntry> { };

TEST_P(HtmlCorpus, ConvertsToPlausibleText)
{
    const CorpusEntry& entry = GetParam();
    const std::string bytes = leafmill::test::readFile(entry.file);
    const Result result = convert(bytes);
    ASSERT_TRUE(result.ok) << result.error;
    for (const std::string& warning : result.warnings)
        std::cout << "  warning: " << warning << "\n";

    EXPECT_TRUE(isUtf8(result.text));
    // Markup never survives as text: whatever '<' remains came from &lt;.
    const auto references = [&](std::string_view what) {
        std::size_t n = 0;
        for (std::size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_LE(static_cast<std::size_t>(std::count(result.text.begin(), result.text.end(), '<')),
              references("&lt;") + references("&#60;") + references("&LT;"));
    EXPECT_EQ(result.text.find("</script>"), std::string::npos);
    EXPECT_TRUE(result.text.empty() || result.text.ends_with("\r\n"));

    // Every page has visible text but the one whose expected text is empty.
    const auto expected = entry.reference();
    if (!expected || leafmill::test::readFile(*expected).find_first_not_of(" \r\n\t") != std::string::npos) {
        EXPECT_NE(result.text.find_first_not_of(" \r\n\t"), std::string::npos) << "no text";
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, HtmlCorpus, ::testing::ValuesIn(leafmill::test::corpusEntries("html")),
                         leafmill::test::corpusTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(HtmlCorpus);

TEST(HtmlCorpusSummary, PagesReadCloseToTheirExpectedTexts)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("html");
    leafmill::test::expectCloseToReferences("html", {0.75, 0.95}, [](const CorpusEntry& entry) {
        return std::optional<std::string>(convert(leafmill::test::readFile(entry.file)).text);
    });
}

// Known words of pages in other character sets, each read through its own
// route: a byte-order mark, a <meta> declaration, a wrong declaration, none.
TEST(HtmlCorpusCharsets, KnownWordsComeOutRight)
{
    struct Case {
        const char* file;
        const char* codePage;
        std::string_view word;
    };
    const Case cases[] = {
        {"tika_testHTML_charset_utf16le.html", "windows-1252", "Title"},
        {"tika_testHTMLNoisyMetaEncoding_1.html", "windows-1252",
         "\xD8\xA7\xD9\x84\xD8\xA7\xD8\xAA\xD8\xAD\xD8\xA7\xD8\xAF"},
        {"read_qq.html", "windows-1252", "\xE8\x85\xBE\xE8\xAE\xAF"},
        {"traf_archive.org.he.xinhuanet.com.25340717.html", "windows-936", "\xE6\x96\xB0\xE5\x8D\x8E"},
        {"traf_landwirt.com.sensortechnik.html", "windows-1252", "f\xC3\xBCr"},
        {"insc_wikipedia-consequtive-links-and-umlauts.html", "windows-1252", "\xC3\xBC"},
    };
    LEAFMILL_SKIP_WITHOUT_CORPUS("html");
    for (const Case& c : cases) {
        const auto file = leafmill::test::corpusDir() / "html" / c.file;
        const std::string text = textOf(leafmill::test::readFile(file), c.codePage);
        EXPECT_NE(text.find(c.word), std::string::npos) << c.file;
    }
}

}  // namespace
}  // namespace leafmill::extract::test
