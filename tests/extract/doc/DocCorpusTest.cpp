// Every .doc of the shared corpus: no crash, the marked refusals, and the
// word-level similarity to the word processor's plain-text export.
#include "Corpus.h"
#include "TestSupport.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace leafmill::extract {
namespace {

using test::CorpusEntry;

// Files whose references disagree with a reader of the stored text, and why.
const std::map<std::string, std::string>& justifiedLowScores()
{
    static const std::map<std::string, std::string> exceptions = {};
    return exceptions;
}

std::vector<CorpusEntry> docEntries()
{
    return test::corpusEntries("doc");
}

class DocCorpus : public ::testing::TestWithParam<CorpusEntry> { };

TEST_P(DocCorpus, ConvertsOrRefusesWithAReason)
{
    const CorpusEntry& entry = GetParam();
    const Result result = docToText(test::readFile(entry.file), Options{});
    if (!result.ok) {
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(entry.negative()) << entry.name << " was refused: " << result.error;
        std::printf("%-50s refused: %s\n", entry.name.c_str(), result.error.c_str());
        return;
    }
    EXPECT_TRUE(result.text.ends_with("\r\n")) << entry.name;
    EXPECT_EQ(result.text.find('\n'), result.text.find("\r\n") + 1) << "lines end with CR LF";
}

INSTANTIATE_TEST_SUITE_P(Corpus, DocCorpus, ::testing::ValuesIn(docEntries()),
    [](const ::testing::TestParamInfo<CorpusEntry>& info) {
        std::string name = info.param.file.stem().string();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

}  // namespace
}  // namespace leafmill::extract
