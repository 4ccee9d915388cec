#pragma once

#include <cstdint>
#include <string_view>

namespace leafmill::extract::doc {

// The parts of a Word 6 to Word 2003 file information block (the head of the
// WordDocument stream) that text extraction needs.
struct Fib {
    std::uint16_t wIdent = 0;
    std::uint16_t nFib = 0;
    std::uint16_t lid = 0;  // the language of the program that wrote the file
    bool encrypted = false;
    bool tableIsOneTable = false;  // fWhichTblStm: "1Table" rather than "0Table"

    // Word 6 and Word 95 keep their tables in the WordDocument stream and their
    // text in 8-bit characters of the document's code page; without the
    // complex (fast-saved) flag the text is the single run [fcMin, fcMac).
    bool word6 = false;
    bool macCharacterSet = false;  // chse 256
    bool complex = false;
    std::uint32_t fcMin = 0, fcMac = 0;

    // Story lengths in character positions, in the order the stories follow
    // each other in the text.
    std::uint32_t ccpText = 0, ccpFtn = 0, ccpHdd = 0, ccpMcr = 0, ccpAtn = 0, ccpEdn = 0;

    // Offsets and sizes inside the table stream.
    std::uint32_t fcPlcfBtePapx = 0, lcbPlcfBtePapx = 0;
    std::uint32_t fcClx = 0, lcbClx = 0;

    static constexpr std::uint16_t kWordIdent = 0xA5EC;
    static constexpr std::uint16_t kWord6Ident = 0xA5DC;
    static constexpr std::uint16_t kWord6 = 0x65;
    static constexpr std::uint16_t kWord95Last = 0x69;
    static constexpr std::uint16_t kWord97 = 0xC1;

    // Reads the block; an unreadable or truncated one raises DocFormatError.
    // Only the fixed head is read when the format is older than Word 6 or
    // lies between Word 95 and Word 97.
    static Fib parse(std::string_view wordDocument);

private:
    void parseWord6(std::string_view wordDocument);
};

}  // namespace leafmill::extract::doc
