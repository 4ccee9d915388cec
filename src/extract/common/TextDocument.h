#pragma once

#include "extract/Extractor.h"
#include "text/SourceEncoding.h"

#include <memory>
#include <string>
#include <string_view>

namespace leafmill {
class Utf8Decoder;
}

namespace leafmill::extract {

// options.codePage, else the system's, opened into `systemPage`; null when
// neither can be had.
const CodePage* programCodePage(const Options& options, std::shared_ptr<const CodePage>& systemPage);

// A document that is text in an encoding it does not declare (Markdown, the
// text of a zipped book), as UTF-8: read as a text source is, in
// options.sourceEncoding or the encoding found from its bytes, the code page
// (the system's when none is given) when there is no telling.
struct DecodedText {
    std::string text;
    std::string readAs;  // the encoding found, when it is not the code page
};
DecodedText decodeTextDocument(std::string_view bytes, const Options& options);

// The same text a piece at a time, so that a long document's text is never
// held whole: each piece ends at a line end (the last one excepted), and the
// bytes a piece came from are given back (options.release) once decoded.
class DecodedPieces {
public:
    DecodedPieces(std::string_view bytes, const Options& options);
    ~DecodedPieces();
    DecodedPieces(const DecodedPieces&) = delete;
    DecodedPieces& operator=(const DecodedPieces&) = delete;

    // The next piece into `piece`; false once the text is through.
    bool next(std::string& piece);
    // The encoding found, when it is not the code page.
    const std::string& readAs() const { return readAs_; }

private:
    const Options& options_;
    std::string_view bytes_;  // not yet decoded
    std::unique_ptr<Utf8Decoder> decoder_;  // none: the bytes are taken for UTF-8
    SourceEncoding encoding_;
    std::string readAs_;
    std::string decoded_;  // decoded, not yet handed out
    bool done_ = false;
};

}  // namespace leafmill::extract
