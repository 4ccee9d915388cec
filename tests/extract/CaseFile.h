#pragma once

// Test cases kept as text, one a line: fields parted by tabs, each written as
// the inside of a C string literal (\\ \" \r \n \t \0, \xHH with exactly two
// digits, \uHHHH and \UHHHHHHHH as UTF-8), save the first `rawFields`, which
// stand as they are. Blank lines and lines starting with '#' are comments.
#include "TestSupport.h"
#include "text/Utf8.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace leafmill::test {

inline std::string unescaped(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char kind = field[++i];
        const auto hex = [&](std::size_t digits) {
            const auto value = std::stoul(std::string(field.substr(i + 1, digits)), nullptr, 16);
            i += digits;
            return static_cast<char32_t>(value);
        };
        const std::string_view simple = "r\rn\nt\t0";
        if (const std::size_t at = simple.find(kind); at != std::string_view::npos && at % 2 == 0)
            out += at + 1 < simple.size() ? simple[at + 1] : '\0';
        else if (kind == 'x')
            out += static_cast<char>(hex(2));
        else if (kind == 'u' || kind == 'U')
            appendUtf8(hex(kind == 'u' ? 4 : 8), out);
        else
            out += kind;
    }
    return out;
}

// "{4095a}" in a field stands for 4,095 letters a.
inline std::string repeated(std::string text)
{
    for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at)) {
        const std::size_t end = text.find('}', at);
        const std::string count = text.substr(at + 1, end - at - 2);
        text.replace(at, end - at + 1, std::string(std::stoul(count), text[end - 1]));
    }
    return text;
}

inline std::vector<std::vector<std::string>> caseFile(const std::filesystem::path& file, std::size_t rawFields = 0)
{
    std::vector<std::vector<std::string>> cases;
    std::istringstream lines(readFile(file));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        for (std::size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
            tab = line.find('\t', start);
            const std::string_view field = std::string_view(line).substr(start, tab - start);
            fields.push_back(fields.size() < rawFields ? std::string(field) : unescaped(field));
        }
        cases.push_back(std::move(fields));
    }
    return cases;
}

}  // namespace leafmill::test
