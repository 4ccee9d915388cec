#pragma once

#include "extract/Extractor.h"
#include "extract/common/DecodedPieces.h"

#include <memory>
#include <string>
#include <string_view>

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

// How such a document's bytes become its text, for reading it a piece at a
// time (DecodedPieces): taken as they are when there is no code page.
TextReading textDocumentReading(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
