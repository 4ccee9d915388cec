#include "extract/markup/PageDecoding.h"
#include "extract/markup/CharsetDeclarations.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"

#include "../CaseFile.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill::extract {
namespace {

const std::filesystem::path kData = LEAFMILL_TEST_DATA;

// The sets declared, joined by commas.
std::string declared(std::string_view markup)
{
    std::string joined;
    for (const std::string& name : declaredCharsets(markup))
        joined += (joined.empty() ? "" : ",") + name;
    return joined;
}

TEST(CharsetDeclarations, AreReadFromMetaTagsInTheWindow)
{
    for (const auto& fields : leafmill::test::caseFile(kData / "charsets.txt"))
        EXPECT_EQ(declared(fields.at(0)), fields.at(1)) << fields[0];
    // A tag that starts inside the window is read to its end.
    EXPECT_EQ(declared(std::string(kCharsetDeclarationWindow, ' ') + "<meta charset=utf-8>"), "");
    EXPECT_EQ(declared(std::string(kCharsetDeclarationWindow - 10, ' ') + "<meta charset=utf-8>"), "utf-8");
}

// The page's text, decoded a few bytes at a time.
std::string decodedText(std::string_view bytes, const CodePage& codePage, std::vector<std::string>& warnings)
{
    const TextReading reading = choosePageReading(bytes, codePage, kDetectEncoding, {}, warnings);
    DecodedPieces decoder(bytes, reading, 3, {});
    std::string text;
    for (std::string piece; decoder.next(piece);)
        text += piece;
    return text;
}

// Each row: the bytes, the program's code page, how the text ends, how many
// warnings and a part of the first.
TEST(PageDecoding, ReadsThePageInItsSet)
{
    auto cases = leafmill::test::caseFile(kData / "decoding.txt");
    // A declaration past the window is none.
    cases.push_back({std::string(1100, ' ') + "<meta charset=windows-1251>\xE9", "windows-1252", "é", "0"});
    for (const auto& c : cases) {
        const auto page = CodePage::open(c.at(1).c_str());
        ASSERT_TRUE(page) << c[1];
        std::vector<std::string> warnings;
        const std::string text = decodedText(c[0], *page, warnings);
        EXPECT_TRUE(text.ends_with(c.at(2))) << c[0] << " gives " << text;
        ASSERT_EQ(warnings.size(), std::stoul(c.at(3))) << c[0];
        if (!warnings.empty()) {
            EXPECT_NE(warnings[0].find(c.at(4)), std::string::npos) << warnings[0];
        }
    }
}

}  // namespace
}  // namespace leafmill::extract
