#include "RtfRead.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <string>

using leafmill::test::CorpusEntry;

namespace {

// Files whose word F1 against the word processor's export stays below the
// floor for a reason that lies in the export, not in our text.
const std::map<std::string, std::string> belowFloor = {
    {"rtf/pipe_phprtflite_footnotes.rtf",
     "we append the seven footnotes after the text; the export leaves footnote text out and glues their numbers "
     "to the words"},
    {"rtf/tika_testRTFInvalidUnicode.rtf",
     "the export drops the space after each unpaired surrogate, joining the following word to it"},
    {"rtf/strip_specialchars.rtf",
     "we drop the optional hyphen and write the non-breaking hyphen as '-', where the export keeps U+00AD and "
     "U+2011, which most code pages cannot hold"},
};

constexpr double fileFloor = 0.90;
constexpr double meanTarget = 0.98;

double scoreAgainstReference(const CorpusEntry& entry, const std::string& text)
{
    return leafmill::test::wordF1(text, leafmill::test::readReference(*entry.reference()));
}

leafmill::extract::Result readEntry(const CorpusEntry& entry)
{
    return leafmill::test::readRtf(leafmill::test::readFile(entry.file));
}

}  // namespace

class RtfCorpus : public testing::TestWithParam<CorpusEntry> { };

TEST_P(RtfCorpus, ReadsWithoutCrashAndMatchesTheReference)
{
    const CorpusEntry& entry = GetParam();
    const auto r = readEntry(entry);
    if (entry.negative()) {
        // A damaged document is refused with a reason or read with a warning.
        EXPECT_TRUE((!r.ok && !r.error.empty()) || (r.ok && !r.warnings.empty())) << entry.name;
    } else {
        ASSERT_TRUE(r.ok) << entry.name << ": " << r.error;
    }
    if (!entry.reference() || !r.ok)
        return;
    const double score = scoreAgainstReference(entry, r.text);
    std::printf("[ F1     ] %.3f %s\n", score, entry.name.c_str());
    const auto exception = belowFloor.find(entry.name);
    if (exception != belowFloor.end())
        std::printf("[ F1     ] below the floor by reason: %s\n", exception->second.c_str());
    else
        EXPECT_GE(score, fileFloor) << entry.name;
}

TEST_P(RtfCorpus, ReadingTwiceGivesTheSameText)
{
    const auto first = readEntry(GetParam());
    const auto second = readEntry(GetParam());
    EXPECT_EQ(first.text, second.text);
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCorpus, testing::ValuesIn(leafmill::test::corpusEntries("rtf")),
                         leafmill::test::corpusTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfCorpus);

TEST(RtfCorpusSummary, MeanWordF1ReachesTheTarget)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("rtf");
    double total = 0;
    int files = 0;
    for (const CorpusEntry& entry : leafmill::test::corpusEntries("rtf")) {
        if (!entry.reference())
            continue;
        const auto r = readEntry(entry);
        total += r.ok ? scoreAgainstReference(entry, r.text) : 0.0;
        ++files;
    }
    std::printf("[ F1     ] mean over %d files: %.4f\n", files, total / files);
    EXPECT_GE(total / files, meanTarget);
}
