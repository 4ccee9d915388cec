#include "RtfRead.h"

#include "Corpus.h"
#include "TestSupport.h"

#include <string>

using leafmill::test::CorpusEntry;

// The export leaves out the footnotes we append, and drops the space after
// each unpaired surrogate.
const leafmill::test::CorpusFloors floors
    = {0.90, 0.98, {{"rtf/pipe_phprtflite_footnotes.rtf", 0.85}, {"rtf/tika_testRTFInvalidUnicode.rtf", 0.60}}};

TEST(RtfCorpus, EveryFileReadsTheSameTwiceAndReachesItsWordF1Floor)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("rtf");
    leafmill::test::expectCloseToReferences("rtf", floors, [](const CorpusEntry& entry) {
        const std::string bytes = leafmill::test::readFile(entry.file);
        const auto r = leafmill::test::readRtf(bytes);
        // A damaged document is refused with a reason or read with a warning.
        if (entry.negative())
            EXPECT_TRUE((!r.ok && !r.error.empty()) || (r.ok && !r.warnings.empty())) << entry.name;
        else
            EXPECT_TRUE(r.ok) << entry.name << ": " << r.error;
        EXPECT_EQ(leafmill::test::readRtf(bytes).text, r.text) << entry.name;
        return std::optional<std::string>(r.ok ? r.text : "");
    });
}
