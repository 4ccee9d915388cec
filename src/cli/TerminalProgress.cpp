#include "cli/TerminalProgress.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace leafmill::cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kShortestBar = 10;
constexpr int kDefaultColumns = 80;

// The terminal's width in columns, asked on every draw so that a resized
// window is followed.
int terminalColumns(std::FILE* stream)
{
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fileno(stream)));
    if (GetConsoleScreenBufferInfo(handle, &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size {};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return kDefaultColumns;
}

// A name's characters with the columns each takes: East Asian wide and
// full-width characters take two.
struct Glyph {
    std::string_view bytes;
    int columns;
};

std::vector<Glyph> glyphsOf(const std::string& text)
{
    std::vector<Glyph> glyphs;
    const auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(text.data(), i, length, c);
        const auto width = c < 0 ? U_EA_NEUTRAL : u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
        const bool wide = width == U_EA_WIDE || width == U_EA_FULLWIDTH;
        glyphs.push_back({std::string_view(text).substr(start, i - start), wide ? 2 : 1});
    }
    return glyphs;
}

// The name in at most `columns` columns: its start and end around "...".
std::string shortenedInTheMiddle(const std::string& name, int columns)
{
    const std::vector<Glyph> glyphs = glyphsOf(name);
    int total = 0;
    for (const Glyph& glyph : glyphs)
        total += glyph.columns;
    if (total <= columns)
        return name;
    if (columns < 3)
        return std::string(static_cast<std::size_t>(std::max(columns, 0)), '.');
    const int room = columns - 3;
    std::string head;
    std::size_t front = 0;
    for (int used = 0; front < glyphs.size() && used + glyphs[front].columns <= (room + 1) / 2; ++front) {
        used += glyphs[front].columns;
        head.append(glyphs[front].bytes);
    }
    int used = 0;
    std::size_t back = glyphs.size();
    while (back > front && used + glyphs[back - 1].columns <= room / 2)
        used += glyphs[--back].columns;
    std::string tail;
    for (std::size_t i = back; i < glyphs.size(); ++i)
        tail.append(glyphs[i].bytes);
    return head + "..." + tail;
}

}  // namespace

std::string TerminalProgress::fittedLine(int columns, int runPercent, std::size_t number, std::size_t count,
                                         const std::string& name, int sourcePercent)
{
    char counts[64];
    std::snprintf(counts, sizeof counts, "] %3d%%  %zu/%zu ", runPercent, number, count);
    char source[16] = "";
    if (sourcePercent > 0 && sourcePercent < 100)
        std::snprintf(source, sizeof source, " (%d%%)", sourcePercent);
    const int fixed = 1 + static_cast<int>(std::strlen(counts) + std::strlen(source));
    const int room = columns - 1 - fixed;
    // The bar gives up width down to its shortest before the name does.
    const int bar = std::clamp(room - 12, std::min(kShortestBar, std::max(room, 0)), kBarWidth);
    const int filled = runPercent * bar / 100;
    std::string line = "[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(bar - filled), '.');
    line += counts;
    line += shortenedInTheMiddle(name, room - bar);
    line += source;
    return line;
}

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
    const std::string line = fittedLine(terminalColumns(stream_), run_, index_ + 1, sourceCount_, name_, source_);
    std::fprintf(stream_, "\r\033[K%s", line.c_str());
    std::fflush(stream_);
    drawn_ = true;
}

void TerminalProgress::finish()
{
    if (drawn_)
        std::fputs("\r\033[K", stream_);
    drawn_ = false;
}

}  // namespace leafmill::cli
