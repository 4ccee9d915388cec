#pragma once

#include "text/SourceEncoding.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
class Utf8Decoder;
}  // namespace leafmill

namespace leafmill::extract {

// How a page's bytes become its UTF-8 text.
struct PageReading {
    bool asUtf8 = false;  // the bytes are UTF-8 and taken as they are
    SourceEncoding encoding;  // otherwise: decoded from this, its mark left out
    bool composed = false;  // accents written apart from their letters are joined to them
    std::string readAs;  // the encoding found for a page that declares none, when not the code page
};

// The page's character set comes from a byte-order mark, else from the first
// <meta> declaration in the first 1,024 bytes that the bytes do not
// contradict, else from `sourceEncoding` as for a text source (found from the
// bytes when it is kDetectEncoding). A declaration is contradicted when it
// names UTF-8 and the bytes are not UTF-8, or names another set and the bytes
// are UTF-8 with characters beyond ASCII (then the page is read as UTF-8).
// Unknown and contradicted declarations are reported in `warnings`. Only a
// declared page has all its bytes looked at; they are released as passed.
PageReading choosePageReading(std::string_view bytes, const CodePage& codePage, std::string_view sourceEncoding,
                              const std::function<void(std::string_view)>& release, std::vector<std::string>& warnings);

// The page's text as UTF-8, a piece at a time: each piece ends at a line end
// (CR or LF) unless it is the last, so a page written on one line comes in
// one piece. The bytes passed are released a few megabytes at a time.
class PageDecoder {
public:
    PageDecoder(std::string_view bytes, const PageReading& reading, std::size_t pieceSize,
                std::function<void(std::string_view)> release);
    ~PageDecoder();
    PageDecoder(const PageDecoder&) = delete;
    PageDecoder& operator=(const PageDecoder&) = delete;

    // Replaces `piece` with the next piece; false once the text is done.
    bool next(std::string& piece);

private:
    void releasePassed();

    std::string_view bytes_;
    const PageReading& reading_;
    std::size_t pieceSize_;
    std::function<void(std::string_view)> release_;
    std::unique_ptr<Utf8Decoder> decoder_;
    std::size_t read_ = 0;  // bytes_[..read_] are decoded
    std::size_t released_ = 0;
    std::string waiting_;  // decoded text after the last line end
};

}  // namespace leafmill::extract
