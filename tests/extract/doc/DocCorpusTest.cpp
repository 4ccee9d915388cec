// Real documents: fixtures read as their sources say; the corpus converts close to its exports.
#include "../HandedOn.h"
#include "Corpus.h"
#include "TestSupport.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace leafmill::extract {
namespace {

using test::CorpusEntry;

// From make-fixtures.sh, and Word 95 files of make-word95.py whose sources end lines with LF.
TEST(DocFixtures, ReadAsTheirSourcesSay)
{
    const struct {
        const char* document;
        const char* source;
        const char* chapters;
        bool lfSource;
    } fixtures[] = {{"notes.doc", "notes.doc.txt", "", false},
                    {"boxes.doc", "boxes.doc.txt", "", false},
                    {"lists.doc", "lists.doc.txt", "1. Scope 1|1.1 Definitions 2|2. Sale 1|", false},
                    {"word95-western.doc", "word95-western.txt", "", true},
                    {"word95-cyrillic.doc", "word95-cyrillic.txt", "", true},
                    {"word95-greek.doc", "word95-greek.txt", "", true}};
    const std::filesystem::path dir = test::documentsDir();
    for (const auto& fixture : fixtures) {
        const Result result = docToText(test::readFile(dir / fixture.document), Options {});
        std::string source = test::readFile(dir / "sources" / fixture.source);
        for (std::size_t at = 0; fixture.lfSource && (at = source.find('\n', at)) != std::string::npos; at += 2)
            source.insert(at, "\r");
        EXPECT_EQ(result.text, source) << fixture.document << ": " << result.error;
        EXPECT_TRUE(result.warnings.empty()) << fixture.document;
        std::string chapters;
        for (const Chapter& chapter : result.chapters)
            chapters += chapter.title + " " + std::to_string(chapter.level) + "|";
        EXPECT_EQ(chapters, fixture.chapters) << fixture.document;
    }
}

// The export glues note numbers, which the reader leaves out, to the words of short bodies.
const test::CorpusFloors kFloors = {0.90, 0.98, {{"doc/nwe_test13.doc", 0.70}, {"doc/poi_test-fields.doc", 0.85}}};
// Older formats that the manifest labels but does not mark negative.
const std::map<std::string, std::string> kRefusedOlderFormats = {{"doc/poi_word2.doc", "Word 2"}};

TEST(DocCorpus, EveryDocumentConvertsOrIsRefusedWithAReasonAndItsMainTextIsClose)
{
    LEAFMILL_SKIP_WITHOUT_CORPUS("doc");
    test::expectCloseToReferences("doc", kFloors, [](const CorpusEntry& entry) -> std::optional<std::string> {
        std::size_t mainLength = 0;
        const std::string bytes = test::readFile(entry.file);
        const Result result = doc::docToTextWithMainLength(bytes, Options {}, &mainLength);
        test::expectSameHandedOn(docToText, bytes, Options {}, result, entry.name);
        if (const auto older = kRefusedOlderFormats.find(entry.name); older != kRefusedOlderFormats.end()) {
            EXPECT_NE(result.error.find(older->second), std::string::npos) << entry.name << ": " << result.error;
            return std::nullopt;
        }
        const bool encrypted = entry.exercises.find("ENCRYPTED") != std::string::npos;
        EXPECT_TRUE(!encrypted || result.error == "the document is password-protected") << entry.name;
        if (!result.ok) {
            EXPECT_TRUE(entry.negative() && !result.error.empty()) << entry.name << " was refused: " << result.error;
            return std::nullopt;
        }
        EXPECT_TRUE(result.text.ends_with("\r\n")) << entry.name;
        std::size_t at = 0;  // the first line feed alone
        while ((at = result.text.find('\n', at)) != std::string::npos && at > 0 && result.text[at - 1] == '\r')
            ++at;
        EXPECT_EQ(at, std::string::npos) << entry.name << ": a line feed alone";
        return result.text.substr(0, mainLength);
    });
}

}  // namespace
}  // namespace leafmill::extract
