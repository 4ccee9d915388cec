#include "convert/SourceConverter.h"

#include "app/classIniFile.h"

#include "convert/InputFile.h"
#include "convert/OutputFile.h"
#include "convert/PageCutter.h"
#include "convert/TemporaryTextFile.h"
#include "convert/TextSource.h"
#include "text/CodePage.h"

namespace leafmill {

ExtractedText extractSource(
    const std::string& path, const SourceKind& kind, const CodePage& codePage, std::function<void(int)> progress)
{
    ExtractedText extracted;
    std::string document;
    if (!readWholeFile(pathFromUtf8(path), &document, &extracted.reason)) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    extract::Options options;
    options.codePage = &codePage;
    options.progress = std::move(progress);
    extract::Result result = kind.extractor(document, options);
    extracted.warnings = std::move(result.warnings);
    if (!result.ok) {
        extracted.failure = SourceFailure::ExtractorFailed;
        extracted.reason = result.error.empty() ? "the reader gave no reason" : std::move(result.error);
        return extracted;
    }
    extracted.bytes = codePage.fromUtf8(result.text);
    return extracted;
}

SourceConverter::SourceConverter(
    const DispatchTable& table, const CodePage& codePage, PageCutter& cutter, std::function<void(int)> sourceProgress)
    : table_(table)
    , codePage_(codePage)
    , cutter_(cutter)
    , sourceProgress_(std::move(sourceProgress))
{
}

SourceOutcome SourceConverter::ConvertFile(const std::string& path)
{
    SourceOutcome outcome;
    outcome.path = path;
    const SourceKind* kind = findSourceKind(path, table_);
    if (!kind) {
        outcome.failure = SourceFailure::UnsupportedKind;
        outcome.reason = "the kind of file is not supported";
        return outcome;
    }

    std::string text;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(pathFromUtf8(path));
        switch (check.form) {
        case TextForm::Unreadable:
            outcome.failure = SourceFailure::Missing;
            outcome.reason = check.reason;
            return outcome;
        case TextForm::Binary:
            outcome.failure = SourceFailure::ExtractorFailed;
            outcome.reason = "it holds NUL bytes and no byte-order mark, so it is no text in a code page";
            return outcome;
        case TextForm::CodePageBytes:
        case TextForm::Utf8Marked:
            return cutOutcome(std::move(outcome), cutter_.CutTextFile(pathFromUtf8(path), byteOrderMarkSize(check.form)));
        default:
            if (!readWholeFile(pathFromUtf8(path), &text, &outcome.reason)) {
                outcome.failure = SourceFailure::Missing;
                return outcome;
            }
            // Wide text is cut like any extracted text, in the code page.
            text = codePage_.fromUtf8(wideTextToUtf8(text, check.form));
        }
    } else {
        ExtractedText extracted = extractSource(path, *kind, codePage_, sourceProgress_);
        outcome.warnings = std::move(extracted.warnings);
        if (extracted.failure != SourceFailure::None) {
            outcome.failure = extracted.failure;
            outcome.reason = std::move(extracted.reason);
            return outcome;
        }
        text = std::move(extracted.bytes);
    }
    TemporaryTextFile temporary;
    if (!temporary.create(kind->extractor ? kind->kindWord : "txt", text, &outcome.reason)) {
        outcome.failure = SourceFailure::ExtractorFailed;
        return outcome;
    }
    text = std::string();
    return cutOutcome(std::move(outcome), cutter_.CutTextFile(pathFromUtf8(temporary.path())));
}

SourceOutcome SourceConverter::cutOutcome(SourceOutcome outcome, CutOutcome cut)
{
    outcome.pages = cut.pages;
    outcome.failure = cut.failure;
    outcome.reason = std::move(cut.reason);
    return outcome;
}

} // namespace leafmill
