#include "Corpus.h"

#include "TestSupport.h"

#include <fstream>
#include <map>
#include <sstream>

namespace leafmill::test {

namespace fs = std::filesystem;

std::optional<fs::path> CorpusEntry::reference() const
{
    fs::path ref = file;
    ref.replace_extension(".ref.txt");
    std::error_code ec;
    if (fs::is_regular_file(ref, ec))
        return ref;
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

static std::map<std::string, long> countWords(std::string_view text)
{
    std::map<std::string, long> words;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            ++words[word];
        word.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
            flush();
        else
            word.push_back(c);
    }
    flush();
    return words;
}

double wordF1(std::string_view produced, std::string_view reference)
{
    const auto a = countWords(produced);
    const auto b = countWords(reference);
    long totalA = 0, totalB = 0, common = 0;
    for (const auto& [word, n] : a)
        totalA += n;
    for (const auto& [word, n] : b) {
        totalB += n;
        auto it = a.find(word);
        if (it != a.end())
            common += std::min(n, it->second);
    }
    if (totalA == 0 && totalB == 0)
        return 1.0;
    if (totalA == 0 || totalB == 0)
        return 0.0;
    const double precision = static_cast<double>(common) / static_cast<double>(totalA);
    const double recall = static_cast<double>(common) / static_cast<double>(totalB);
    return precision + recall == 0 ? 0.0 : 2 * precision * recall / (precision + recall);
}

std::string readReference(const fs::path& file)
{
    std::string text = readFile(file);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    return text;
}

}  // namespace leafmill::test
