#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an HTML-like page (.htm, .html, .asp, .php): read in the
// character set the page declares (else options.codePage), passed through
// the line filter of HtmlLineFilter. Never fails; an unknown or contradicted
// character-set declaration is a warning.
Result htmlToText(std::string_view bytes, const Options& options);

// The text of a page that is part of a book, without the title the reader
// shows above a page's text: in a book it only repeats the page's heading.
Result bookPageText(std::string page, const Options& options);

}  // namespace leafmill::extract
