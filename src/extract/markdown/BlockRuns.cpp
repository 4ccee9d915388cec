#include "extract/markdown/BlockRuns.h"

#include <algorithm>

namespace leafmill::extract {

void BlockRuns::add(std::string_view text)
{
    pending_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
    pending_ += text;
}

std::optional<std::string_view> BlockRuns::next(bool last)
{
    const std::string_view text = pending_;
    while (scanned_ < text.size()) {
        // Markdown ends a line at CR, LF or CR LF.
        const std::size_t end = std::min(text.find_first_of("\r\n", scanned_), text.size());
        const std::size_t following = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        if (end == text.size() && !last)
            break;
        const std::string_view line = text.substr(scanned_, end - scanned_);
        const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
        if (scanned_ - start_ >= wanted_ && afterBlank_ && !raw_.open() && !blank && line[0] != ' ' && line[0] != '\t')
            return text.substr(start_, scanned_ - start_);
        raw_.line(line);
        afterBlank_ = blank;
        scanned_ = std::min(following, text.size());
    }
    if (!last || start_ == text.size())
        return std::nullopt;
    last_ = true;
    scanned_ = text.size();
    return text.substr(start_);
}

void BlockRuns::accept()
{
    start_ = scanned_;
    wanted_ = runSize_;
    raw_.forgetDoubts();
}

void BlockRuns::refuse()
{
    wanted_ = 2 * (scanned_ - start_);
}

}  // namespace leafmill::extract
