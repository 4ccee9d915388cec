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
    std::uint32_t ccpTxbx = 0;  // the main document's text boxes

    // Offsets and sizes inside the table stream.
    std::uint32_t fcPlcfBtePapx = 0, lcbPlcfBtePapx = 0;
    std::uint32_t fcClx = 0, lcbClx = 0;
    // Notes and text boxes: where references and texts are; the document
    // properties hold the notes' numbering. Zero when the block has no room.
    std::uint32_t fcPlcffndRef = 0, lcbPlcffndRef = 0, fcPlcffndTxt = 0, lcbPlcffndTxt = 0;
    std::uint32_t fcPlcfendRef = 0, lcbPlcfendRef = 0, fcPlcfendTxt = 0, lcbPlcfendTxt = 0;
    std::uint32_t fcPlcfSed = 0, lcbPlcfSed = 0, fcDop = 0, lcbDop = 0;
    std::uint32_t fcPlcftxbxTxt = 0, lcbPlcftxbxTxt = 0;
    // Formatting: styles, character runs, fonts, lists and their overrides.
    std::uint32_t fcStshf = 0, lcbStshf = 0, fcPlcfBteChpx = 0, lcbPlcfBteChpx = 0;
    std::uint32_t fcSttbfFfn = 0, lcbSttbfFfn = 0, fcPlfLst = 0, lcbPlfLst = 0, fcPlfLfo = 0, lcbPlfLfo = 0;

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
