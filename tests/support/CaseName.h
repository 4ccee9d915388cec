#pragma once

// Names for the cases of parameterised tests, made of letters, digits and '_'
// and the same in every build, so that `ctest -R` can pick a case.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace leafmill::test {

// The ASCII letters and digits of `text`, each run of other bytes one '_', at
// most `length` characters; "case" when there are none.
inline std::string caseName(std::string_view text, std::size_t length = 40)
{
    std::string name;
    for (const char c : text) {
        if (name.size() >= length)
            break;
        const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (word)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "case" : name;
}

// For cases with no name of their own: the words of the first field and a
// digest of all of them, which tells apart cases that start alike.
inline std::string caseName(std::initializer_list<std::string_view> fields)
{
    uint32_t digest = 2166136261u;  // FNV-1a
    for (const std::string_view field : fields) {
        for (const char c : field)
            digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
        digest = (digest ^ 0xFFu) * 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%06x", static_cast<unsigned>(digest & 0xFFFFFFu));
    return caseName(*fields.begin()) + "_" + hex;
}

// Name generators for INSTANTIATE_TEST_SUITE_P: the parameter itself (a
// text), one field that names the case, or the fields that make it.
struct NamedByValue {
    template <class Param> std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return caseName(std::string_view(info.param));
    }
};

template <auto Field> struct NamedBy {
    template <class Param> std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return caseName(std::string_view(info.param.*Field));
    }
};

template <auto... Fields> struct NamedByContent {
    template <class Param> std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return caseName({std::string_view(info.param.*Fields)...});
    }
};

}  // namespace leafmill::test
