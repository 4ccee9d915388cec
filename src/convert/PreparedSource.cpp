#include "convert/PreparedSource.h"

#include "convert/ContentDispatch.h"
#include "convert/EmbeddedDocuments.h"
#include "convert/JoinLines.h"
#include "convert/SourceTextPieces.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/MappedFile.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

// A text source is read a megabyte at a time.
constexpr std::size_t kPiece = std::size_t {1} << 20;

constexpr std::string_view kUnsupported = "the kind of file is not supported";

// The file name without its folder and its last extension.
std::string fileTitle(const std::string& path)
{
    std::string name = pathToUtf8(pathFromUtf8(path).stem());
    return name.empty() ? path : name;
}

// A text source decoded a megabyte at a time, each piece ending at a line
// end, so that a text of any size takes a piece's room: the same bytes as
// when it is read whole. False with the reason in `prepared` when the file
// cannot be read.
template <typename Each>
bool forEachTextPiece(InputFile& file, const SourceEncoding& encoding, PreparedSource& prepared, Each&& each)
{
    file.rewind();
    Utf8Decoder decoder(encoding.encoding.converter);
    std::size_t markLeft = encoding.markSize;
    std::string block;
    std::string text;  // decoded, not yet handed on
    for (bool last = false; !last;) {
        if (!file.read(block, kPiece, &prepared.reason)) {
            prepared.failure = SourceFailure::Missing;
            return false;
        }
        last = block.empty();
        const std::size_t mark = std::min(markLeft, block.size());
        markLeft -= mark;
        text += decoder.decode(std::string_view(block).substr(mark), last);
        const std::size_t end = last ? text.size() : text.rfind('\n') + 1;
        if (end == 0)
            continue;
        each(composedSource(text.substr(0, end), encoding));
        text.erase(0, end);
    }
    return true;
}

// The text source handed on a piece at a time, its hard-wrapped lines
// joined when `joinLines`: the text is then read twice, since where a line
// was wrapped depends on the width of the whole text's lines.
void streamTextSource(InputFile& file, const SourceEncoding& encoding, bool joinLines, SourceTextPieces& pieces,
                      PreparedSource& prepared)
{
    if (!joinLines) {
        forEachTextPiece(file, encoding, prepared, [&](const std::string& piece) { pieces.add(piece); });
        return;
    }
    WrapWidth wrap;
    if (!forEachTextPiece(file, encoding, prepared, [&](const std::string& piece) { wrap.add(piece); }))
        return;
    LineJoiner joiner(wrap.measured());
    if (forEachTextPiece(file, encoding, prepared, [&](const std::string& piece) { pieces.add(joiner.add(piece)); }))
        pieces.add(joiner.finish());
}

}  // namespace

ExtractedText extractSource(InputFile& source, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress, extract::TextSink sink)
{
    MappedFile document;
    ExtractedText missing;
    if (!document.open(source, &missing.reason)) {
        missing.failure = SourceFailure::Missing;
        return missing;
    }
    return extractBytes(document.bytes(), kind, codePage, sourceEncoding, std::move(progress), std::move(sink),
                        [&document](std::string_view read) { document.release(read); });
}

ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::string_view sourceEncoding, std::function<void(int)> progress, extract::TextSink sink,
                           std::function<void(std::string_view)> release)
{
    ExtractedText extracted;
    extract::Options options;
    options.codePage = &codePage;
    options.sourceEncoding = sourceEncoding;
    options.progress = std::move(progress);
    options.readEmbedded = embeddedDocumentReader(codePage);
    options.sink = std::move(sink);
    options.release = std::move(release);
    extract::Result result = kind.extractor(bytes, options);
    extracted.warnings = std::move(result.warnings);
    if (!result.ok) {
        extracted.failure = SourceFailure::ExtractorFailed;
        extracted.reason = result.error.empty() ? "the reader gave no reason" : std::move(result.error);
        return extracted;
    }
    extracted.text = std::move(result.text);
    result.chapters.erase(result.chapters.begin(),
                          result.chapters.begin() + static_cast<std::ptrdiff_t>(result.chaptersHandedOn));
    extracted.chapters = std::move(result.chapters);
    extracted.readAs = std::move(result.readAs);
    return extracted;
}

PreparedSource openSource(const std::string& path, const DispatchTable& table, InputFile& source)
{
    PreparedSource opened;
    if (source.open(pathFromUtf8(path), &opened.reason))
        return opened;
    opened.failure = findSourceKind(path, table) ? SourceFailure::Missing : SourceFailure::UnsupportedKind;
    if (opened.failure == SourceFailure::UnsupportedKind)
        opened.reason = kUnsupported;
    return opened;
}

PreparedSource prepareSource(const std::string& path, InputFile& source, const DispatchTable& table,
                             const CodePage& codePage, const PageTextRules& pageText, std::string_view sourceEncoding,
                             const SourceSink& sink)
{
    PreparedSource prepared;
    ContentChoice content = chooseSourceKind(path, source, table);
    const SourceKind* kind = content.kind;
    if (!kind) {
        prepared.failure = SourceFailure::UnsupportedKind;
        prepared.reason = kUnsupported;
        return prepared;
    }
    if (!content.warning.empty())
        prepared.warnings.push_back(std::move(content.warning));

    SourceTextPieces pieces(codePage, pageText, sink);
    if (!kind->extractor) {
        const TextSourceCheck check = inspectTextSource(source, codePage, sourceEncoding);
        if (check.form != TextForm::Text) {
            prepared.failure = check.form == TextForm::Binary ? SourceFailure::ExtractorFailed : SourceFailure::Missing;
            prepared.reason = check.reason;
            return prepared;
        }
        if (!check.encoding.isCodePage)
            prepared.readAs = check.encoding.encoding.label;
        if (!pageText.encoder && check.encoding.isCodePage) {
            prepared.cutInPlace = true;
            prepared.skip = check.encoding.markSize;
            return prepared;
        }
        // Text in another encoding is put into the code page like any extracted text.
        sink.begin("txt");
        streamTextSource(source, check.encoding, pageText.encoder && pageText.joinLines, pieces, prepared);
        if (prepared.failure != SourceFailure::None)
            return prepared;
        pieces.finish(fileTitle(path), prepared);
        return prepared;
    }
    sink.begin(kind->kindWord);
    const extract::TextSink handedOn
        = [&](std::string_view text, std::span<const extract::Chapter> chapters) { pieces.add(text, chapters); };
    ExtractedText extracted = extractSource(source, *kind, codePage, sourceEncoding, sink.progress, handedOn);
    if (!extracted.readAs.empty())
        prepared.readAs = std::move(extracted.readAs);
    for (std::string& warning : extracted.warnings)
        prepared.warnings.push_back(std::move(warning));
    if (extracted.failure != SourceFailure::None) {
        prepared.failure = extracted.failure;
        prepared.reason = std::move(extracted.reason);
        return prepared;
    }
    pieces.add(extracted.text, extracted.chapters);
    extracted.text = std::string();
    pieces.finish(fileTitle(path), prepared);
    return prepared;
}

}  // namespace leafmill
