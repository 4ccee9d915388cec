// Stored characters to plain text: marks, hyphens, spaces, fields, and refused documents.
#include "../CaseFile.h"
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::WordFilePlan;

// UTF-8 as UTF-16, lone surrogates in UTF-8's form kept.
std::u16string utf16(std::string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k)
            c = c << 6 | (text[i + k] & 0x3F);
        i += n;
        if (c > 0xFFFF)
            out += {char16_t(0xD7C0 + (c >> 10)), char16_t(0xDC00 | (c & 0x3FF))};
        else
            out += char16_t(c);
    }
    return out;
}

TEST(DocText, EveryStoredTextGivesWhatAReaderExpects)
{
    for (const auto& row : test::caseFile(LEAFMILL_TEST_DATA "/text.txt", 1)) {
        const std::string &how = row.at(0), &stored = row.at(1), &expected = row.at(2);
        if (how == "raw") {
            const Result result = docToText(stored, Options {});
            EXPECT_FALSE(result.ok);
            EXPECT_NE(result.error.find(expected), std::string::npos) << result.error;
            continue;
        }
        WordFilePlan plan;
        std::u16string units;
        for (unsigned char byte : stored)
            units += byte;
        plan.pieces = {{how == "utf16" ? utf16(stored) : units, how != "utf16"}};
        plan.word6 = how.starts_with("word6");
        if (plan.word6) {
            plan.lid = static_cast<std::uint16_t>(std::stoul(how.substr(6), nullptr, 16));
            plan.macCharacterSet = how.ends_with("mac");
        }
        const Result result = test::convertWordFile(plan);
        EXPECT_EQ(result.text, expected) << how << " " << stored << ": " << result.error;
        EXPECT_TRUE(result.warnings.empty()) << stored;
    }
}

TEST(DocText, AFieldLeftOpenAtTheEndOfTheMainTextDoesNotHideTheNotes)
{
    WordFilePlan plan;
    plan.pieces = {{u"body\u0013 REF x \r", false}, {u"note\r", false}};
    plan.ccpText = 13;
    plan.ccpFtn = 5;
    EXPECT_EQ(test::convertWordFile(plan).text, "body\r\nnote\r\n");
}

TEST(DocText, CellsBecomeTabsAndRowEndsLineEnds)
{
    // By the paragraph formatting: two rows of two cells, the second with an empty last cell.
    WordFilePlan plan;
    plan.pieces = {{u"Intro\ra\u0007b\u0007\u0007c\u0007\u0007\u0007After\r", true}};
    plan.paragraphRuns = {{10, 11, "\x17\x24\x01"}, {14, 15, "\x4C\x24\x01"}};
    Result result = test::convertWordFile(plan);
    EXPECT_EQ(result.text, "Intro\r\na\tb\t\r\nc\t\t\r\nAfter\r\n");
    EXPECT_TRUE(result.warnings.empty());

    // Without it, the second of two cell marks is taken as the row end.
    plan.paragraphRuns.clear();
    result = test::convertWordFile(plan);
    EXPECT_EQ(result.text, "Intro\r\na\tb\t\r\nc\t\r\n\r\nAfter\r\n");
    EXPECT_EQ(result.warnings,
              std::vector<std::string> {"the table layout could not be read, so the ends of table rows were guessed"});
}

TEST(DocText, StoryLengthsBeyondThePieceTableAreCutToIt)
{
    WordFilePlan plan;
    plan.pieces = {{u"short\r", true}};
    plan.ccpText = 4000000000L;
    plan.ccpFtn = 4000000000U;
    const Result result = test::convertWordFile(plan);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "short\r\n");
}

TEST(DocText, ReportsProgressUpToTheEnd)
{
    WordFilePlan plan;
    plan.pieces = {{std::u16string(200000, u'x') + u"\r", true}};
    std::vector<int> seen;
    Options options;
    options.progress = [&](int percent) { seen.push_back(percent); };
    ASSERT_TRUE(docToText(test::wordFile(test::buildWordStreams(plan)), options).ok);
    ASSERT_GT(seen.size(), 2u);
    EXPECT_LT(seen.front(), 100);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST(DocText, RefusesWhatIsNoWord97DocumentWithTheReason)
{
    WordFilePlan plan;
    plan.pieces = {{u"secret\r", true}};
    const test::WordStreams streams = test::buildWordStreams(plan);
    const auto read = [](const std::vector<std::pair<std::string, std::string>>& named) {
        return docToText(test::compoundFile(named), {});
    };
    // The stream names in any case; "0Table" where the block names it.
    EXPECT_EQ(read({{"worddocument", streams.wordDocument}, {"1table", streams.table}}).text, "secret\r\n");
    std::string zeroTable = streams.wordDocument;
    zeroTable[0x0B] = 0;
    EXPECT_EQ(read({{"WordDocument", zeroTable}, {"0Table", streams.table}}).text, "secret\r\n");
    EXPECT_EQ(read({{"WordDocument", zeroTable}, {"1Table", streams.table}}).error,
              "the document's table stream 0Table is missing");
    EXPECT_EQ(read({{"WordDocument", streams.wordDocument}}).error, "the document's table stream 1Table is missing");
    EXPECT_NE(read({{"Workbook", std::string(5000, 'x')}}).error.find("no WordDocument"), std::string::npos);
}

}  // namespace
}  // namespace leafmill::extract
