// The package readers on documents built from cases/: the skeleton package of
// each format with the body and parts of each case.
#include "CaseName.h"
#include "PackageFixtures.h"

#include "extract/Formats.h"
#include "extract/common/ListNumbers.h"

namespace {

using leafmill::test::makeZip;
using leafmill::test::package;
using leafmill::test::ReadCase;

class PackageReader : public testing::TestWithParam<ReadCase> { };

TEST_P(PackageReader, ReadsWhatTheWordProcessorShows)
{
    const std::string name = "case." + GetParam().format;
    leafmill::test::expectRead(leafmill::findSourceKind(name, leafmill::defaultDispatchTable())->extractor, GetParam());
}

const auto byWhat
    = [](const auto& info) { return leafmill::test::caseName(info.param.format + " " + info.param.what); };
INSTANTIATE_TEST_SUITE_P(Docx, PackageReader, testing::ValuesIn(leafmill::test::readCases("docx")), byWhat);
INSTANTIATE_TEST_SUITE_P(Odt, PackageReader, testing::ValuesIn(leafmill::test::readCases("odt")), byWhat);
INSTANTIATE_TEST_SUITE_P(Epub, PackageReader, testing::ValuesIn(leafmill::test::readCases("epub")), byWhat);
INSTANTIATE_TEST_SUITE_P(Fb2, PackageReader, testing::ValuesIn(leafmill::test::readCases("fb2")), byWhat);
INSTANTIATE_TEST_SUITE_P(Markdown, PackageReader, testing::ValuesIn(leafmill::test::readCases("md")), byWhat);
INSTANTIATE_TEST_SUITE_P(ZippedBooks, PackageReader, testing::ValuesIn(leafmill::test::readCases("txtz")), byWhat);

// Packages missing what makes them one, and ones too big or too deep to read.
std::vector<ReadCase> hostileCases()
{
    const std::string odt = "application/vnd.oasis.opendocument.text";
    const auto zipped = [](leafmill::test::ZipParts parts) { return [parts] { return makeZip(parts); }; };
    std::vector<ReadCase> cases = {
        {"docx", "no document", zipped({{"word/other.xml", "<x/>"}}), "", "no Word document"},
        {"odt", "no content", zipped({{"mimetype", odt}}), "", "content.xml"},
        {"odt", "word", zipped({{"word/document.xml", "<x/>"}, {"content.xml", "<x/>"}}), "", "Word document"},
        {"epub", "no container", zipped({{"mimetype", "application/epub+zip"}}), "", "container.xml"},
        {"fb2", "zip without a book", zipped({{"book.txt", "x"}}), "", "no FictionBook"},
    };
    for (const auto& [format, unit, deep] : {std::tuple {"docx", "<w:sdt>", "nests"},
                                             {"odt", "<text:span>", "nests"},
                                             {"fb2", "<section>", "nests"},
                                             {"epub", "<div>", "none of the book's documents"}}) {
        const std::string kind = format;
        // Ten megabytes of markup would take a third of a gigabyte as a tree.
        cases.push_back({kind, "bomb", [kind] { return package(kind, leafmill::test::repeated("<p/>", 2'500'000)); },
                         "", "more elements"});
        cases.push_back(
            {kind, "deep",
             [kind, unit = std::string(unit)] { return package(kind, leafmill::test::repeated(unit, 100000)); }, "",
             deep});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Hostile, PackageReader, testing::ValuesIn(hostileCases()), byWhat);

// A book longer than the pieces it is decoded in (its Shift_JIS characters
// are cut between them), whose notes, between two main bodies, are too long
// to be kept while the main text is read: the main bodies come first, then
// the notes whole; zipped, the same.
TEST(Fb2LongBook, ReadsTheNotesAfterTheMainText)
{
    std::string main, notes;
    const auto paragraphs = [](std::string_view words, int count, std::string& text) {
        std::string xml;
        for (int k = 0; k < count; ++k) {
            const std::string line = std::string(words) + " " + std::to_string(k);
            xml += "<p>" + line + "</p>\n";
            text += line + "\r\n";
        }
        return xml;
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><FictionBook><body><section>";
    xml += paragraphs("山の小屋", 3000, main) + "</section></body><body name=\"notes\"><section>";
    xml += paragraphs("冬の道の注", 600000, notes) + "</section></body><body><p>終わり</p></body></FictionBook>";
    main += "終わり\r\n";
    const std::string book = leafmill::CodePage::open("Shift_JIS")->fromUtf8(xml);

    const auto read = leafmill::findSourceKind("book.fb2", leafmill::defaultDispatchTable())->extractor;
    for (const std::string& bytes : {book, makeZip({{"book.fb2", book}})}) {
        const leafmill::extract::Result r = read(bytes, {});
        ASSERT_TRUE(r.ok) << r.error;
        // Not EXPECT_EQ: a difference would print megabytes.
        EXPECT_TRUE(r.text == main + notes) << r.text.size() << " bytes, not " << (main + notes).size();
    }
}

// Some tools zip the folder that holds a book rather than its files, or
// leave the container out: the package document is found all the same.
TEST(EpubPlaces, AFolderZippedWithTheBookOrNoContainer)
{
    const auto skeleton = [](const std::string& folder, bool container) {
        leafmill::test::ZipParts parts;
        const std::filesystem::path root = leafmill::test::kCases / "epub";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string name = entry.path().lexically_relative(root).generic_string();
            if (!entry.is_regular_file() || (!container && name.starts_with("META-INF")))
                continue;
            std::string bytes = leafmill::test::readFile(entry.path());
            if (const std::size_t at = bytes.find("@BODY@"); at != std::string::npos)
                bytes.replace(at, 6, "<p>Inside</p>");
            parts.emplace_back(folder + name, bytes);
        }
        return makeZip(parts);
    };
    const auto read = leafmill::findSourceKind("book.epub", leafmill::defaultDispatchTable())->extractor;
    for (const auto& [folder, container] : {std::pair {"epub/", true}, {"", false}, {"a/b/", false}}) {
        const leafmill::extract::Result r = read(skeleton(folder, container), {});
        ASSERT_TRUE(r.ok) << folder << ": " << r.error;
        EXPECT_EQ(r.text, "Inside\r\n") << folder;
    }
    leafmill::test::ZipParts noBook = {{"mimetype", "application/epub+zip"}, {"OEBPS/c1.xhtml", "<p>x</p>"}};
    EXPECT_NE(read(makeZip(noBook), {}).error.find("container.xml"), std::string::npos);
}

struct Numbered {
    long n;
    leafmill::extract::NumberStyle style;
    std::string expected;
};

class NumberFormat : public testing::TestWithParam<Numbered> { };

TEST_P(NumberFormat, WritesTheNumberAsWordProcessorsDo)
{
    EXPECT_EQ(leafmill::extract::formatNumber(GetParam().n, GetParam().style), GetParam().expected);
}

using Style = leafmill::extract::NumberStyle;
INSTANTIATE_TEST_SUITE_P(
    Styles, NumberFormat,
    testing::Values(Numbered {1994, Style::UpperRoman, "MCMXCIV"}, Numbered {4, Style::LowerRoman, "iv"},
                    Numbered {4000, Style::LowerRoman, "4000"}, Numbered {28, Style::LowerLetter, "bb"},
                    Numbered {26, Style::UpperLetter, "Z"}, Numbered {7, Style::DecimalZero, "07"},
                    Numbered {12, Style::DecimalZero, "12"}, Numbered {0, Style::LowerRoman, "0"},
                    Numbered {5, Style::None, ""}),
    [](const auto& c) {
        const std::string& text = c.param.expected;
        return leafmill::test::caseName(std::to_string(c.param.n) + " as " + (text.empty() ? "nothing" : text));
    });

}  // namespace
