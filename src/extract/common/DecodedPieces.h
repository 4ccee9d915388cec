#pragma once

#include "text/SourceEncoding.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace leafmill {
class Utf8Decoder;
}

namespace leafmill::extract {

// How a document's bytes become its UTF-8 text.
struct TextReading {
    bool asUtf8 = false;  // the bytes are UTF-8 and taken as they are
    SourceEncoding encoding;  // otherwise: decoded from this, its mark left out
    bool composed = false;  // accents written apart from their letters are joined to them
    std::string readAs;  // the encoding found, when it is not the code page
};

// The document's text as UTF-8, a piece at a time, so that a long document's
// text is never held whole: each piece ends at a line end (CR or LF, never
// between the two of a CR LF) unless it is the last, so a document written
// on one line comes in one piece, unless `cutAfter` names a character after
// which a line longer than a piece may be cut. The bytes passed are released
// a few megabytes at a time.
class DecodedPieces {
public:
    DecodedPieces(std::string_view bytes, TextReading reading, std::size_t pieceSize,
                  std::function<void(std::string_view)> release, char cutAfter = '\0');
    ~DecodedPieces();
    DecodedPieces(const DecodedPieces&) = delete;
    DecodedPieces& operator=(const DecodedPieces&) = delete;

    // Replaces `piece` with the next piece; false once the text is done.
    bool next(std::string& piece);

private:
    void releasePassed();

    std::string_view bytes_;
    TextReading reading_;
    std::size_t pieceSize_;
    std::function<void(std::string_view)> release_;
    char cutAfter_;
    std::unique_ptr<Utf8Decoder> decoder_;
    std::size_t read_ = 0;  // bytes_[..read_] are decoded
    std::size_t released_ = 0;
    std::string waiting_;  // decoded text after the last line end
};

}  // namespace leafmill::extract
