#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace leafmill::extract::rtf {

// One lexical unit of an RTF stream.
struct RtfToken {
    enum class Kind {
        End,  // no more input
        GroupOpen,  // {
        GroupClose,  // }
        ControlWord,  // \word or \wordN; `word`, `hasParam`, `param`
        ControlSymbol,  // \x for a non-letter x; `symbol`
        HexByte,  // \'hh; `byte`
        Text,  // a run of plain bytes (line ends dropped); `text`
        Binary,  // the data of \binN, which is never read as RTF; `text`
    };

    Kind kind = Kind::End;
    std::string_view word;
    std::string_view text;
    int32_t param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
};

// Splits RTF bytes into tokens, one at a time, without recursion or copying.
// Bare CR and LF are not text in RTF and are dropped; a backslash before a
// line end is reported as the control word "par", as editors write it so.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view bytes)
        : bytes_(bytes)
    {
    }

    RtfToken next();

    // Bytes consumed so far.
    std::size_t position() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }
    std::string_view remainder() const { return bytes_.substr(pos_); }
    // How many \bin blocks were cut short by the end of the input.
    int truncatedBinaryCount() const { return truncatedBinaries_; }

private:
    RtfToken readControl();
    RtfToken readText();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int truncatedBinaries_ = 0;
};

}  // namespace leafmill::extract::rtf
