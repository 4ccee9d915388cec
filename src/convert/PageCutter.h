#pragma once

#include "convert/CutRules.h"
#include "convert/SourceFailure.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;
class InputFile;
class PageWriter;

// What cutting one text file came to.
struct CutOutcome {
    int32_t pages = 0;
    SourceFailure failure = SourceFailure::None;  // Missing or WriteFailed
    std::string reason;
};

// Cuts text files into pages. The file is read in blocks and the pending text
// never grows much past one page, whatever the length of a line; the pages are
// the same as if whole lines were read and cut one page at a time until at
// most S bytes are left. A line ends at CR LF, a lone CR or a lone LF; a cut
// that would fall inside a chapter heading's line moves to its start.
class PageCutter {
public:
    PageCutter(const CutRules& rules, const CodePage& codePage, PageWriter& writer);

    // The first `skip` bytes of the file (a byte-order mark) are left out.
    CutOutcome CutTextFile(const std::filesystem::path& path, std::size_t skip = 0);
    // The same for a file already open, read from its beginning.
    CutOutcome CutText(InputFile& file, std::size_t skip = 0);

    // Byte offsets into the next file cut (ascending), whose pages
    // markPages() tells after the cut: where chapters start. With
    // `breakBefore` a page ends just before each of them.
    void setMarks(std::vector<std::size_t> offsets, bool breakBefore);
    // For each mark of the last cut, the index (within that file) of the
    // page it lies on.
    const std::vector<int32_t>& markPages() const { return markPages_; }

private:
    bool take(std::string_view block);
    bool appendText(std::string_view text, bool lineEnd);
    bool appendPiece(std::string_view text, bool lineEnd);
    bool breakPage();
    bool writeWhole(std::string_view page);
    void resolveMarks(std::size_t end, int32_t page);
    bool cutPage();
    std::size_t overlapStart(std::size_t cut) const;
    std::size_t outsideUnsplit(std::size_t pos) const;
    std::size_t outsideHeading(std::size_t pos) const;
    bool finish();
    bool fail(std::string reason);

    const CutRules& rules_;
    const CodePage& codePage_;
    PageWriter& writer_;

    std::string buffer_;
    bool atLineStart_ = true;
    bool skipLineFeed_ = false;
    int32_t pages_ = 0;
    std::size_t streamStart_ = 0;  // offset in the file's text of buffer_[0]
    std::vector<std::size_t> marks_;
    bool breakAtMarks_ = false;
    std::size_t nextBreak_ = 0;
    std::vector<int32_t> markPages_;
    std::string reason_;
};

}  // namespace leafmill
