// Sources read by what their bytes are, whatever their names end in.
#include "convert/ContentDispatch.h"
#include "convert/SourceConverter.h"
#include "text/CodePage.h"

#include "../extract/CaseFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;

// Every format with a content test is reached by it in some case.
TEST(ContentDispatch, TheBytesChooseTheReader)
{
    std::set<const SourceKind*> chosen;
    const auto codePage = CodePage::open("windows-1252");
    const fs::path tests = test::documentsDir() / ".." / "..", packages = tests / "extract" / "fixtures";
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/content.txt")) {
        ASSERT_EQ(c.size(), 4u) << c[0];
        std::string bytes = c[1];
        if (bytes.starts_with("@")) {
            const fs::path document = test::documentsDir() / bytes.substr(1);
            bytes = test::readFile(fs::exists(document) ? document : packages / bytes.substr(1));
        }
        test::TempDir dir;
        const std::string path = (dir.path() / c[0]).string();
        test::writeFile(path, bytes);
        const ContentChoice choice = chooseSourceKind(path, defaultDispatchTable());
        if (!choice.warning.empty() || !findSourceKind(path, defaultDispatchTable()))
            chosen.insert(choice.kind);
        if (!choice.kind) {
            EXPECT_EQ(c[3], "(no reader)") << c[0];
            continue;
        }
        const ExtractedText read = choice.kind->extractor
            ? extractSource(path, *choice.kind, *codePage, kDetectEncoding, nullptr)
            : readTextSource(path, detectSourceEncoding(bytes, *codePage));
        EXPECT_EQ(choice.warning.empty() ? read.reason : choice.warning, c[3]) << c[0];
        EXPECT_NE(read.text.find(c[2]), std::string::npos) << c[0] << ": " << read.text;
    }
    for (const SourceKind& kind : defaultDispatchTable())
        EXPECT_EQ(chosen.contains(&kind), kind.content.matches != nullptr) << kind.kindWord;
}

#ifndef _WIN32
// Documents are mapped for the readers: a pipe named like one is refused
// without being opened, which would wait for a writer that never comes.
TEST(ExtractSource, RefusesAPipeWithoutWaiting)
{
    test::TempDir dir;
    const std::string path = (dir.path() / "pipe.doc").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto codePage = CodePage::open("windows-1252");
    const ExtractedText read
        = extractSource(path, *findSourceKind(path, defaultDispatchTable()), *codePage, kDetectEncoding, nullptr);
    EXPECT_EQ(read.failure, SourceFailure::Missing);
    EXPECT_EQ(read.reason, "it is not a file");
}
#endif

}  // namespace
}  // namespace leafmill
