#pragma once

#include "extract/rtf/ByteDecoder.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace leafmill::extract::rtf {

// Collects the text of a document as UTF-8 from the pieces RTF gives it:
// code-page bytes (whose double-byte characters may come as two \'hh
// escapes), UTF-16 units from \u (whose surrogate pairs come as two), and
// characters and line ends of our own. The text goes to a string the reader
// owns, so that it can hand finished text on while the rest is assembled.
class RtfTextAssembler {
public:
    explicit RtfTextAssembler(std::string& out)
        : out_(out)
    {
    }

    void appendBytes(std::string_view bytes, ByteDecoder& decoder);
    void appendByte(unsigned char byte, ByteDecoder& decoder);
    void appendUtf16Unit(char16_t unit);
    void appendChar(char32_t c);
    void appendAscii(std::string_view text);
    // Ends the current line unless the text is empty or already at a line start.
    void endLine();

    // Where the next text goes, for insertAscii(); text before it is complete.
    std::size_t mark();
    // Text put back at a mark once it is known (a note's number).
    void insertAscii(std::size_t at, std::string_view text) { out_.insert(at, text); }
    // The complete text from a mark on.
    std::string_view since(std::size_t at) { return std::string_view(out_).substr(std::min(at, mark())); }

    // Completes the text: a character left half by its pieces is replaced.
    void finish() { endPieces(); }

private:
    void endPieces();
    void switchDecoder(ByteDecoder& decoder);

    std::string& out_;
    ByteDecoder* active_ = nullptr;  // a multi-byte decoder that may hold half a character
    char16_t highSurrogate_ = 0;
};

}  // namespace leafmill::extract::rtf
