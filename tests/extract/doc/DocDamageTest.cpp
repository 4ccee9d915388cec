// Real documents damaged on purpose: bytes overwritten in the structures and
// anywhere, files cut short. Every outcome is text or a reason, never a crash,
// and the text never grows beyond what the file can hold.
#include "TestSupport.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

#include <random>

namespace leafmill::extract {
namespace {

// Small documents with tables, several pieces, notes and fields.
const char* const kSamples[] = {"nwe_test05.doc",     "poi_Bug47742.doc",  "nwe_test13.doc",
                                "poi_innertable.doc", "poi_hyperlink.doc", "nwe_test11.doc"};

void expectTextOrReason(const std::string& bytes, const std::string& what)
{
    const Result result = docToText(bytes, Options {});
    if (result.ok) {
        EXPECT_TRUE(result.text.ends_with("\r\n")) << what;
        // Each stored byte yields at most three bytes of UTF-8 or a CR LF.
        EXPECT_LE(result.text.size(), 3 * bytes.size() + 2) << what;
    } else {
        EXPECT_FALSE(result.error.empty()) << what;
    }
}

class DocDamage : public ::testing::TestWithParam<const char*> {
protected:
    std::string original() const { return test::readFile(test::corpusDir() / "doc" / GetParam()); }
};

TEST_P(DocDamage, OverwrittenBytesGiveTextOrAReason)
{
    const std::string file = original();
    ASSERT_FALSE(file.empty());
    std::mt19937 random(20261206);
    for (int round = 0; round < 400; ++round) {
        std::string damaged = file;
        // Half the rounds hit the first sectors: header, FAT, directory, FIB.
        const std::size_t span = round % 2 ? damaged.size() : std::min<std::size_t>(damaged.size(), 4096);
        const int hits = 1 + static_cast<int>(random() % 16);
        for (int i = 0; i < hits; ++i)
            damaged[random() % span] = static_cast<char>(random());
        expectTextOrReason(damaged, std::string(GetParam()) + " round " + std::to_string(round));
    }
}

TEST_P(DocDamage, FilesCutShortGiveTextOrAReason)
{
    const std::string file = original();
    for (std::size_t length = 0; length < file.size(); length += 1 + file.size() / 97)
        expectTextOrReason(file.substr(0, length), std::string(GetParam()) + " cut at " + std::to_string(length));
}

INSTANTIATE_TEST_SUITE_P(Corpus, DocDamage, ::testing::ValuesIn(kSamples),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

}  // namespace
}  // namespace leafmill::extract
