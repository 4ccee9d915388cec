#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace leafmill {

// One row of the cut-type table: the page size and the window before the page
// end in which a cut word is looked for, both in bytes of the code page.
struct CutType {
    int32_t SingleFileSize = 0;  // 0: the text is not cut
    int32_t InOutFileSize = 0;
};

// The fewest notes a volume may be given: its contents and a few pages.
inline constexpr int32_t kLeastVolumeNotes = 10;

// The most bytes a page may repeat of the one before (the settings dialog's
// range is 0..kMaxKeepFileSize).
inline constexpr int32_t kMaxKeepFileSize = 64;

// [NotesReader]: pages made for the iPod's Notes reader. Without the section
// the pages are plain text as they always were.
struct NotesReaderSettings {
    bool present = false;  // the section is in main.ini (or the user turned it on)
    std::string PageEncoding;  // a name PageEncoder takes; empty: the code page
    bool Links = false;  // Previous and Next links on every page
    bool Titles = false;  // each page names itself in the reader's menu
    bool Contents = false;  // a contents note linking to the chapters
    bool ChapterPages = false;  // a chapter starts on a new page
    bool JoinLines = false;  // unwrap hard-wrapped text sources
    int32_t VolumeNotes = 0;  // the most notes of a volume folder; 0: the book is one folder
    // The encoding text sources are read in: "auto" finds each one's from its
    // bytes. It applies with or without the reader's pages, so it does not
    // make the section present.
    std::string SourceEncoding = "auto";

    bool anyMarkup() const { return Links || Titles || Contents; }
    bool operator==(const NotesReaderSettings&) const = default;
};

// The settings record, filled from main.ini at start-up. Fields are named after
// their INI keys. Texts are UTF-8; the INI layer converts to the code page.
struct Settings {
    // MainSettings (read only)
    int32_t CutTypeNum = 0;  // highest index of CutTypeTable
    std::vector<CutType> CutTypeTable;  // rows 0..CutTypeNum
    int32_t CutWordNum = 0;  // highest index of CutWord
    std::string Filter;  // add-files dialog filter, "Text|*.txt|All|*.*"

    // UserSettings (rewritten by SaveSettings)
    std::string MyLagIndex;  // base name of the language file in use
    int32_t OpenFilesFilterIndex = 1;
    int32_t CutTypeIndex = 0;  // row of CutTypeTable used for cutting
    std::string BookName;
    int32_t KeepFileSize = 0;  // bytes repeated at the start of the next page
    std::string InPutDir;
    std::string OutPutDir;
    std::vector<std::string> CutWord;  // entries 0..CutWordNum, decoded ("enter" is CR LF)

    NotesReaderSettings NotesReader;

    // The last row's page size 0 switches whole-file mode: one page file per
    // source, named after the source.
    bool wholeFileMode() const { return !CutTypeTable.empty() && CutTypeTable.back().SingleFileSize == 0; }

    // The row the cutter uses.
    const CutType& activeCutType() const { return CutTypeTable.at(static_cast<std::size_t>(CutTypeIndex)); }

    // The bytes of the chosen row's pages; 0: the text is not cut.
    int32_t pageSize() const { return activeCutType().SingleFileSize; }
};

}  // namespace leafmill
