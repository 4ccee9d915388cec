// The Markdown reader parses a document a run of blocks at a time: cut
// wherever it may be, the text and chapters are those of the whole.
#include "PackageFixtures.h"

#include "extract/markdown/MarkdownToText.h"
#include "text/CodePage.h"

#include <cstdint>
#include <string>

namespace {

using leafmill::extract::markdownToText;

// Cuts may come after every blank line; each part of the document needs
// what another holds or leaves open.
constexpr std::string_view kDocument = "---\n"
                                       "title: Salt\n"
                                       "---\n"
                                       "# The road\n"
                                       "\n"
                                       "See [the road][R] and [nowhere].\n"
                                       "\n"
                                       "1. first\n"
                                       "\n"
                                       "1. second\n"
                                       "\n"
                                       "\n"
                                       "1. third\n"
                                       "\n"
                                       "[unused]: /u\n"
                                       "\n"
                                       "1. again\n"
                                       "\n"
                                       "```\n"
                                       "code\n"
                                       "\n"
                                       "[fake]: /not-a-definition\n"
                                       "```\n"
                                       "\n"
                                       "<!--\n"
                                       "\n"
                                       "hidden\n"
                                       "-->\n"
                                       "\n"
                                       "## Marsh\n"
                                       "\n"
                                       "- item\n"
                                       "\n"
                                       "  ```\n"
                                       "  inside\n"
                                       "\n"
                                       "After [fake] and [R].\n"
                                       "\n"
                                       "~~~\n"
                                       "fenced\n"
                                       "\n"
                                       "kept\n"
                                       "~~~\n"
                                       "\n"
                                       "> quoted\n"
                                       "\n"
                                       "| a | b |\n"
                                       "|---|---|\n"
                                       "\n"
                                       "[r]: http://example.com/road\n";

constexpr std::string_view kText = "The road\r\n"
                                   "See the road and [nowhere].\r\n"
                                   "1. first\r\n"
                                   "2. second\r\n"
                                   "3. third\r\n"
                                   "1. again\r\n"
                                   "code\r\n"
                                   "\r\n"
                                   "[fake]: /not-a-definition\r\n"
                                   "Marsh\r\n"
                                   "- item\r\n"
                                   // The fence the item leaves open keeps its blank line.
                                   "inside\r\n"
                                   "\r\n"
                                   "After [fake] and R.\r\n"
                                   "fenced\r\n"
                                   "\r\n"
                                   "kept\r\n"
                                   "quoted\r\n"
                                   "a\tb\r\n";

TEST(MarkdownRuns, ReadAsTheWholeWhereverTheDocumentIsCut)
{
    const auto codePage = leafmill::CodePage::open("windows-1252");
    leafmill::extract::Options options;
    options.codePage = codePage.get();
    for (const std::size_t runSize : {std::size_t {1}, std::size_t {40}, std::size_t {200}, SIZE_MAX}) {
        const std::string what = "runs of " + std::to_string(runSize);
        const leafmill::extract::Result r = markdownToText(kDocument, options, runSize);
        ASSERT_TRUE(r.ok) << what;
        EXPECT_EQ(r.text, kText) << what;
        leafmill::test::expectChapters(r, {{"The road", 1}, {"Marsh", 2}}, what);
    }
}

}  // namespace
