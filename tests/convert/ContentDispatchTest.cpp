// Sources read by what their bytes are, whatever their names end in.
#include "convert/ContentDispatch.h"
#include "convert/SourceConverter.h"
#include "text/CodePage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;

std::string fixture(const char* name)
{
    const fs::path packages = test::documentsDir() / ".." / ".." / "extract" / "fixtures";
    return test::readFile(fs::exists(test::documentsDir() / name) ? test::documentsDir() / name : packages / name);
}

struct ContentCase {
    const char* savedAs;
    std::string bytes;
    const char* text;  // in what the source reads as
    const char* said;  // the warning, or the reason when refused; empty: neither
};

class ContentDispatch : public ::testing::TestWithParam<ContentCase> { };

TEST_P(ContentDispatch, TheBytesChooseTheReader)
{
    const ContentCase& c = GetParam();
    test::TempDir dir;
    const std::string path = (dir.path() / c.savedAs).string();
    test::writeFile(path, c.bytes);
    const auto codePage = CodePage::open("windows-1252");
    const ContentChoice choice
        = chooseByContent(path, *findSourceKind(path, defaultDispatchTable()), defaultDispatchTable());
    const ExtractedText read = choice.kind->extractor ? extractSource(path, *choice.kind, *codePage, nullptr)
                                                      : readTextSource(path, *codePage, TextForm::CodePageBytes);
    EXPECT_EQ(choice.warning.empty() ? read.reason : choice.warning, c.said);
    EXPECT_NE(read.text.find(c.text), std::string::npos) << read.text;
}

INSTANTIATE_TEST_SUITE_P(
    Mislabelled, ContentDispatch,
    ::testing::Values(
        ContentCase {"letter.doc", fixture("letter.rtf"), "the storm came in",
                     "read as an RTF document although its name ends in .doc"},
        ContentCase {"page.DOC", "\xEF\xBB\xBF <html><body><p>Page &amp; text</p></body></html>", "Page & text",
                     "read as an HTML page although its name ends in .DOC"},
        ContentCase {"plain.doc", "Just words\r\n", "Just words", "read as text although its name ends in .doc"},
        ContentCase {"novel.doc", fixture("novel.docx"), "Seven boats went out",
                     "read as a Word 2007 or later document although its name ends in .doc"},
        ContentCase {"report.rtf", fixture("report.odt"), "Riverside Library",
                     "read as an OpenDocument text although its name ends in .rtf"},
        ContentCase {"book.txt", fixture("novel.epub"), "Seven boats went out",
                     "read as an EPUB book although its name ends in .txt"},
        ContentCase {"letter.htm", fixture("letter.doc"), "the storm came in",
                     "read as a Word document although its name ends in .htm"},
        // What the ending's reader takes stays with it: HTML saved as text is
        // text, text saved as a page is read by the page filter.
        ContentCase {"tags.txt", "<p>tags as text</p>", "<p>tags as text</p>", ""},
        ContentCase {"page.htm", "words, no tags", "words, no tags", ""},
        // Bytes of no known kind go to the ending's reader, which gives its reason.
        ContentCase {"junk.doc", std::string("\x01\x02\0\0\x05", 5), "",
                     "not a Word document: the file does not start with a compound-file header"},
        ContentCase {"controls.doc", std::string(40, '\x01') + "ab", "",
                     "not a Word document: the file does not start with a compound-file header"},
        ContentCase {
            "wordml.doc",
            "<?xml version=\"1.0\"?><w:wordDocument xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\"/>",
            "",
            "this is a Word XML document (WordML) saved with the .doc ending; only Word 6 to Word 2003 documents can "
            "be read"}));

#ifndef _WIN32
// Documents are mapped for the readers: a pipe named like one is refused
// without being opened, which would wait for a writer that never comes.
TEST(ExtractSource, RefusesAPipeWithoutWaiting)
{
    test::TempDir dir;
    const std::string path = (dir.path() / "pipe.doc").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto codePage = CodePage::open("windows-1252");
    const ExtractedText read = extractSource(path, *findSourceKind(path, defaultDispatchTable()), *codePage, nullptr);
    EXPECT_EQ(read.failure, SourceFailure::Missing);
    EXPECT_EQ(read.reason, "it is not a file");
}
#endif

}  // namespace
}  // namespace leafmill
