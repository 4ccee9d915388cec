#include "convert/EmbeddedDocuments.h"

#include "extract/Formats.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"

#include <string>

namespace leafmill {

namespace {

extract::Result textOf(std::string_view bytes, const CodePage& codePage)
{
    extract::Result result;
    result.ok = true;
    result.text = decodeSource(bytes, detectSourceEncoding(bytes.substr(0, kEncodingSample), codePage));
    return result;
}

}  // namespace

extract::EmbeddedReader embeddedDocumentReader(const CodePage& codePage)
{
    return [&codePage](std::string_view ending, std::string_view bytes) {
        const SourceKind* kind = findSourceKind(ending, defaultDispatchTable());
        if (kind == nullptr)
            return extract::Result::failure("there is no reader for embedded documents of that kind");
        if (kind->extractor == nullptr)
            return textOf(bytes, codePage);
        extract::Options options;
        options.codePage = &codePage;
        return kind->extractor(bytes, options);
    };
}

}  // namespace leafmill
