#include "CaseName.h"
#include "extract/Formats.h"
#include "extract/pdf/PdfDocument.h"
#include "extract/pdf/PdfModuleLoader.h"
#include "extract/pdf/PdfToText.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

using leafmill::extract::pdfToText;
using leafmill::extract::Result;

namespace {

const std::filesystem::path fixtures = LEAFMILL_TEST_DATA "/fixtures";

Result readFixture(const std::string& name)
{
    return pdfToText(leafmill::test::readFile(fixtures / name), {});
}

struct Readable {
    const char* pdf;
    const char* reference;
    const char* warning;  // part of the one expected warning, or empty for none
    // The word processor's exports hold a paragraph a line; pdftotext's and
    // hand-written ones hold the printed lines, pdftotext's the page numbers too.
    bool paragraphLines = true;
    double floor = 0.99;
};

void PrintTo(const Readable& fixture, std::ostream* out)
{
    *out << fixture.pdf;
}

}  // namespace

class PdfFixture : public testing::TestWithParam<Readable> { };

TEST_P(PdfFixture, MatchesTheReferenceWithoutRunningLines)
{
    const Readable& fixture = GetParam();
    const Result r = readFixture(fixture.pdf);
    ASSERT_TRUE(r.ok) << r.error;
    const std::string reference = leafmill::test::readReference(fixtures / fixture.reference);
    EXPECT_GE(leafmill::test::wordF1(r.text, reference), fixture.floor) << r.text;
    EXPECT_EQ(r.text.find("Volunteer Report"), std::string::npos);
    EXPECT_EQ(r.text.find("Page "), std::string::npos);
    // Paragraphs are lines: every paragraph of the reference is one line.
    std::string paragraphs = reference;
    for (std::size_t at = 0; (at = paragraphs.find("\n\n", at)) != std::string::npos;)
        paragraphs.erase(at, 1);
    if (fixture.paragraphLines) {
        EXPECT_EQ(std::count(r.text.begin(), r.text.end(), '\n'),
                  std::count(paragraphs.begin(), paragraphs.end(), '\n'));
    }
    EXPECT_EQ(std::count(r.text.begin(), r.text.end(), '\n'), std::count(r.text.begin(), r.text.end(), '\r'));
    if (*fixture.warning == '\0') {
        EXPECT_TRUE(r.warnings.empty());
    } else {
        ASSERT_EQ(r.warnings.size(), 1U);
        EXPECT_NE(r.warnings[0].find(fixture.warning), std::string::npos) << r.warnings[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PdfFixture,
    testing::Values(Readable {"report.pdf", "report.ref.txt", ""}, Readable {"restricted.pdf", "report.ref.txt", ""},
                    Readable {"cjk.pdf", "cjk.ref.txt", ""}, Readable {"unicode.pdf", "unicode.ref.txt", ""},
                    Readable {"rtl.pdf", "rtl.ref.txt", ""}, Readable {"gaps.pdf", "gaps.ref.txt", "", false},
                    Readable {"bookmarks.pdf", "bookmarks.ref.txt", "", false, 0.98},
                    Readable {"scanned.pdf", "scanned.ref.txt", "page(s) 2 have no text"}),
    leafmill::test::NamedBy<&Readable::pdf>());

// Each bookmark's chapter starts at the line its heading starts, also when
// the page prints the title otherwise (bookmarks.tex).
TEST(PdfChapters, BookmarksStartWhereTheirHeadingsAre)
{
    struct Expected {
        std::string title;
        int level;
        std::string printed;  // what the text holds there, ending its line
    };
    const std::vector<Expected> report = {{"Harbour Water Survey, Spring Season", 1, ""},
                                          {"Summary", 2, ""},
                                          {"Methods", 1, ""},
                                          {"Stations and timing", 2, ""},
                                          {"Instruments", 2, ""},
                                          {"Results", 1, ""},
                                          {"Oxygen and temperature", 2, ""},
                                          {"Turbidity and birds", 2, ""},
                                          {"Recommendations", 1, ""}};
    const std::vector<Expected> bookmarks = {{"Title page", 1, "The Harbour Book"},
                                             {"Chapter 1: Creators", 1, "CHAPTER ONE Creators"},
                                             {"Early walls", 2, "0.1 The early walls of the old harbour"},
                                             {"Data-Flow and Sluices", 2, "0.2 Data-Flow and Sluices"},
                                             {"Keepers", 1, "Chapter 1\r\nKeepers"},
                                             {"Boats", 2, "1.1 Boats"}};
    for (const auto& [pdf, expected] : {std::pair {"report.pdf", report}, std::pair {"bookmarks.pdf", bookmarks}}) {
        const Result r = readFixture(pdf);
        ASSERT_TRUE(r.ok) << pdf;
        ASSERT_EQ(r.chapters.size(), expected.size()) << pdf;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const auto& chapter = r.chapters[i];
            const std::string printed = expected[i].printed.empty() ? expected[i].title : expected[i].printed;
            EXPECT_EQ(std::pair(chapter.title, chapter.level), std::pair(expected[i].title, expected[i].level));
            EXPECT_EQ(r.text.substr(chapter.offset, printed.size() + 2), printed + "\r\n") << pdf;
            EXPECT_TRUE(chapter.offset == 0 || r.text.compare(chapter.offset - 2, 2, "\r\n") == 0) << pdf;
        }
    }
}

TEST(PdfRefusals, SayWhy)
{
    const std::string report = leafmill::test::readFile(fixtures / "report.pdf");
    const struct {
        std::string bytes;
        const char* reason;
    } cases[] = {
        {leafmill::test::readFile(fixtures / "encrypted.pdf"), "needs a password"},
        {leafmill::test::readFile(fixtures / "image-only.pdf"), "no text layer"},
        {"%PDF-1.7\n" + std::string(4000, 'x'), "damaged or not a PDF"},
        {"%PDF-", "damaged or not a PDF"},
        {"PK\3\4 a zip, not a PDF", "not a PDF"},
        {"", "not a PDF"},
    };
    for (const auto& c : cases) {
        const Result r = pdfToText(c.bytes, {});
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
    }
}

// unicode.pdf (see make-unicode-pdf.py): characters of two, three and four
// bytes in UTF-8, the first word one inch from the left edge, lines in
// reading order whatever order the page draws them in, nothing outside the
// crop box.
TEST(PdfText, IsUtf8OfEveryLengthAndWordsComeInPointsInReadingOrder)
{
    EXPECT_EQ(readFixture("unicode.pdf").text, "Plain \u00E9\u4E2D\U0001F600\U00010000 Second\r\n");
    const std::string bytes = leafmill::test::readFile(fixtures / "unicode.pdf");
    std::string reason;
    const auto document = leafmill::extract::pdf::PdfDocument::open(bytes, reason);
    ASSERT_TRUE(document) << reason;
    ASSERT_EQ(document->pageCount(), 1);
    const auto words = document->pageWords(0);
    ASSERT_EQ(words.size(), 3U);
    EXPECT_EQ(words[0].text + words[2].text, "PlainSecond");
    // Helvetica's "Plain " is 30 points wide at 12 points; the four codes 7.2 points each.
    EXPECT_NEAR(words[0].left, 72, 0.01);
    EXPECT_NEAR(words[1].left, 102, 0.1);
    EXPECT_NEAR(words[1].right, 130.8, 0.1);
    // No page before the first or past the last, not even the one laid out last.
    EXPECT_TRUE(document->pageWords(1).empty());
    EXPECT_TRUE(document->pageWords(-1).empty());
}

// A page asked for after a later one reads as it did first, though the
// library let it go; a page the document counts but its page tree lacks has
// no words (not those of the page drawn before it).
TEST(PdfText, PagesReadAgainAreTheSameAndMissingOnesEmpty)
{
    const std::string report = leafmill::test::readFile(fixtures / "report.pdf");
    std::string reason;
    const auto first = leafmill::extract::pdf::PdfDocument::open(report, reason);
    const auto other = leafmill::extract::pdf::PdfDocument::open(report, reason);
    ASSERT_TRUE(first && other) << reason;
    ASSERT_GE(first->pageCount(), 2);
    const auto expected = first->pageWords(0);
    ASSERT_FALSE(other->pageWords(1).empty());
    const auto again = other->pageWords(0);
    ASSERT_EQ(again.size(), expected.size());
    for (std::size_t i = 0; i < again.size(); ++i)
        EXPECT_EQ(std::tie(again[i].text, again[i].left, again[i].top),
                  std::tie(expected[i].text, expected[i].left, expected[i].top));

    std::string counted = leafmill::test::readFile(fixtures / "unicode.pdf");
    const std::size_t count = counted.find("/Count 1");
    ASSERT_NE(count, std::string::npos);
    counted[count + 7] = '2';
    const auto lacking = leafmill::extract::pdf::PdfDocument::open(counted, reason);
    ASSERT_TRUE(lacking) << reason;
    ASSERT_EQ(lacking->pageCount(), 2);
    EXPECT_FALSE(lacking->pageWords(0).empty());
    EXPECT_TRUE(lacking->pageWords(1).empty());
}

// Pages that read alike are the text, not running lines; forms that draw
// forms twice over, forty levels deep, are read in part instead of for days.
TEST(PdfText, PagesAlikeStayAndEndlessFormsAreReadInPart)
{
    const auto read
        = [](const char* name) { return pdfToText(leafmill::test::readFile(leafmill::test::hostileDir() / name), {}); };
    EXPECT_EQ(read("same.pdf").text, "The same words on every page\r\nThe same words on every page\r\n");
    const Result forms = read("forms.pdf");
    ASSERT_TRUE(forms.ok) << forms.error;
    EXPECT_NE(forms.text.find("Forms within forms\r\n"), std::string::npos) << forms.text;
    ASSERT_EQ(forms.warnings.size(), 1U);
    EXPECT_TRUE(forms.warnings[0].starts_with("page(s) 1 draw far more than a page can show")) << forms.warnings[0];
}

TEST(PdfDispatch, PdfSourcesGoToThePdfReader)
{
    const auto* kind = leafmill::findSourceKind("/books/Report.PDF", leafmill::defaultDispatchTable());
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->extractor, &pdfToText);
}

TEST(PdfModule, OneThatCannotBeLoadedIsAReasonNamingIt)
{
    const leafmill::test::TempDir dir;
    leafmill::test::writeFile(dir / "leafmill-pdf.so", "not a shared library");
    const struct {
        std::filesystem::path place;
        std::string named;
    } cases[] = {
        {dir / "absent" / "leafmill-pdf.so", "is in none of the folders " + (dir / "absent").string()},
        {dir / "leafmill-pdf.so", (dir / "leafmill-pdf.so").string()},
    };
    for (const auto& c : cases) {
        const leafmill::extract::pdf::LoadedPdfModule loaded = leafmill::extract::pdf::loadPdfModule({c.place});
        EXPECT_EQ(loaded.module, nullptr);
        EXPECT_TRUE(loaded.failure.starts_with("the PDF reader module could not be loaded: ")) << loaded.failure;
        EXPECT_NE(loaded.failure.find(c.named), std::string::npos) << loaded.failure;
    }
}

namespace {

// A PDF of `pages` pages of one line each ("page 1", ...), written by hand.
std::string manyPagePdf(int pages)
{
    std::vector<std::string> objects {"<< /Type /Catalog /Pages 2 0 R >>", "",
                                      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string kids;
    for (int i = 1; i <= pages; ++i) {
        const std::string page = std::to_string(objects.size() + 1);
        const std::string content = "BT /F1 12 Tf 20 100 Td (page " + std::to_string(i) + ") Tj ET";
        kids += page + " 0 R ";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Resources << /Font << /F1 3 0 R >> "
                          ">> /Contents "
                          + std::to_string(objects.size() + 2) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", pdf.size());
        xref += entry;
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t start = pdf.size();
    return pdf + xref + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + std::to_string(start) + "\n%%EOF\n";
}

}  // namespace

// The library looks anywhere in a document's bytes: a long one's are given
// back every so many pages, whichever thread lays them out, and the pages
// still read whole and in order.
TEST(PdfInput, ALongDocumentsBytesAreGivenBackAsPagesAreRead)
{
    const std::string pdf = manyPagePdf(130);
    std::mutex guard;
    std::vector<std::string_view> released;
    leafmill::extract::Options options;
    options.release = [&](std::string_view bytes) {
        const std::lock_guard lock(guard);
        released.push_back(bytes);
    };
    const Result r = pdfToText(pdf, options);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(released.size(), 2u) << "one release per 64 pages read";
    for (const std::string_view bytes : released)
        EXPECT_TRUE(bytes.data() == pdf.data() && bytes.size() == pdf.size());
    const std::size_t first = r.text.find("page 1\r\n"), last = r.text.find("page 130\r\n");
    ASSERT_NE(last, std::string::npos) << r.text.substr(0, 200);
    EXPECT_LT(first, r.text.find("page 64\r\n"));
    EXPECT_LT(r.text.find("page 65\r\n"), last);
}
