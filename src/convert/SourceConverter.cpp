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
    extracted.text = std::move(result.text);
    return extracted;
}

ExtractedText readTextSource(const std::string& path, const CodePage& codePage, TextForm form)
{
    ExtractedText extracted;
    std::string bytes;
    if (!readWholeFile(pathFromUtf8(path), &bytes, &extracted.reason)) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    if (form == TextForm::CodePageBytes || form == TextForm::Utf8Marked)
        extracted.text = codePage.toUtf8(std::string_view(bytes).substr(byteOrderMarkSize(form)));
    else
        extracted.text = wideTextToUtf8(bytes, form);
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

    TextForm form = TextForm::CodePageBytes;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(pathFromUtf8(path));
        form = check.form;
        if (form == TextForm::Unreadable) {
            outcome.failure = SourceFailure::Missing;
            outcome.reason = check.reason;
            return outcome;
        }
        if (form == TextForm::Binary) {
            outcome.failure = SourceFailure::ExtractorFailed;
            outcome.reason = "it holds NUL bytes and no byte-order mark, so it is no text in a code page";
            return outcome;
        }
    }
    const bool cutAsItIs = form == TextForm::CodePageBytes || form == TextForm::Utf8Marked;
    CutOutcome cut;
    if (!kind->extractor && !pageText_.encoder && cutAsItIs) {
        cut = cutter_.CutTextFile(pathFromUtf8(path), byteOrderMarkSize(form));
    } else {
        // Wide text is put into the code page like any extracted text.
        ExtractedText extracted = kind->extractor ? extractSource(path, *kind, codePage_, sourceProgress_)
                                                  : readTextSource(path, codePage_, form);
        outcome.warnings = std::move(extracted.warnings);
        if (extracted.failure != SourceFailure::None) {
            outcome.failure = extracted.failure;
            outcome.reason = std::move(extracted.reason);
            return outcome;
        }
        std::string bytes;
        if (pageText_.encoder) {
            PageText page = makePageText(extracted.text, pageText_);
            bytes = std::move(page.bytes);
            outcome.replaced = std::move(page.replaced);
        } else {
            bytes = codePage_.fromUtf8(extracted.text);
        }
        extracted.text = std::string();
        TemporaryTextFile temporary;
        const std::string_view kindWord = kind->extractor ? kind->kindWord : std::string_view("txt");
        if (!temporary.create(kindWord, bytes, &outcome.reason)) {
            outcome.failure = SourceFailure::ExtractorFailed;
            return outcome;
        }
        bytes = std::string();
        cut = cutter_.CutTextFile(pathFromUtf8(temporary.path()));
    }
    outcome.pages = cut.pages;
    outcome.failure = cut.failure;
    outcome.reason = std::move(cut.reason);
    return outcome;
}

} // namespace leafmill
