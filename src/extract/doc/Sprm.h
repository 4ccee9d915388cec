#pragma once

#include <cstdint>
#include <string_view>

namespace leafmill::extract::doc {

// The property modifiers Word 97-2003 formatting is made of.
enum SprmCode : std::uint16_t {
    kSprmPIlvl = 0x260A,  // list level of a paragraph
    kSprmPIlfo = 0x460B,  // list (1-based index of the list format overrides), 0: none
    kSprmPFTtp = 0x2417,  // table terminating paragraph
    kSprmPFInnerTtp = 0x244C,
    kSprmPOutLvl = 0x2640,  // outline level 0..8, 9: body text
    kSprmPChgTabs = 0xC615,
    kSprmTDefTable = 0xD608,
    kSprmCSymbol = 0x6A09,  // a symbol font's character: font index, character code
    kSprmCRgFtc0 = 0x4A4F,  // the font of ASCII text
};

struct Sprm {
    std::uint16_t code = 0;
    std::string_view operand;

    // The operand's first byte, or first two bytes (little-endian); 0 when it is shorter.
    unsigned byte() const { return operand.empty() ? 0 : static_cast<unsigned char>(operand[0]); }
    unsigned word(std::size_t at = 0) const
    {
        return operand.size() < at + 2
            ? 0
            : unsigned(static_cast<unsigned char>(operand[at])) | unsigned(static_cast<unsigned char>(operand[at + 1])) << 8;
    }
};

// Walks a list of property modifiers (a grpprl) in order. A modifier cut
// short by the end of the list ends the walk.
class SprmReader {
public:
    explicit SprmReader(std::string_view grpprl) : grpprl_(grpprl) {}

    bool next(Sprm& sprm);

private:
    std::string_view grpprl_;
    std::size_t pos_ = 0;
};

}  // namespace leafmill::extract::doc
