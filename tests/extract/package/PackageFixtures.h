#pragma once

#include "../CaseFile.h"
#include "../HandedOn.h"
#include "TestSupport.h"
#include "ZipWriter.h"

#include "convert/EmbeddedDocuments.h"
#include "extract/Extractor.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace leafmill::test {

using Chapters = std::vector<std::pair<std::string, int>>;  // title and level

// Each chapter as listed, starting at a line that is its title alone, in text order.
inline void expectChapters(const extract::Result& r, const Chapters& expected, const std::string& what)
{
    ASSERT_EQ(r.chapters.size(), expected.size()) << what;
    const std::string lines = "\n" + r.text;
    for (std::size_t k = 0, from = 0; k < expected.size(); from = r.chapters[k++].offset + 1) {
        EXPECT_EQ(std::pair(r.chapters[k].title, r.chapters[k].level), expected[k]) << what;
        EXPECT_EQ(r.chapters[k].offset, lines.find("\n" + expected[k].first + "\r\n", from)) << what;
    }
}

// A document and what its reader ("docx", "odt", "epub") must make of it: the
// whole text, chapters and how many warnings, or, when `refusal` is set, a
// refusal whose reason holds it. The document is made when its case runs:
// every test process lists all cases, and the hostile ones are megabytes.
struct ReadCase {
    std::string format, what;
    std::function<std::string()> bytes;
    std::string text;
    std::string refusal = {};
    std::size_t warnings = 0;
    Chapters chapters = {};
};

inline void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.format << ": " << c.what;
}

// Documents embedded in others are read through the dispatch, as in a run.
inline void expectRead(extract::Extractor extractor, const ReadCase& c)
{
    const auto codePage = CodePage::open("windows-1252");
    extract::Options options;
    options.codePage = codePage.get();
    options.readEmbedded = embeddedDocumentReader(*codePage);
    const std::string bytes = c.bytes();
    const extract::Result r = extractor(bytes, options);
    if (c.refusal.empty()) {
        ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_EQ(r.warnings.size(), c.warnings) << c.what << (r.warnings.empty() ? "" : ": " + r.warnings[0]);
        expectChapters(r, c.chapters, c.what);
        // Handed on as it is read, in the smallest pieces, the same text and chapters.
        expectSameHandedOn(extractor, bytes, options, r, c.what);
    } else {
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.refusal), std::string::npos) << c.what << ": " << r.error;
    }
}

inline const std::filesystem::path kCases = LEAFMILL_TEST_DATA "/cases";

// The package whose files are under cases/FORMAT, `body` in place of @BODY@,
// with `more` parts added or put instead; the mimetype goes first.
inline std::string package(const std::string& format, const std::string& body, const ZipParts& more = {})
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCases / format)) {
        if (!entry.is_regular_file())
            continue;
        std::string bytes = readFile(entry.path());
        if (const std::size_t at = bytes.find("@BODY@"); at != std::string::npos)
            bytes.replace(at, 6, body);
        files[entry.path().lexically_relative(kCases / format).generic_string()] = bytes;
    }
    for (const auto& [name, bytes] : more)
        files[name] = bytes;
    ZipParts parts(files.begin(), files.end());
    std::stable_partition(parts.begin(), parts.end(), [](const auto& part) { return part.first == "mimetype"; });
    return makeZip(parts);
}

// The cases of cases/FORMAT.txt (its first lines say how they are written).
inline std::vector<ReadCase> readCases(const std::string& format)
{
    std::vector<ReadCase> cases;
    for (const auto& f : caseFile(kCases / (format + ".txt"))) {
        ReadCase c {format, f.at(0), {}, f.at(1)};
        if (f.size() % 2 == 0)
            throw std::runtime_error("a part without bytes in " + format + ".txt: " + f[0]);
        ZipParts more;
        std::string bytes;
        for (std::size_t k = 3; k + 1 < f.size(); k += 2) {
            std::istringstream list(f[k + 1]);
            if (f[k] == "refused")
                c.refusal = f[k + 1];
            else if (f[k] == "bytes")
                bytes = f[k + 1];
            else if (f[k] == "warnings")
                c.warnings = std::stoul(f[k + 1]);
            else if (f[k] != "chapters")
                more.emplace_back(f[k], f[k + 1]);
            for (int level; f[k] == "chapters" && list >> level;) {
                std::string title;
                std::getline(list >> std::ws, title, ';');
                c.chapters.emplace_back(title, level);
            }
        }
        if (bytes.empty())
            c.bytes = [format, body = f.at(2), more] { return package(format, body, more); };
        else
            c.bytes = [bytes] { return bytes; };
        cases.push_back(c);
    }
    return cases;
}

}  // namespace leafmill::test
