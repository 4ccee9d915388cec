#include "extract/html/HtmlToText.h"

namespace leafmill::extract {

// Placeholder until the reader lands.
Result htmlToText(std::string_view, const Options&)
{
    return Result::failure("this kind of document cannot be read yet");
}

}  // namespace leafmill::extract
