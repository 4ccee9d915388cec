#include "RtfRead.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <string>

using leafmill::test::CorpusEntry;

namespace {

// The export leaves out the footnotes we append, and drops the space after
// each unpaired surrogate.
const leafmill::test::CorpusFloors floors
    = {0.90, 0.98, {{"rtf/pipe_phprtflite_footnotes.rtf", 0.85}, {"rtf/tika_testRTFInvalidUnicode.rtf", 0.60}}};

leafmill::extract::Result readEntry(const CorpusEntry& entry)
{
    return leafmill::test::readRtf(leafmill::test::readFile(entry.file));
}

}  // namespace

class RtfCorpus : public testing::TestWithParam<CorpusEntry> { };

TEST_P(RtfCorpus, ReadsWithoutCrashAndTheSameTextTwice)
{
    const CorpusEntry& entry = GetParam();
    const auto r = readEntry(entry);
    // A damaged document is refused with a reason or read with a warning.
    if (entry.negative())
        EXPECT_TRUE((!r.ok && !r.error.empty()) || (r.ok && !r.warnings.empty())) << entry.name;
    else
        EXPECT_TRUE(r.ok) << entry.name << ": " << r.error;
    EXPECT_EQ(readEntry(entry).text, r.text);
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCorpus, testing::ValuesIn(leafmill::test::corpusEntries("rtf")),
                         leafmill::test::corpusTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfCorpus);

TEST(RtfCorpusSummary, EveryFileAndTheMeanReachTheirWordF1Floors)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("rtf");
    leafmill::test::expectCloseToReferences("rtf", floors, [](const CorpusEntry& entry) {
        const auto r = readEntry(entry);
        return std::optional<std::string>(r.ok ? r.text : "");
    });
}
