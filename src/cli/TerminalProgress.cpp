#include "cli/TerminalProgress.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace leafmill::cli {

namespace {
constexpr int kBarWidth = 30;
constexpr std::size_t kNameWidth = 36;
} // namespace

TerminalProgress::TerminalProgress(std::FILE* stream, std::size_t sourceCount)
    : stream_(stream)
    , live_(isatty(fileno(stream)) != 0)
    , sourceCount_(sourceCount)
{
}

void TerminalProgress::sourceStarted(std::size_t index, const std::string& path)
{
    index_ = index;
    const std::size_t slash = path.find_last_of("/\\");
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name_.size() > kNameWidth)
        name_ = name_.substr(0, kNameWidth - 3) + "...";
    source_ = 0;
    draw();
}

void TerminalProgress::runProgress(int value)
{
    if (value == run_)
        return;
    run_ = value;
    draw();
}

void TerminalProgress::sourceProgress(int value)
{
    if (value == source_)
        return;
    source_ = value;
    draw();
}

void TerminalProgress::draw()
{
    if (!live_)
        return;
    const int filled = run_ * kBarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(stream_, "\r\033[K[%s] %3d%%  %zu/%zu %s", bar.c_str(), run_, index_ + 1, sourceCount_, name_.c_str());
    if (source_ > 0 && source_ < 100)
        std::fprintf(stream_, " (%d%%)", source_);
    std::fflush(stream_);
    drawn_ = true;
}

void TerminalProgress::finish()
{
    if (drawn_)
        std::fputs("\r\033[K", stream_);
    drawn_ = false;
}

} // namespace leafmill::cli
