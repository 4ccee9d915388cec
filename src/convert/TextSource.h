#pragma once

#include "text/SourceEncoding.h"

#include <string>
#include <string_view>

namespace leafmill {

class CodePage;
class InputFile;

// Whether a text source holds text, and in which encoding.
enum class TextForm {
    Text,
    Binary,  // NUL bytes, and no encoding whose text they are
    Unreadable,
};

struct TextSourceCheck {
    TextForm form = TextForm::Unreadable;
    SourceEncoding encoding;
    std::string reason;  // the system's words when unreadable, why it is no text when binary
};

// Reads the source's first kEncodingSample bytes for its encoding (`choice`
// is kDetectEncoding or an encoding's name) and, unless that is UTF-16 or
// UTF-32, the rest for NUL bytes.
TextSourceCheck inspectTextSource(InputFile& file, const CodePage& codePage, std::string_view choice);

}  // namespace leafmill
