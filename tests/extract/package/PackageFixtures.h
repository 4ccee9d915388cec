#pragma once

#include "Corpus.h"
#include "TestSupport.h"

#include "extract/Extractor.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <tuple>
#include <vector>

namespace leafmill::test {

inline std::string fixture(const std::string& name)
{
    return readFile(std::filesystem::path(LEAFMILL_FIXTURES) / name);
}

// A fixture read by its extractor, with its reference text
// (sources/NAME.ref.txt names the text every format of one source holds).
struct FixtureCase {
    std::string file;  // "novel.epub"
    std::string reference;  // "novel"
    std::vector<std::string> chapterStarts;  // the first words of the text at each chapter, in order
};

inline void expectFixtureRead(extract::Extractor extractor, const FixtureCase& c)
{
    const extract::Result r = extractor(fixture(c.file), {});
    ASSERT_TRUE(r.ok) << c.file << ": " << r.error;
    const double f1 = wordF1(
        r.text, readReference(std::filesystem::path(LEAFMILL_FIXTURES) / "sources" / (c.reference + ".ref.txt")));
    std::printf("[ F1     ] %.4f %s\n", f1, c.file.c_str());
    EXPECT_GE(f1, 0.99) << c.file << "\n" << r.text;
    ASSERT_EQ(r.chapters.size(), c.chapterStarts.size()) << c.file;
    for (std::size_t k = 0; k < r.chapters.size(); ++k) {
        ASSERT_LE(r.chapters[k].offset, r.text.size());
        EXPECT_EQ(r.text.substr(r.chapters[k].offset, c.chapterStarts[k].size()), c.chapterStarts[k])
            << c.file << " chapter " << k << " (" << r.chapters[k].title << ")";
        EXPECT_EQ(c.chapterStarts[k].rfind(r.chapters[k].title, 0), 0u) << r.chapters[k].title;
    }
}

// A document built in the test and what its reader makes of it: the whole
// text, or a part of the reason it is refused with.
struct ReadCase {
    std::string what;  // the case's name
    std::string bytes;
    std::string expected;
};

inline void expectText(extract::Extractor extractor, const ReadCase& c)
{
    const extract::Result r = extractor(c.bytes, {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, c.expected);
}

inline void expectRefused(extract::Extractor extractor, const ReadCase& c)
{
    const extract::Result r = extractor(c.bytes, {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(c.expected), std::string::npos) << r.error;
}

inline std::string caseName(const testing::TestParamInfo<ReadCase>& info)
{
    std::string name = info.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// The chapters as (title, offset, level), for comparing in one go.
inline std::vector<std::tuple<std::string, std::size_t, int>> chapterList(const extract::Result& r)
{
    std::vector<std::tuple<std::string, std::size_t, int>> chapters;
    for (const auto& chapter : r.chapters)
        chapters.emplace_back(chapter.title, chapter.offset, chapter.level);
    return chapters;
}

}  // namespace leafmill::test
