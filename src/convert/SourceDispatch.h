#pragma once

#include "extract/Extractor.h"

#include <string_view>
#include <vector>

namespace leafmill {

// One row of the dispatch table: the last four characters of a lower-cased
// source path, the extractor that reduces such a source to text (none for
// text, which is cut as it is) and the word put into its temporary file name.
struct SourceKind {
    std::string_view ending;
    extract::Extractor extractor = nullptr;
    std::string_view kindWord;
};

using DispatchTable = std::vector<SourceKind>;

// Text (.txt, text), HTML-like pages (.htm, html, .asp, .php), RTF, Word (.doc and
// .docx, .docm, .dotx), EPUB, PDF, Kindle and Palm books (mobi, azw3, .azw,
// .prc, .pdb), compiled help books (.chm) and DjVu (djvu, .djv).
const DispatchTable& defaultDispatchTable();

// The row for the path, or null when its ending is in no row.
const SourceKind* findSourceKind(std::string_view path, const DispatchTable& table);

// The row a format name stands for: an ending without its dot ("txt", "html",
// "docx"), in any letter case; null when no row has it.
const SourceKind* findFormat(std::string_view name, const DispatchTable& table);

}  // namespace leafmill
