#include "targets/notes/NotesNames.h"

#include "convert/PageNames.h"
#include "text/PageEncoder.h"

namespace leafmill {

std::string pageStem(const std::string& bookName, const PageEncoder& pages)
{
    return portableName(pages.fit(bookName, nullptr), kLongestFileName - kPageNameRoom);
}

std::string contentsFileName(std::size_t part, std::size_t parts)
{
    if (parts <= 1)
        return "00 Contents.txt";
    return "00 Contents " + paddedNumber(static_cast<int64_t>(part) + 1, std::to_string(parts).size()) + ".txt";
}

std::string volumeFolderName(std::string_view bookName, std::size_t volume, std::size_t volumes)
{
    return std::string(bookName) + " " + paddedNumber(static_cast<int64_t>(volume), std::to_string(volumes).size());
}

}  // namespace leafmill
