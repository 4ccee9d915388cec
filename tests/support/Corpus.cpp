#include "Corpus.h"
#include "TestSupport.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace leafmill::test {

namespace fs = std::filesystem;

std::optional<fs::path> CorpusEntry::reference() const
{
    for (const char* extension : {".ref.txt", ".expected.txt"}) {
        fs::path ref = file;
        ref.replace_extension(extension);
        std::error_code ec;
        if (fs::is_regular_file(ref, ec))
            return ref;
    }
    return std::nullopt;
}

std::vector<CorpusEntry> corpusEntries(std::string_view kind)
{
    std::vector<CorpusEntry> out;
    const fs::path root = corpusDir();
    std::ifstream manifest(root / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // column names
    const std::string prefix = std::string(kind) + "/";
    while (std::getline(manifest, line)) {
        std::vector<std::string> columns;
        std::stringstream row(line);
        std::string column;
        while (std::getline(row, column, '\t'))
            columns.push_back(column);
        if (columns.size() < 5 || columns[0].rfind(prefix, 0) != 0)
            continue;
        out.push_back({root / columns[0], columns[0], columns[4]});
    }
    return out;
}

// Length of the white-space character (Unicode's White_Space, ASCII included) at text[i], or 0.
static std::size_t whitespaceLength(std::string_view text, std::size_t i)
{
    int32_t end = static_cast<int32_t>(i);
    UChar32 c;
    U8_NEXT(text.data(), end, static_cast<int32_t>(text.size()), c);
    return c >= 0 && u_isUWhiteSpace(c) ? static_cast<std::size_t>(end) - i : 0;
}

static std::map<std::string, long> countWords(std::string_view text)
{
    std::map<std::string, long> words;
    std::string word;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t space = whitespaceLength(text, i)) {
            if (!word.empty())
                ++words[word];
            word.clear();
            i += space;
        } else {
            word.push_back(text[i++]);
        }
    }
    if (!word.empty())
        ++words[word];
    return words;
}

double wordF1(std::string_view produced, std::string_view reference)
{
    const auto a = countWords(produced);
    const auto b = countWords(reference);
    double totalA = 0, totalB = 0, common = 0;
    for (const auto& [word, n] : a)
        totalA += n;
    for (const auto& [word, n] : b) {
        totalB += n;
        if (auto it = a.find(word); it != a.end())
            common += std::min(n, it->second);
    }
    // F1 is twice the common words over all words; two empty texts agree.
    return totalA + totalB == 0 ? 1.0 : 2 * common / (totalA + totalB);
}

std::string readReference(const fs::path& file)
{
    std::string text = readFile(file);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    // Soft hyphens are invisible in a reader's text and in ours.
    for (std::size_t at; (at = text.find("\xC2\xAD")) != std::string::npos;)
        text.erase(at, 2);
    return text;
}

void expectCloseToReferences(std::string_view kind, const CorpusFloors& floors,
                             const std::function<std::optional<std::string>(const CorpusEntry&)>& textOf)
{
    double sum = 0;
    int count = 0;
    for (const CorpusEntry& entry : corpusEntries(kind)) {
        const std::optional<std::string> text = textOf(entry);
        const auto reference = entry.reference();
        if (!text || !reference)
            continue;
        const double f1 = wordF1(*text, readReference(*reference));
        std::printf("[ F1     ] %.4f %s\n", f1, entry.name.c_str());
        const auto below = floors.below.find(entry.name);
        EXPECT_GE(f1, below == floors.below.end() ? floors.file : below->second) << entry.name;
        sum += f1;
        ++count;
    }
    ASSERT_GT(count, 0) << "the corpus has no references in " << kind;
    std::printf("[ F1     ] mean over %d files of %s: %.4f\n", count, std::string(kind).c_str(), sum / count);
    EXPECT_GE(sum / count, floors.mean);
}

void PrintTo(const CorpusEntry& entry, std::ostream* out)
{
    *out << entry.name;
}

std::string corpusTestName(const ::testing::TestParamInfo<CorpusEntry>& info)
{
    std::string name = info.param.file.stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

}  // namespace leafmill::test
