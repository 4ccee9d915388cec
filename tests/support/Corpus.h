#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::test {

// One row of the corpus manifest.
struct CorpusEntry {
    std::filesystem::path file;  // absolute path of the document
    std::string name;  // path inside the corpus, "doc/poi_empty.doc"
    std::string exercises;  // what the document exercises
    // The manifest marks documents that must be refused or only survived.
    bool negative() const { return exercises.find("NEGATIVE") != std::string::npos; }
    // The text expected of it beside it, if any: the word processor's export
    // (NAME.ref.txt) or, for pages, the shipped NAME.expected.txt.
    std::optional<std::filesystem::path> reference() const;
};

// A corpus entry in test output by its name; in a test's name by its stem, non-alphanumerics as '_'.
void PrintTo(const CorpusEntry& entry, std::ostream* out);
std::string corpusTestName(const ::testing::TestParamInfo<CorpusEntry>& info);

// The manifest rows under the corpus folder `kind` ("doc", "rtf", ...); none without a corpus.
std::vector<CorpusEntry> corpusEntries(std::string_view kind);

// Skips a test that needs the corpus, saying where it was looked for.
#define LEAFMILL_SKIP_WITHOUT_CORPUS(kind)                                                                             \
    if (::leafmill::test::corpusEntries(kind).empty())                                                                 \
    GTEST_SKIP() << "no corpus at " << ::leafmill::test::corpusDir().string()                                          \
                 << " (set LEAFMILL_CORPUS to a folder with MANIFEST.tsv to run the corpus tests)"

// The F1 of two UTF-8 texts' word multisets, split at ASCII and Unicode white space.
double wordF1(std::string_view produced, std::string_view reference);

// A reference text without its UTF-8 byte-order mark and optional hyphens
// (U+00AD), which the exports keep and a reader never sees.
std::string readReference(const std::filesystem::path& file);

// What the texts of a corpus folder must reach: each file `file`, or its own
// floor in `below`, and all of them on average `mean`.
struct CorpusFloors {
    double file, mean;
    std::map<std::string, double> below = {};
};

// Reads every entry of `kind` with `textOf` (which may check more and gives
// the text to compare, or nothing to leave the entry out) and scores the
// texts of the entries with a reference against `floors`.
void expectCloseToReferences(std::string_view kind, const CorpusFloors& floors,
                             const std::function<std::optional<std::string>(const CorpusEntry&)>& textOf);

}  // namespace leafmill::test
