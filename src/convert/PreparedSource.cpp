#include "convert/PreparedSource.h"

#include "convert/ContentDispatch.h"
#include "convert/HeadingLines.h"
#include "convert/JoinLines.h"
#include "io/FileAccess.h"
#include "io/MappedFile.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

// The sink takes the bytes in pieces, so that they never need a second copy
// on its side.
constexpr std::size_t kPiece = 1 << 20;

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

void handOver(std::string_view bytes, std::string_view kindWord, const SourceSink& sink)
{
    sink.begin(kindWord);
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
        sink.bytes(bytes.substr(at, kPiece));
}

}  // namespace

ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::function<void(int)> progress)
{
    ExtractedText extracted;
    MappedFile document;
    if (document.open(pathFromUtf8(path), &extracted.reason) != ReadResult::Ok) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    extract::Options options;
    options.codePage = &codePage;
    options.progress = std::move(progress);
    extract::Result result = kind.extractor(document.bytes(), options);
    extracted.warnings = std::move(result.warnings);
    if (!result.ok) {
        extracted.failure = SourceFailure::ExtractorFailed;
        extracted.reason = result.error.empty() ? "the reader gave no reason" : std::move(result.error);
        return extracted;
    }
    extracted.text = std::move(result.text);
    extracted.chapters = std::move(result.chapters);
    return extracted;
}

ExtractedText readTextSource(const std::string& path, const CodePage& codePage, TextForm form)
{
    ExtractedText extracted;
    std::string bytes;
    if (readWholeFile(pathFromUtf8(path), bytes, &extracted.reason) != ReadResult::Ok) {
        extracted.failure = SourceFailure::Missing;
        return extracted;
    }
    if (form == TextForm::CodePageBytes)
        extracted.text = codePage.toUtf8(bytes);
    else if (form == TextForm::Utf8Marked)
        extracted.text = bytes.substr(byteOrderMarkSize(form));  // the mark says it is UTF-8 already
    else
        extracted.text = wideTextToUtf8(bytes, form);
    return extracted;
}

PreparedSource prepareSource(const std::string& path, const SourceKind& named, const DispatchTable& table,
                             const CodePage& codePage, const PageTextRules& pageText, const SourceSink& sink)
{
    PreparedSource prepared;
    ContentChoice content = chooseByContent(path, named, table);
    const SourceKind* kind = content.kind;
    if (!content.warning.empty())
        prepared.warnings.push_back(std::move(content.warning));

    TextForm form = TextForm::CodePageBytes;
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(pathFromUtf8(path));
        form = check.form;
        if (form == TextForm::Unreadable) {
            prepared.failure = SourceFailure::Missing;
            prepared.reason = check.reason;
            return prepared;
        }
        if (form == TextForm::Binary) {
            prepared.failure = SourceFailure::ExtractorFailed;
            prepared.reason = "it holds NUL bytes and no byte-order mark, so it is no text in a code page";
            return prepared;
        }
    }
    const bool cutAsItIs = form == TextForm::CodePageBytes || form == TextForm::Utf8Marked;
    if (!kind->extractor && !pageText.encoder && cutAsItIs) {
        prepared.cutInPlace = true;
        prepared.skip = byteOrderMarkSize(form);
        return prepared;
    }
    // Wide text is put into the code page like any extracted text.
    ExtractedText extracted
        = kind->extractor ? extractSource(path, *kind, codePage, sink.progress) : readTextSource(path, codePage, form);
    for (std::string& warning : extracted.warnings)
        prepared.warnings.push_back(std::move(warning));
    if (extracted.failure != SourceFailure::None) {
        prepared.failure = extracted.failure;
        prepared.reason = std::move(extracted.reason);
        return prepared;
    }
    const std::string_view kindWord = kind->extractor ? kind->kindWord : std::string_view("txt");
    if (!pageText.encoder) {
        handOver(codePage.fromUtf8(extracted.text), kindWord, sink);
        return prepared;
    }
    if (pageText.joinLines && !kind->extractor)
        extracted.text = joinedLines(extracted.text);
    std::vector<extract::Chapter> chapters = chaptersOf(path, extracted);
    std::vector<std::size_t> offsets;
    for (const extract::Chapter& chapter : chapters)
        offsets.push_back(chapter.offset);
    PageText page = makePageText(extracted.text, pageText, offsets);
    extracted.text = std::string();
    prepared.replaced = std::move(page.replaced);
    for (std::size_t i = 0; i < chapters.size() && i < page.offsets.size(); ++i)
        prepared.chapters.push_back({std::move(chapters[i].title), page.offsets[i]});
    handOver(page.bytes, kindWord, sink);
    return prepared;
}

}  // namespace leafmill
