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

namespace {

// How each failure is worded: the language string and the marker in it that
// takes the reason.
struct FailureWording {
    SourceFailure failure;
    int text;
    std::string_view marker;
};
constexpr FailureWording kFailureWordings[] = {
    {SourceFailure::UnsupportedKind, StringId::FailureUnknownKind, {}},
    {SourceFailure::ExtractorFailed, StringId::FailureNotConverted, "@Reason"},
    {SourceFailure::WriteFailed, StringId::FailurePageNotWritten, "@Reason"},
    {SourceFailure::TooLarge, StringId::FailureTooLarge, "@Limit"},
    {SourceFailure::Changed, StringId::FailureChanged, {}},
    {SourceFailure::ReaderStopped, StringId::FailureReaderStopped, "@Reason"},
    {SourceFailure::NoText, StringId::FailureNoText, {}},
};

int headlineOf(const RunResult& result)
{
    const bool stopped = result.end == RunEnd::Stopped;
    switch (result.book) {
    case BookState::Made:
        return stopped                 ? StringId::RunStoppedPagesKept
            : result.anySourceFailed() ? StringId::RunMadeIncomplete
                                       : StringId::RunFinished;
    case BookState::EarlierKept:
        return stopped ? StringId::RunStoppedBookKept : StringId::RunBookKept;
    case BookState::None:
        break;
    }
    return stopped ? StringId::RunStopped : StringId::RunNoPages;
}

}  // namespace

std::string failureLine(const LanguageTable& language, const SourceOutcome& source)
{
    std::string why;
    if (source.failure == SourceFailure::Missing) {
        why = language.text(StringId::FailureUnreadable);
        // The language's words name the kind of failure; the system's say what exactly.
        if (!source.reason.empty())
            why += " (" + source.reason + ")";
    }
    for (const FailureWording& wording : kFailureWordings)
        if (wording.failure == source.failure)
            why = replaceAll(language.text(wording.text), wording.marker, source.reason);
    if (source.pages > 0)
        why = replaceAll(
            replaceAll(language.text(StringId::FailureStoppedAfter), "@Pages", std::to_string(source.pages)), "@Reason",
            why);
    return source.path + ": " + why;
}

namespace {

// How many characters the page encoding lacked, the first of them, and the
// offered page encoding that keeps those.
std::string replacedLine(const LanguageTable& language, const SourceOutcome& source)
{
    std::string line = replaceAll(
        replaceAll(language.text(StringId::CharactersReplaced), "@Count", std::to_string(source.replaced.count)),
        "@First", source.replaced.first);
    if (!source.keptBy.empty())
        line += " " + replaceAll(language.text(StringId::KeptByPageEncoding), "@Encoding", source.keptBy);
    return line;
}

}  // namespace

std::string refusalText(const LanguageTable& language, const Refusal& refusal)
{
    std::string text = language.text(refusal.text);
    for (const auto& [marker, value] : refusal.values)
        text = replaceAll(std::move(text), marker, value);
    return text;
}

std::string endSummary(const LanguageTable& language, const RunResult& result)
{
    std::string summary = result.notPlaced.empty()
        ? replaceAll(language.text(headlineOf(result)), "@Pages", std::to_string(result.pageCount))
        : replaceAll(language.text(StringId::BookNotPlaced), "@Reason", result.notPlaced);
    summary = replaceAll(summary, "@BookName", result.bookName);
    if (result.removedOldPages > 0)
        summary += "\n"
            + replaceAll(language.text(StringId::OldPagesRemoved), "@Count", std::to_string(result.removedOldPages));
    for (const SourceOutcome& source : result.sources)
        if (!source.renamedTo.empty() && result.book == BookState::Made)
            summary += "\n"
                + replaceAll(replaceAll(language.text(StringId::PageRenamed), "@Source", source.path), "@Page",
                             source.renamedTo);
    return summary;
}

std::vector<MessageSection> endSections(const LanguageTable& language, const std::vector<SourceOutcome>& sources)
{
    MessageSection failed {language.text(StringId::FailureListHeading), {}};
    MessageSection cutShort {language.text(StringId::UnfinishedListHeading), {}};
    MessageSection readAs {"", {}};
    MessageSection replaced {"", {}};
    MessageSection warned {language.text(StringId::WarningListHeading), {}};
    for (const SourceOutcome& source : sources) {
        if (source.failure != SourceFailure::None)
            (source.pages > 0 ? cutShort : failed).lines.push_back(failureLine(language, source));
        if (!source.readAs.empty())
            readAs.lines.push_back(source.path + ": "
                                   + replaceAll(language.text(StringId::ReadAs), "@Encoding", source.readAs));
        if (source.replaced.count > 0)
            replaced.lines.push_back(source.path + ": " + replacedLine(language, source));
        if (source.warnings.empty())
            continue;
        warned.lines.push_back(source.path);
        for (const std::string& warning : source.warnings)
            warned.lines.push_back("  " + warning);
    }
    std::vector<MessageSection> sections;
    for (MessageSection* section : {&failed, &cutShort, &readAs, &replaced, &warned})
        if (!section->lines.empty())
            sections.push_back(std::move(*section));
    return sections;
}

std::vector<MessageSection> runSections(const LanguageTable& language, const RunResult& result,
                                        const OutputTarget& target)
{
    std::vector<MessageSection> sections = endSections(language, result.sources);
    for (MessageSection& section : target.endSections(language, result))
        sections.push_back(std::move(section));
    return sections;
}

std::string runMessage(const LanguageTable& language, const RunResult& result, const OutputTarget& target)
{
    if (result.end == RunEnd::Refused || result.end == RunEnd::BookFolderFailed)
        return refusalText(language, result.refusal);
    const std::string message = endMessage(endSummary(language, result), runSections(language, result, target));
    return result.notFinished.empty() ? message : message + "\n\n" + result.notFinished;
}

std::string endMessage(const std::string& summary, const std::vector<MessageSection>& sections)
{
    std::string message = summary;
    for (const MessageSection& section : sections) {
        if (!section.heading.empty())
            message += "\n\n" + section.heading;
        // Lines without a heading stand apart as paragraphs of their own.
        for (const std::string& line : section.lines)
            message += (section.heading.empty() ? "\n\n" : "\n") + line;
    }
    return message;
}

}  // namespace leafmill
