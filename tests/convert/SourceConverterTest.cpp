#include "convert/SourceConverter.h"
#include "convert/PageCutter.h"
#include "convert/PageWriter.h"
#include "extract/Formats.h"
#include "extract/markup/HtmlToText.h"
#include "io/OutputFile.h"
#include "io/TemporaryTextFile.h"
#include "text/CodePage.h"

#include "PageFolder.h"
#include "ScopedEnv.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace leafmill {
namespace {

using test::ScopedEnv;
using test::TempDir;

// Extractors of the test's own dispatch table.
extract::Result greekText(std::string_view bytes, const extract::Options& options)
{
    if (options.progress) {
        options.progress(50);
        options.progress(100);
    }
    extract::Result result;
    result.ok = true;
    result.text = "Αρχή " + std::string(bytes) + "\r\n";
    result.warnings = {"a picture was left out"};
    return result;
}

extract::Result refuses(std::string_view, const extract::Options&)
{
    return extract::Result::failure("the document is encrypted");
}

const DispatchTable kTestTable = {
    {{".txt"}, nullptr, "txt"},
    {{".grk"}, &greekText, "grk"},
    {{".bad"}, &refuses, "bad"},
};

TEST(SourceDispatchTest, TheKindIsTheLongestEndingTheNameEndsInLetterCaseIgnored)
{
    const DispatchTable& table = defaultDispatchTable();
    auto kindWord = [&](const char* path) -> std::string {
        const SourceKind* kind = findSourceKind(path, table);
        return kind ? (kind->extractor ? std::string(kind->kindWord) : std::string("text")) : std::string("none");
    };
    // "text" needs no dot before it.
    std::string kinds;
    for (const char* path : {"/books/notes.TXT",
                             "/books/context",
                             "page.HTML",
                             "index.shtml",
                             "a.Asp",
                             "a.php",
                             "a.htm",
                             "letter.RTF",
                             "letter.doc",
                             "letter.DOCX",
                             "letter.pages",
                             "txt",
                             "b.FB2.zip",
                             "b.zip",
                             "b.fbz",
                             "README.md",
                             "md",
                             "a.Markdown",
                             "b.txtz",
                             "b.htmlz"})
        kinds += kindWord(path) + " ";
    EXPECT_EQ(kinds, "text text htm htm htm htm htm rtf doc docx none none fb2 none fb2 md none md txtz htmlz ");
    EXPECT_EQ(findSourceKind("page.htm", table)->extractor, &extract::htmlToText);
    const DispatchTable zips = {{{".zip"}, nullptr, "zip"}, {{".fb2.zip"}, &refuses, "fb2"}};
    EXPECT_EQ(findSourceKind("a.fb2.ZIP", zips)->kindWord, "fb2");
    EXPECT_EQ(findSourceKind("a.zip", zips)->kindWord, "zip");
    EXPECT_EQ(findFormat("FB2.zip", table), findSourceKind("a.fb2.zip", table));
    // Every ending of every format leads to its row, by name and as --format takes it.
    for (const SourceKind& kind : table)
        for (std::string_view ending : kind.endings) {
            const std::string name = "Book" + dottedEnding(ending);
            EXPECT_EQ(findSourceKind(name, table), &kind) << name;
            EXPECT_EQ(findFormat(ending.substr(ending.starts_with('.') ? 1 : 0), table), &kind) << name;
        }
}

TEST(TemporaryTextFileTest, TheFolderComesFromTempOrTheSystem)
{
    for (const char* set : {"/some/where/", "/some/where"}) {
        ScopedEnv temp("TEMP", set);
        EXPECT_EQ(GetTempDir(), "/some/where/") << set;
    }
    // An empty TEMP never means the root folder.
    ScopedEnv temp("TEMP", "");
    const std::string system = GetTempDir();
    EXPECT_NE(system, "/");
    EXPECT_TRUE(system.ends_with("/")) << system;
    EXPECT_TRUE(std::filesystem::is_directory(system)) << system;
}

#ifndef _WIN32
TEST(TemporaryTextFileTest, CreatedOnlyForTheUserAndGoneAfterwards)
{
    TempDir dir;
    ScopedEnv temp("TEMP", dir.path().string().c_str());
    std::string path;
    {
        TemporaryTextFile file;
        std::string error;
        ASSERT_TRUE(file.create("rtf", "bytes", &error)) << error;
        path = file.path();
        struct stat info { };
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(test::readFile(path), "bytes");
        EXPECT_NE(path.find("rtf"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    // An exclusive creation neither follows a link nor replaces a file.
    test::writeFile(dir / "taken.txt", "keep");
    std::filesystem::create_symlink(dir / "elsewhere.txt", dir / "link.txt");
    OutputFile file;
    std::string error;
    bool taken = false;
    EXPECT_FALSE(file.open(dir / "taken.txt", OutputFile::Mode::Exclusive, &error, &taken));
    EXPECT_TRUE(taken);
    EXPECT_FALSE(file.open(dir / "link.txt", OutputFile::Mode::Exclusive, &error, &taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(test::readFile(dir / "taken.txt"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere.txt"));
}
#endif

class SourceConverterTest : public ::testing::Test {
protected:
    SourceConverterTest()
        : temp_("TEMP", tempFolder.path().string().c_str())
    {
        std::filesystem::create_directory(dir / "book");
        state.OutPutDir = (dir / "book").string() + "/";
        state.BookName = "B";
        rules.pageSize = 4000;
    }

    SourceOutcome convert(const std::string& path, const DispatchTable& table = kTestTable)
    {
        PageWriter writer(state, nullptr);
        PageCutter cutter(rules, *codePage, writer);
        SourceConverter converter(table, *codePage, cutter, [this](int value) { progress.push_back(value); });
        converter.confine(limits, nullptr);
        return converter.ConvertFile(path);
    }

    bool tempFolderEmpty() const { return std::filesystem::is_empty(tempFolder.path()); }

    TempDir dir;
    TempDir tempFolder;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1253");
    CutRules rules;
    SourceLimits limits;
    RunState state;
    std::vector<int> progress;

private:
    ScopedEnv temp_;
};

// Text is cut in place and left alone, however it is encoded; another encoding than the code page is named.
TEST_F(SourceConverterTest, TextIsReadByItsByteOrderMarkAndNulBytesWithoutOneAreRefused)
{
    using namespace std::string_literals;
    const std::string greekCrLf = codePage->fromUtf8("\xce\x91\xce\xb2\r\n\r\n");
    const struct {
        std::string bytes;
        std::string page;  // empty: refused
        std::string readAs;  // the encoding named when not the code page
    } cases[] = {
        {"plain\r\n"s, "plain\r\n\r\n", ""},
        {"\xff\xfe\x91\x03\xb2\x03\r\0\n\0"s, greekCrLf, "UTF-16LE"},
        {"\x91\x03\xb2\x03\r\0\n\0"s, greekCrLf, "UTF-16LE"},
        {"\xfe\xff\x03\x91\x03\xb2\0\r\0\n"s, greekCrLf, "UTF-16BE"},
        {"\xff\xfe\0\0\x91\x03\0\0\xb2\x03\0\0\r\0\0\0\n\0\0\0"s, greekCrLf, "UTF-32LE"},
        {"\0\0\xfe\xff\0\0\x03\x91\0\0\x03\xb2\0\0\0\r\0\0\0\n"s, greekCrLf, "UTF-32BE"},
        {"\xff\xfe\x41\0B"s, "A?\r\n\r\n", "UTF-16LE"},  // a unit cut short is no character
        {"\xef\xbb\xbfplain\r\n"s, "plain\r\n\r\n", "UTF-8"},
        {"\xce\x91\xce\xb2\r\n"s, greekCrLf, "UTF-8"},
        {"plain\0text\r\n"s, "", ""},
    };
    const auto page0 = dir / "book" / "B0000.txt";
    for (const auto& [bytes, page, readAs] : cases) {
        const std::string source = (dir / "Notes.TXT").string();
        test::writeFile(source, bytes);
        std::filesystem::remove(page0);
        state.PageCount = 0;
        const SourceOutcome outcome = convert(source);
        EXPECT_EQ(outcome.failure, page.empty() ? SourceFailure::ExtractorFailed : SourceFailure::None) << bytes;
        EXPECT_EQ(outcome.pages, page.empty() ? 0 : 1);
        EXPECT_EQ(outcome.readAs, readAs) << bytes;
        EXPECT_EQ(std::filesystem::exists(page0) ? test::readFile(page0) : "", page) << bytes;
        EXPECT_EQ(test::readFile(source), bytes);
    }
    EXPECT_TRUE(tempFolderEmpty());
}

// Every outcome keeps its reason and leaves no temporary file.
TEST_F(SourceConverterTest, ExtractedTextIsCutInTheCodePageAndItsFileDeleted)
{
    const std::string source = (dir / "ode.GRK").string();
    test::writeFile(source, "poem");
    const SourceOutcome outcome = convert(source);
    EXPECT_EQ(outcome.failure, SourceFailure::None);
    EXPECT_EQ(outcome.pages, 1);
    EXPECT_EQ(outcome.warnings, std::vector<std::string> {"a picture was left out"});
    EXPECT_EQ(test::readFile(dir / "book" / "B0000.txt"), codePage->fromUtf8("Αρχή poem\r\n\r\n"));
    EXPECT_EQ(progress, (std::vector<int> {50, 100}));
    EXPECT_EQ(test::readFile(source), "poem");
    EXPECT_TRUE(tempFolderEmpty());

    test::writeFile(dir / "secret.bad", "x");
    const SourceOutcome refused = convert((dir / "secret.bad").string());
    EXPECT_EQ(refused.failure, SourceFailure::ExtractorFailed);
    EXPECT_EQ(refused.reason, "the document is encrypted");
    EXPECT_EQ(convert((dir / "letter.docx").string()).failure, SourceFailure::UnsupportedKind);
    EXPECT_EQ(convert((dir / "gone.txt").string()).failure, SourceFailure::Missing);
    EXPECT_EQ(convert((dir / "gone.grk").string()).failure, SourceFailure::Missing);

    // The cutter fails on the extracted text: its file goes all the same.
    std::filesystem::remove_all(dir / "book");
    state.PageCount = 0;
    const SourceOutcome unwritten = convert(source);
    EXPECT_EQ(unwritten.failure, SourceFailure::WriteFailed);
    EXPECT_FALSE(unwritten.reason.empty());
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_EQ(state.PageCount, 0);
}

// Headings whose words all lie on one long line are found at once, not in
// time that grows with the square of their number.
TEST_F(SourceConverterTest, APageOfManyHeadingsOnOneLineIsReadWithinItsTime)
{
    limits.baseTime = std::chrono::seconds(5);
    const int count = 300'000;
    const std::string page = "<p>" + test::repeated("a ", count) + "</p>" + test::repeated("<h1>a</h1>", count);
    test::writeFile(dir / "headings.html", page);
    const SourceOutcome outcome = convert((dir / "headings.html").string(), defaultDispatchTable());
    EXPECT_EQ(outcome.failure, SourceFailure::None) << outcome.reason;
    EXPECT_GT(outcome.pages, 300);
}

}  // namespace
}  // namespace leafmill
