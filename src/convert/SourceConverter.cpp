#include "convert/SourceConverter.h"

#include "io/FileAccess.h"
#include "io/MappedFile.h"

#include "convert/ContentDispatch.h"
#include "convert/EmbeddedDocuments.h"
#include "convert/HeadingLines.h"
#include "convert/InputFile.h"
#include "convert/JoinLines.h"
#include "convert/OutputFile.h"
#include "convert/PageCutter.h"
#include "convert/TemporaryTextFile.h"
#include "convert/TextSource.h"
#include "text/CodePage.h"
#include "text/PageEncodingAdvice.h"

namespace leafmill {

ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress)
{
    MappedFile document;
    ExtractedText missing;
    if (document.open(pathFromUtf8(path), &missing.reason) != ReadResult::Ok) {
        missing.failure = SourceFailure::Missing;
        return missing;
    }
    return extractBytes(document.bytes(), kind, codePage, sourceEncoding, std::move(progress));
}

ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::string_view sourceEncoding, std::function<void(int)> progress)
{
    ExtractedText extracted;
    extract::Options options;
    options.codePage = &codePage;
    options.sourceEncoding = sourceEncoding;
    options.progress = std::move(progress);
    options.readEmbedded = embeddedDocumentReader(codePage);
    extract::Result result = kind.extractor(bytes, options);
    extracted.warnings = std::move(result.warnings);
    if (!result.ok) {
        extracted.failure = SourceFailure::ExtractorFailed;
        extracted.reason = result.error.empty() ? "the reader gave no reason" : std::move(result.error);
        return extracted;
    }
    extracted.text = std::move(result.text);
    extracted.chapters = std::move(result.chapters);
    extracted.readAs = std::move(result.readAs);
    return extracted;
}

namespace {

// The file name without its folder and its last extension.
std::string fileTitle(const std::string& path)
{
    std::string name = pathToUtf8(pathFromUtf8(path).stem());
    return name.empty() ? path : name;
}

// The document's own chapters, else the heading-looking lines of its text;
// a source always starts a chapter, named after its file unless a heading
// opens it.
std::vector<extract::Chapter> chaptersOf(const std::string& path, const ExtractedText& extracted)
{
    std::vector<extract::Chapter> chapters
        = extracted.chapters.empty() ? headingLines(extracted.text) : extracted.chapters;
    const std::size_t textStart = extracted.text.find_first_not_of(" \t\r\n");
    if (chapters.empty() || chapters.front().offset > textStart)
        chapters.insert(chapters.begin(), {fileTitle(path), 0, 1});
    return chapters;
}

}  // namespace

ExtractedText readTextSource(const std::string& path, const SourceEncoding& encoding)
{
    ExtractedText extracted;
    std::string bytes;
    if (readWholeFile(pathFromUtf8(path), bytes, &extracted.reason) != ReadResult::Ok) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    extracted.text = decodeSource(bytes, encoding);
    return extracted;
}

SourceConverter::SourceConverter(const DispatchTable& table, const CodePage& codePage, PageCutter& cutter,
                                 std::function<void(int)> sourceProgress)
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
    ContentChoice content = chooseSourceKind(path, table_);
    const SourceKind* kind = content.kind;
    if (!kind) {
        outcome.failure = SourceFailure::UnsupportedKind;
        outcome.reason = "the kind of file is not supported";
        return outcome;
    }
    if (!content.warning.empty())
        outcome.warnings.push_back(std::move(content.warning));

    SourceEncoding encoding;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(pathFromUtf8(path), codePage_, sourceEncoding_);
        if (check.form != TextForm::Text) {
            outcome.failure = check.form == TextForm::Binary ? SourceFailure::ExtractorFailed : SourceFailure::Missing;
            outcome.reason = check.reason;
            return outcome;
        }
        encoding = check.encoding;
        if (!encoding.isCodePage)
            outcome.readAs = encoding.encoding.label;
    }
    CutOutcome cut;
    if (!kind->extractor && !pageText_.encoder && encoding.isCodePage) {
        cut = cutter_.CutTextFile(pathFromUtf8(path), encoding.markSize);
    } else {
        // Text in another encoding is put into the code page like any extracted text.
        ExtractedText extracted = kind->extractor
            ? extractSource(path, *kind, codePage_, sourceEncoding_, sourceProgress_)
            : readTextSource(path, encoding);
        if (!extracted.readAs.empty())
            outcome.readAs = std::move(extracted.readAs);
        for (std::string& warning : extracted.warnings)
            outcome.warnings.push_back(std::move(warning));
        if (extracted.failure != SourceFailure::None) {
            outcome.failure = extracted.failure;
            outcome.reason = std::move(extracted.reason);
            return outcome;
        }
        std::string bytes;
        std::vector<extract::Chapter> chapters;
        if (pageText_.encoder) {
            if (pageText_.joinLines && !kind->extractor)
                extracted.text = joinedLines(extracted.text);
            chapters = chaptersOf(path, extracted);
            std::vector<std::size_t> offsets;
            for (const extract::Chapter& chapter : chapters)
                offsets.push_back(chapter.offset);
            PageText page = makePageText(extracted.text, pageText_, offsets);
            bytes = std::move(page.bytes);
            outcome.replaced = std::move(page.replaced);
            if (outcome.replaced.count > 0)
                outcome.keptBy = pageEncodingKeeping(outcome.replaced.first, pageText_.encoder->codePage());
            cutter_.setMarks(std::move(page.offsets), pageText_.chapterPages);
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
        for (std::size_t i = 0; i < chapters.size() && i < cutter_.markPages().size(); ++i)
            outcome.chapters.push_back({std::move(chapters[i].title), cutter_.markPages()[i]});
    }
    outcome.pages = cut.pages;
    outcome.failure = cut.failure;
    outcome.reason = std::move(cut.reason);
    return outcome;
}

}  // namespace leafmill
