#include "extract/html/PageDecoding.h"
#include "extract/html/CharsetDeclarations.h"
#include "text/CodePage.h"

#include "../CaseFile.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill::extract {
namespace {

const std::filesystem::path kData = LEAFMILL_HTML_TESTDATA;

struct Declared {
    std::string markup;
    std::vector<std::string> charsets;
};

class CharsetDeclarations : public ::testing::TestWithParam<Declared> { };

TEST_P(CharsetDeclarations, AreReadFromMetaTagsInTheWindow)
{
    EXPECT_EQ(declaredCharsets(GetParam().markup), GetParam().charsets) << GetParam().markup;
}

std::vector<Declared> declarationCases()
{
    std::vector<Declared> cases;
    for (const auto& fields : leafmill::test::caseFile(kData / "charsets.txt")) {
        std::vector<std::string> names;
        for (std::size_t at = 0; at < fields.at(1).size(); at = fields[1].find(',', at) + 1) {
            names.push_back(fields[1].substr(at, fields[1].find(',', at) - at));
            if (fields[1].find(',', at) == std::string::npos)
                break;
        }
        cases.push_back({fields[0], names});
    }
    // A tag that starts inside the window is read to its end.
    cases.push_back({std::string(kCharsetDeclarationWindow, ' ') + "<meta charset=utf-8>", {}});
    cases.push_back({std::string(kCharsetDeclarationWindow - 10, ' ') + "<meta charset=utf-8>", {"utf-8"}});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Tags, CharsetDeclarations, ::testing::ValuesIn(declarationCases()));

struct Decoding {
    std::string bytes;
    std::string fallback;  // the program's code page
    std::string textEnd;  // how the text ends
    std::size_t warnings;
    std::string warned = {};  // part of the first warning
};

class PageDecoding : public ::testing::TestWithParam<Decoding> { };

TEST_P(PageDecoding, ReadsThePageInItsSet)
{
    const Decoding& c = GetParam();
    const auto page = CodePage::open(c.fallback.c_str());
    ASSERT_TRUE(page);
    std::vector<std::string> warnings;
    const std::string text = decodePage(c.bytes, *page, warnings);
    EXPECT_TRUE(text.ends_with(c.textEnd)) << text;
    ASSERT_EQ(warnings.size(), c.warnings) << (warnings.empty() ? "" : warnings[0]);
    if (c.warnings > 0) {
        EXPECT_NE(warnings[0].find(c.warned), std::string::npos) << warnings[0];
    }
}

std::vector<Decoding> decodingCases()
{
    std::vector<Decoding> cases;
    for (const auto& f : leafmill::test::caseFile(kData / "decoding.txt"))
        cases.push_back({f.at(0), f.at(1), f.at(2), std::stoul(f.at(3)), f.size() > 4 ? f[4] : ""});
    // A declaration past the window is none.
    cases.push_back({std::string(1100, ' ') + "<meta charset=windows-1251>\xE9", "windows-1252", "é", 0});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Pages, PageDecoding, ::testing::ValuesIn(decodingCases()));

}  // namespace
}  // namespace leafmill::extract
