#include "extract/common/ChapterTitle.h"

namespace leafmill::extract {

namespace {

constexpr std::size_t kMaxTitle = 240;

}  // namespace

std::string chapterTitle(std::string_view heading)
{
    std::string title;
    bool space = false;
    for (char c : heading) {
        if (c == '\t' || c == '\r' || c == '\n' || c == ' ') {
            space = !title.empty();
            continue;
        }
        if (space)
            title += ' ';
        space = false;
        title += c;
    }
    if (title.size() > kMaxTitle) {
        std::size_t cut = kMaxTitle;
        while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80)
            --cut;
        title.resize(cut);
    }
    return title;
}

}  // namespace leafmill::extract
