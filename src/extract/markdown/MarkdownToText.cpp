#include "extract/markdown/MarkdownToText.h"

#include "extract/common/TextDocument.h"
#include "extract/markdown/BlockRuns.h"
#include "extract/markdown/ReferenceLabels.h"
#include "extract/markdown/RunWriter.h"
#include "extract/package/TextBuilder.h"

#include <cmark.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace leafmill::extract {

namespace {

// The document is parsed this much at a time: its tree takes a few times
// the room of its text.
constexpr std::size_t kRunSize = std::size_t {256} << 10;

using Tree = std::unique_ptr<cmark_node, decltype(&cmark_node_free)>;

Tree parsed(std::string_view text)
{
    return {cmark_parse_document(text.data(), text.size(), CMARK_OPT_VALIDATE_UTF8 | CMARK_OPT_SOURCEPOS),
            &cmark_node_free};
}

std::string_view trimmedLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

// The size of a YAML front matter: a "---" line at the very start, not
// followed by a blank line, up to the next "---" or "..." line.
std::size_t frontMatterSize(DecodedPieces& pieces)
{
    std::string piece;
    std::size_t size = 0;
    for (int line = 1; pieces.next(piece);) {
        for (std::size_t at = 0; at < piece.size(); ++line) {
            const std::size_t end = std::min(piece.find('\n', at), piece.size());
            const std::string_view text = trimmedLine(std::string_view(piece).substr(at, end - at));
            if ((line == 1 && (text != "---" || end == piece.size())) || (line == 2 && text.empty()))
                return 0;
            size += std::min(end + 1, piece.size()) - at;
            if (line > 1 && (text == "---" || text == "..."))
                return size;
            at = end + 1;
        }
    }
    return 0;
}

// Calls `parse(run, runs)` with each run of the document's blocks after its
// first `skip` bytes; it tells whether the run may end where it does.
template <typename Parse>
void forEachRun(std::string_view bytes, const TextReading& reading, const Options& options, std::size_t runSize,
                std::size_t skip, Parse&& parse)
{
    DecodedPieces pieces(bytes, reading, options.pieceSize, options.release);
    BlockRuns runs(runSize);
    std::string piece;
    for (bool more = true; more;) {
        more = pieces.next(piece);
        if (more) {
            const std::size_t skipped = std::min(skip, piece.size());
            skip -= skipped;
            runs.add(std::string_view(piece).substr(skipped));
        }
        while (const std::optional<std::string_view> run = runs.next(!more)) {
            if (parse(*run, runs))
                runs.accept();
            else
                runs.refuse();
        }
    }
}

// Whether the run parsed from `text` ends inside a fenced code block or an
// HTML block that only a closing mark ends, so that the text after it would
// belong to it: such a block runs to the last line.
bool endsInsideBlock(cmark_node* document, std::string_view text)
{
    cmark_node* last = cmark_node_last_child(document);
    const cmark_node_type type = last ? cmark_node_get_type(last) : CMARK_NODE_NONE;
    if ((type != CMARK_NODE_CODE_BLOCK && type != CMARK_NODE_HTML_BLOCK)
        || cmark_node_get_end_line(last) < cmark_node_get_end_line(document))
        return false;
    if (type == CMARK_NODE_HTML_BLOCK)
        return true;
    // Code indented rather than fenced also runs on over blank lines, but
    // any line at the left edge ends it: a fence has at most three blanks
    // before it.
    std::size_t at = 0;
    for (int line = 1; line < cmark_node_get_start_line(last) && at < text.size(); ++line) {
        at = std::min(text.find_first_of("\r\n", at), text.size());
        at += text.substr(at).starts_with("\r\n") ? 2 : 1;
    }
    const std::string_view indent = text.substr(at, static_cast<std::size_t>(cmark_node_get_start_column(last)) - 1);
    return indent.size() <= 3 && indent.find_first_not_of(' ') == std::string_view::npos;
}

// The labels the document's link reference definitions have: what may be one
// is looked up by a reference to it, parsed with the run.
ReferenceLabels definedLabels(std::string_view bytes, const TextReading& reading, const Options& options,
                              std::size_t runSize, std::size_t frontMatter)
{
    ReferenceLabels labels;
    forEachRun(bytes, reading, options, runSize, frontMatter, [&](std::string_view run, const BlockRuns& runs) {
        const std::vector<std::string> definable = ReferenceLabels::definable(run);
        if (definable.empty() && runs.sure())
            return true;
        std::string text;
        for (const std::string& label : definable)
            text += "[x][" + label + "]\n\n";
        text += run;
        const Tree document = parsed(text);
        if (!document)
            return true;
        if (!runs.isLast() && endsInsideBlock(document.get(), text))
            return false;
        cmark_node* reference = cmark_node_first_child(document.get());
        for (const std::string& label : definable) {
            if (!reference)
                break;
            if (cmark_node_get_type(cmark_node_first_child(reference)) == CMARK_NODE_LINK)
                labels.add(label);
            reference = cmark_node_next(reference);
        }
        return true;
    });
    return labels;
}

}  // namespace

Result markdownToText(std::string_view bytes, const Options& options)
{
    return markdownToText(bytes, options, kRunSize);
}

Result markdownToText(std::string_view bytes, const Options& options, std::size_t runSize)
{
    const TextReading reading = textDocumentReading(bytes, options);
    DecodedPieces head(bytes, reading, options.pieceSize, options.release);
    const std::size_t frontMatter = frontMatterSize(head);
    const ReferenceLabels labels = definedLabels(bytes, reading, options, runSize, frontMatter);
    package::TextBuilder out;
    RunWriter writer(out, options);
    bool failed = false;
    forEachRun(bytes, reading, options, runSize, frontMatter, [&](std::string_view run, const BlockRuns& runs) {
        const std::string definitions = labels.definitionsFor(run);
        const std::string text = definitions + std::string(run);
        const Tree document = parsed(text);
        failed = failed || !document;
        if (failed)
            return true;
        if (!runs.isLast() && endsInsideBlock(document.get(), text))
            return false;
        writer.write(document.get(), text,
                     static_cast<int>(std::count(definitions.begin(), definitions.end(), '\n')) + 1);
        return true;
    });
    if (failed)
        return Result::failure("there is not enough memory to read the document");
    Result result = out.take();
    result.readAs = reading.readAs;
    return result;
}

}  // namespace leafmill::extract
