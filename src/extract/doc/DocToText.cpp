#include "extract/doc/DocToText.h"

#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/ForeignFormat.h"
#include "extract/doc/StoryReader.h"
#include "extract/doc/WordDocument.h"

#include <new>

namespace leafmill::extract {

Result docToText(std::string_view bytes, const Options& options)
{
    return doc::docToTextWithMainLength(bytes, options, nullptr);
}

Result doc::docToTextWithMainLength(std::string_view bytes, const Options& options, std::size_t* mainTextLength)
{
    if (std::optional<std::string> reason = doc::foreignFormatReason(bytes))
        return Result::failure(*reason);
    try {
        const doc::CompoundFile file(bytes);
        const doc::WordDocument document(file);
        Result result;
        doc::StoryReader reader(document, options, result);
        reader.run();
        if (mainTextLength)
            *mainTextLength = reader.mainTextLength();
        result.ok = true;
        return result;
    } catch (const doc::DocFormatError& error) {
        return Result::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Result::failure("there is not enough memory to read the document");
    }
}

}  // namespace leafmill::extract
