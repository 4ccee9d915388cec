#pragma once

#include "extract/Extractor.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

// Whether a document's bytes are of a format. `bytes` may be only the start
// of the file, except for zip packages, whose kind is in their directory at
// the end.
struct ContentTest {
    bool (*matches)(std::string_view bytes) = nullptr;
    // A signature is certain and wins over a guess (a page's leading `<`,
    // text's lack of control bytes), which only settles what no signature does.
    bool certain = true;
};

// One row of the format table: all the program knows of a kind of source.
struct SourceKind {
    // How a lower-cased source path ends: a dot and an ending of any length,
    // or four bare characters as "html" and "docx" have always matched. The
    // first is the one a file of this kind is given.
    std::vector<std::string_view> endings;
    // Reduces such a source to text; none for text, which is cut as it is.
    extract::Extractor extractor = nullptr;
    // The format's name, also the word put into its temporary file name.
    std::string_view kindWord;
    // Finds the format by its bytes; none where content never leads to it.
    ContentTest content {};
    // What such bytes are called where a source is read as what it is.
    std::string_view contentName {};
    // Its entry in the add-files dialog's filter (rows may share one).
    std::string_view filterName {};
};

using DispatchTable = std::vector<SourceKind>;

// Every format Leafmill reads, in the order the add-files dialog offers them.
const DispatchTable& defaultDispatchTable();

// The row whose ending the path ends in, letter case ignored; of several, the
// longest ending's. Null when it ends in no row's ending.
const SourceKind* findSourceKind(std::string_view path, const DispatchTable& table);

// The longest of the row's endings that the path ends in, letter case
// ignored; empty when none.
std::string_view matchingEnding(std::string_view path, const SourceKind& kind);

// The row a format name stands for: an ending without its dot ("txt", "html",
// "docx"), in any letter case; null when no row has it.
const SourceKind* findFormat(std::string_view name, const DispatchTable& table);

// The row whose content test the bytes pass, a signature before a guess;
// null when none does.
const SourceKind* findKindByContent(std::string_view bytes, const DispatchTable& table);

// The ending as a file name's: ".htm" as it is, "html" as ".html".
std::string dottedEnding(std::string_view ending);

// The add-files dialog's filter (name|patterns|...): every ending first, then
// each filter name with its rows' endings, then all files.
std::string fileDialogFilter(const DispatchTable& table);

}  // namespace leafmill
