#include "extract/doc/DocToText.h"

namespace leafmill::extract {

// Placeholder until the reader lands.
Result docToText(std::string_view, const Options&)
{
    return Result::failure("this kind of document cannot be read yet");
}

}  // namespace leafmill::extract
