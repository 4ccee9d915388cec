#include "convert/EndMessage.h"

#include "lang/LanguageTable.h"
#include "lang/StringId.h"

namespace leafmill {

std::string replaceAll(std::string text, std::string_view marker, std::string_view value)
{
    if (marker.empty())
        return text;
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
    return text;
}

std::string failureLine(const LanguageTable& language, const SourceOutcome& source)
{
    std::string why;
    switch (source.failure) {
    case SourceFailure::None:
        break;
    case SourceFailure::UnsupportedKind:
        why = language.text(StringId::FailureUnknownKind);
        break;
    case SourceFailure::Missing:
        why = language.text(StringId::FailureUnreadable);
        break;
    case SourceFailure::ExtractorFailed:
        why = replaceAll(language.text(StringId::FailureNotConverted), "@Reason", source.reason);
        break;
    case SourceFailure::WriteFailed:
        why = replaceAll(language.text(StringId::FailurePageNotWritten), "@Reason", source.reason);
        break;
    }
    return source.path + ": " + why;
}

std::string endMessage(
    const LanguageTable& language, bool stopped, const std::string& bookName, const std::vector<SourceOutcome>& sources)
{
    std::string message = stopped ? language.text(StringId::RunStopped)
                                  : replaceAll(language.text(StringId::RunFinished), "@BookName", bookName);
    bool headed = false;
    for (const SourceOutcome& source : sources) {
        if (source.failure == SourceFailure::None)
            continue;
        if (!headed) {
            message += "\n\n" + language.text(StringId::FailureListHeading);
            headed = true;
        }
        message += "\n" + failureLine(language, source);
    }
    for (const SourceOutcome& source : sources) {
        if (source.replaced.count == 0)
            continue;
        message += "\n\n" + source.path + ": "
            + replaceAll(replaceAll(language.text(StringId::CharactersReplaced), "@Count",
                             std::to_string(source.replaced.count)),
                "@First", source.replaced.first);
    }
    return message;
}

} // namespace leafmill
