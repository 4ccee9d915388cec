#include "extract/rtf/RtfToText.h"

#include "extract/rtf/RtfReader.h"

namespace leafmill::extract {

Result rtfToText(std::string_view bytes, const Options& options)
{
    if (!bytes.starts_with("{\\rtf"))
        return Result::failure("not an RTF document");
    return rtf::RtfReader(bytes, options).read();
}

}  // namespace leafmill::extract
