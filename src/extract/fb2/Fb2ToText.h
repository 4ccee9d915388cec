#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The text of a FictionBook (.fb2, or zipped as .fb2.zip and .fbz, inflated
// as it is read under the zip packages' budget): its bodies in order, the
// notes after the main text, section titles as chapters (nested sections a
// level deeper), in the encoding the XML declares. The book is read a block
// at a time, so that memory does not grow with it. Pictures are left out; no
// DTD is read and no entity expanded.
Result fb2ToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
