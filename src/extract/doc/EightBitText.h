#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract::doc {

// The characters of 8-bit text in one code page, as the 16-bit units the
// text assembler takes: a table for single bytes, and for the double-byte
// pages of East Asian documents the lead bytes and their pairs.
class EightBitText {
public:
    explicit EightBitText(std::shared_ptr<const CodePage> page);

    // The code page of a Word 6 or Word 95 document, from the language and
    // character set its file information block names. When ICU lacks that
    // page, `fallback` (the program's page; windows-1252 when null) with a
    // warning.
    static EightBitText forWord6(std::uint16_t lid, bool mac, const CodePage* fallback,
                                 std::vector<std::string>& warnings);

    const CodePage& page() const { return *page_; }
    char16_t unit(unsigned char byte) const { return units_[byte]; }
    bool leads(unsigned char byte) const { return leads_[byte]; }
    // A character outside the Basic Multilingual Plane or none at all is U+FFFD.
    char16_t pair(unsigned char lead, unsigned char trail) const;

private:
    std::shared_ptr<const CodePage> page_;
    std::array<char16_t, 256> units_ {};
    std::array<bool, 256> leads_ {};
    mutable std::map<std::uint16_t, char16_t> pairs_;
};

// The Windows code page (or Mac character set, with `mac`) of the text of a
// Word 6 or Word 95 document written by a Word of language `lid`: 1252 for
// Western languages and those we do not know.
int codePageOfLanguage(std::uint16_t lid, bool mac);

}  // namespace leafmill::extract::doc
