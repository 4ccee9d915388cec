#pragma once

#include "extract/Extractor.h"

#include <string_view>
#include <vector>

namespace leafmill {

// One row of the dispatch table: how a lower-cased source path ends (a dot and
// an ending of any length, or four bare characters as "html" and "docx" have
// always matched), the extractor that reduces such a source to text (none for
// text, which is cut as it is) and the word put into its temporary file name.
struct SourceKind {
    std::string_view ending;
    extract::Extractor extractor = nullptr;
    std::string_view kindWord;
};

using DispatchTable = std::vector<SourceKind>;

// Text (.txt, text), HTML-like pages (.htm, html, .asp, .php), RTF, Word (.doc and
// .docx, .docm, .dotx), OpenDocument, EPUB, PDF, Kindle and Palm books (.mobi,
// .azw3, .azw, .prc, .pdb), compiled help books (.chm), DjVu (.djvu, .djv),
// FictionBook (.fb2, zipped as .fb2.zip or .fbz), Markdown (.md, .markdown)
// and calibre's zipped text and HTML (.txtz, .htmlz).
const DispatchTable& defaultDispatchTable();

// The row whose ending the path ends in, letter case ignored; of several, the
// longest ending's. Null when it ends in no row's ending.
const SourceKind* findSourceKind(std::string_view path, const DispatchTable& table);

// The row a format name stands for: an ending without its dot ("txt", "html",
// "docx"), in any letter case; null when no row has it.
const SourceKind* findFormat(std::string_view name, const DispatchTable& table);

}  // namespace leafmill
