#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an RTF document: paragraphs and line breaks as line ends,
// table cells ended by TABs and rows by line ends, footnotes after the main
// text, and one more line end after it all. Refuses bytes that do not start
// with "{\rtf". Never fails on damage inside the document: what was cut or
// guessed is listed in the warnings.
Result rtfToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
