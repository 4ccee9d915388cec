// The committed books and documents (see ../fixtures/sources/make-fixtures.sh
// and make-books.sh): the reference text and the chapters of their sources;
// the damaged and protected ones refused with their reasons.
#include "PackageFixtures.h"
#include "CaseName.h"
#include "Corpus.h"

#include "extract/Formats.h"

#include <cstdio>

namespace {

const std::filesystem::path kFixtures = LEAFMILL_FIXTURES;

using leafmill::test::Chapters;

struct FixtureCase {
    std::string file, reference;  // "novel.epub", "novel" for sources/novel.ref.txt
    Chapters chapters;
    bool sameParagraphs = false;  // the reference's paragraphs (parted by blank lines) are the text's
};

void PrintTo(const FixtureCase& fixture, std::ostream* out)
{
    *out << fixture.file;
}

class PackageFixture : public testing::TestWithParam<FixtureCase> { };

TEST_P(PackageFixture, MatchesTheReferenceAndFindsTheChapters)
{
    const FixtureCase& c = GetParam();
    const auto codePage = leafmill::CodePage::open("windows-1252");
    leafmill::extract::Options options;
    options.codePage = codePage.get();
    options.readEmbedded = leafmill::embeddedDocumentReader(*codePage);
    const leafmill::extract::Extractor extractor
        = leafmill::findSourceKind(c.file, leafmill::defaultDispatchTable())->extractor;
    const std::string bytes = leafmill::test::readFile(kFixtures / c.file);
    const leafmill::extract::Result r = extractor(bytes, options);
    ASSERT_TRUE(r.ok) << c.file << ": " << r.error;
    const double f1 = leafmill::test::wordF1(
        r.text, leafmill::test::readReference(kFixtures / "sources" / (c.reference + ".ref.txt")));
    std::printf("[ F1     ] %.4f %s\n", f1, c.file.c_str());
    EXPECT_GE(f1, 0.99) << c.file << "\n" << r.text;
    leafmill::test::expectChapters(r, c.chapters, c.file);
    if (c.sameParagraphs) {
        std::string reference = leafmill::test::readReference(kFixtures / "sources" / (c.reference + ".ref.txt"));
        for (std::size_t at = 0; (at = reference.find("\n\n", at)) != std::string::npos;)
            reference.replace(at, 2, "\r\n");
        EXPECT_EQ(r.text, reference.substr(0, reference.find_last_not_of('\n') + 1) + "\r\n") << c.file;
    }
    leafmill::test::expectSameHandedOn(extractor, bytes, options, r, c.file);
}

const Chapters kNovel
    = {{"The Harbour", 1}, {"The Letter", 1}, {"What the Letter Said", 2}, {"The Answer", 2}, {"The Road", 1}};
const Chapters kReport = {{"Summary", 1},  {"Visitors and Loans", 1}, {"Work Done", 1},
                          {"Building", 2}, {"Services", 2},           {"Plans for Next Year", 1}};
const Chapters kCjk = {{"第一章　春天", 1}, {"第二章　夏天", 1}, {"第三章　秋天", 1}};
const Chapters kGuide = {{"Welcome", 1}, {"Preparing the Soil", 1}, {"Watering in Winter", 2}, {"Caring for Tools", 1}};
const Chapters kCjkReport = {{"港口水质调查简报", 1}, {"概要", 2}, {"建议", 2}, {"记录", 2}};
const Chapters kStory = {{"The Salt Road", 1}, {"The Keeper of Lamps", 1}, {"What the Logbooks Said", 1}};
const Chapters kRussianMobi = {{"Глава первая. Берег", 1}, {"Глава вторая. Письмо", 1}, {"Глава третья. Огонь", 1}};

// The older Kindle format's table of contents as calibre writes it has one level.
Chapters flat(Chapters chapters)
{
    for (auto& chapter : chapters)
        chapter.second = 1;
    return chapters;
}
const Chapters kRussian
    = {{"Зимняя дорога", 1}, {"Глава первая. Станция", 1}, {"Глава вторая. Дом", 1}, {"Письмо", 2}, {"Утро", 2}};

Chapters withTitlePage(Chapters chapters, std::string title = "The Salt Road")
{
    chapters.insert(chapters.begin(), {title, 1});
    return chapters;
}

INSTANTIATE_TEST_SUITE_P(
    Files, PackageFixture,
    testing::Values(
        FixtureCase {"novel.epub", "novel", kNovel}, FixtureCase {"novel-epub2.epub", "novel", withTitlePage(kNovel)},
        FixtureCase {"report.epub", "report", kReport}, FixtureCase {"cjk.epub", "cjk", kCjk},
        FixtureCase {"cjk-folder.epub", "cjk", kCjk}, FixtureCase {"novel.docx", "novel", kNovel},
        FixtureCase {"report.docx", "report", kReport}, FixtureCase {"cjk.docx", "cjk", kCjk},
        FixtureCase {"novel.odt", "novel", kNovel}, FixtureCase {"report.odt", "report", kReport},
        FixtureCase {"report.fodt", "report", kReport}, FixtureCase {"cjk.odt", "cjk", kCjk},
        FixtureCase {"novel.fb2", "novel-fb2", withTitlePage(kNovel)},
        FixtureCase {"novel.fb2.zip", "novel-fb2", withTitlePage(kNovel)},
        FixtureCase {"novel-calibre.fb2", "novel-calibre-fb2", {}},
        FixtureCase {"report.fb2", "report", withTitlePage(kReport, "Annual Report of the Riverside Library")},
        FixtureCase {"cjk.fb2", "cjk-fb2", withTitlePage(kCjk, "山中的小屋")},
        FixtureCase {"russian-1251.fb2", "russian-fb2", kRussian}, FixtureCase {"russian.fbz", "russian-fb2", kRussian},
        FixtureCase {"sources/novel.md", "novel-md", kNovel}, FixtureCase {"sources/report.md", "report-md", kReport},
        FixtureCase {"sources/cjk.md", "cjk-md", kCjk}, FixtureCase {"novel.txtz", "novel-txtz", {}},
        FixtureCase {"cjk.txtz", "cjk-txtz", {}}, FixtureCase {"novel.htmlz", "novel-htmlz", withTitlePage(kNovel)},
        FixtureCase {"cjk.htmlz", "cjk-htmlz", withTitlePage(kCjk, "山中的小屋")},
        FixtureCase {"report.mobi", "report", flat(kReport)},
        FixtureCase {"report-loose.mobi", "report", flat(kReport)}, FixtureCase {"cjk.azw3", "cjk", kCjk},
        FixtureCase {"ru.mobi", "ru", kRussianMobi}, FixtureCase {"report.pdb", "report-pdb", {}},
        FixtureCase {"lighthouse.mobi", "lighthouse", {}}, FixtureCase {"guide.chm", "chm/guide", kGuide},
        FixtureCase {"cjk.chm", "chm/cjk", kCjk}, FixtureCase {"cjk.djvu", "cjk-djvu", kCjkReport},
        FixtureCase {"story.djvu", "story-djvu", kStory, true},
        FixtureCase {"story-table.djvu", "story-table-djvu", kStory, true}),
    leafmill::test::NamedBy<&FixtureCase::file>());

struct RefusalCase {
    std::string file, reason;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out)
{
    *out << refusal.file;
}

class BrokenFile : public testing::TestWithParam<RefusalCase> { };

TEST_P(BrokenFile, IsRefusedWithItsReason)
{
    const RefusalCase& c = GetParam();
    const leafmill::extract::Result r = leafmill::findSourceKind(c.file, leafmill::defaultDispatchTable())
                                            ->extractor(leafmill::test::readFile(kFixtures / "broken" / c.file), {});
    EXPECT_FALSE(r.ok) << c.file;
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << c.file << ": " << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenFile,
    testing::Values(RefusalCase {"drm.mobi", "protected by DRM"}, RefusalCase {"cut.mobi", "damaged"},
                    RefusalCase {"huge-index.mobi", "declares more entries than the file holds"},
                    RefusalCase {"topaz.azw", "Topaz"}, RefusalCase {"replica.azw", "print replica"},
                    RefusalCase {"cut.chm", "damaged"}, RefusalCase {"zero-window.chm", "compression settings"},
                    RefusalCase {"settings-section.chm", "compression settings"},
                    RefusalCase {"settings-nul.chm", "compression settings"},
                    RefusalCase {"settings-long-length.chm", "compression settings"},
                    RefusalCase {"cut.djvu", "damaged"}, RefusalCase {"image-only.djvu", "scanned pages without text"}),
    leafmill::test::NamedBy<&RefusalCase::file>());

}  // namespace
