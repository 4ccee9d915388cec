#pragma once

#include "text/LegacyEncodingGuess.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace leafmill {

class CodePage;

// How many first bytes of a text decide its encoding.
inline constexpr std::size_t kEncodingSample = 64 * 1024;

// The setting that has every text's encoding found from its bytes.
inline constexpr std::string_view kDetectEncoding = "auto";

// The encoding a text source is read in.
struct SourceEncoding {
    NamedEncoding encoding;
    std::size_t markSize = 0;  // the byte-order mark the text starts with
    bool isCodePage = false;  // the program's code page: the bytes are taken as they are
};

// The encoding a byte-order mark at the start of `head` names; none (no
// converter, markSize 0) without one.
SourceEncoding markedEncoding(std::string_view head, const CodePage& codePage);

// The encoding of a text from its first bytes (at most kEncodingSample): a
// byte-order mark decides; else UTF-8 when they are UTF-8 beyond ASCII; else
// UTF-16 or UTF-32 by the pattern of their zero bytes; else the detector's
// legacy encoding, checked and, for Latin letters, chosen by how the text
// reads in each Latin code page. The code page keeps the texts it reads the
// same way, and those too short or too unclear for a guess.
SourceEncoding detectSourceEncoding(std::string_view head, const CodePage& codePage);

// `choice` is kDetectEncoding (or empty) to detect, else the encoding every
// text is read in (a byte-order mark of that encoding is left out).
SourceEncoding chooseSourceEncoding(std::string_view head, const CodePage& codePage, std::string_view choice);

// The text as UTF-8, without its byte-order mark; accents that the encoding
// writes apart from their letters (windows-1258) are joined to them.
std::string decodeSource(std::string_view bytes, const SourceEncoding& encoding);
// Those accents joined in UTF-8 the encoding's bytes were decoded to; a text
// may be given in pieces that end at line ends.
std::string composedSource(std::string text, const SourceEncoding& encoding);

// Empty when the setting is kDetectEncoding or an encoding ICU reads, else
// why it cannot be used.
std::string sourceEncodingProblem(std::string_view choice);

}  // namespace leafmill
