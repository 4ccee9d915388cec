// The committed books and documents (see ../fixtures/sources/make-fixtures.sh):
// the reference text and the chapters of their Markdown source.
#include "PackageFixtures.h"
#include "CaseName.h"
#include "Corpus.h"

#include "extract/docx/DocxToText.h"
#include "extract/epub/EpubToText.h"
#include "extract/odt/OdtToText.h"

#include <cstdio>

namespace {

const std::filesystem::path kFixtures = LEAFMILL_FIXTURES;

using leafmill::test::Chapters;

struct FixtureCase {
    std::string file, reference;  // "novel.epub", "novel" for sources/novel.ref.txt
    Chapters chapters;
};

void PrintTo(const FixtureCase& fixture, std::ostream* out)
{
    *out << fixture.file;
}

class PackageFixture : public testing::TestWithParam<FixtureCase> { };

TEST_P(PackageFixture, MatchesTheReferenceAndFindsTheChapters)
{
    const FixtureCase& c = GetParam();
    const std::string kind = std::filesystem::path(c.file).extension().string();
    const auto read = kind == ".epub" ? leafmill::extract::epubToText
        : kind == ".docx"             ? leafmill::extract::docxToText
                                      : leafmill::extract::odtToText;
    const leafmill::extract::Result r = read(leafmill::test::readFile(kFixtures / c.file), {});
    ASSERT_TRUE(r.ok) << c.file << ": " << r.error;
    const double f1 = leafmill::test::wordF1(
        r.text, leafmill::test::readReference(kFixtures / "sources" / (c.reference + ".ref.txt")));
    std::printf("[ F1     ] %.4f %s\n", f1, c.file.c_str());
    EXPECT_GE(f1, 0.99) << c.file << "\n" << r.text;
    leafmill::test::expectChapters(r, c.chapters, c.file);
}

const Chapters kNovel
    = {{"The Harbour", 1}, {"The Letter", 1}, {"What the Letter Said", 2}, {"The Answer", 2}, {"The Road", 1}};
const Chapters kReport = {{"Summary", 1},  {"Visitors and Loans", 1}, {"Work Done", 1},
                          {"Building", 2}, {"Services", 2},           {"Plans for Next Year", 1}};
const Chapters kCjk = {{"第一章　春天", 1}, {"第二章　夏天", 1}, {"第三章　秋天", 1}};

Chapters withTitlePage(Chapters chapters)
{
    chapters.insert(chapters.begin(), {"The Salt Road", 1});
    return chapters;
}

INSTANTIATE_TEST_SUITE_P(
    Files, PackageFixture,
    testing::Values(FixtureCase {"novel.epub", "novel", kNovel},
                    FixtureCase {"novel-epub2.epub", "novel", withTitlePage(kNovel)},
                    FixtureCase {"report.epub", "report", kReport}, FixtureCase {"cjk.epub", "cjk", kCjk},
                    FixtureCase {"novel.docx", "novel", kNovel}, FixtureCase {"report.docx", "report", kReport},
                    FixtureCase {"cjk.docx", "cjk", kCjk}, FixtureCase {"novel.odt", "novel", kNovel},
                    FixtureCase {"report.odt", "report", kReport}, FixtureCase {"report.fodt", "report", kReport},
                    FixtureCase {"cjk.odt", "cjk", kCjk}),
    leafmill::test::NamedBy<&FixtureCase::file>());

}  // namespace
