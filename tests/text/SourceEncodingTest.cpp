#include "text/SourceEncoding.h"
#include "text/CodePage.h"

#include "../extract/CaseFile.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(LEAFMILL_FIXTURES_DIR) / "encodings";

// Texts of our own in every family, encoded by iconv (make-samples.sh), read
// back on a machine whose code page is UTF-8.
TEST(SourceEncodingTest, EverySampleReadsAsTheTextItWasMadeFrom)
{
    const auto utf8 = CodePage::open("UTF-8");
    std::size_t samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
        const std::string name = entry.path().filename().string();
        const std::size_t dot = name.find('.');
        if (entry.is_directory() || dot == name.rfind('.'))
            continue;
        const std::string bytes = test::readFile(entry.path());
        const SourceEncoding encoding = detectSourceEncoding(bytes, *utf8);
        EXPECT_EQ(decodeSource(bytes, encoding), test::readFile(kSamples / "source" / (name.substr(0, dot) + ".txt")))
            << name << " read as " << encoding.encoding.label;
        ++samples;
    }
    EXPECT_GE(samples, 100u);
}

TEST(SourceEncodingTest, TheCodePageMarksAndTheSettingDecideWhereTheyShould)
{
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/source-encodings.txt")) {
        const auto codePage = CodePage::open(c.at(1));
        ASSERT_TRUE(codePage) << c[1];
        const SourceEncoding encoding = chooseSourceEncoding(c[0], *codePage, c.at(2));
        EXPECT_EQ(encoding.isCodePage ? "" : encoding.encoding.label, c.at(3)) << c[0];
        EXPECT_EQ(decodeSource(c[0], encoding), c.at(4)) << c[0];
    }
    // UTF-8 cut short at the end of the sample is UTF-8 all the same.
    const std::string head = std::string(kEncodingSample - 1, 'a') + "\xE4";
    EXPECT_EQ(detectSourceEncoding(head, *CodePage::open("windows-1252")).encoding.label, "UTF-8");
}

}  // namespace
}  // namespace leafmill
