#include "FuzzSupport.h"

#include "text/CodePage.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace leafmill::fuzz {

std::shared_ptr<const CodePage> requireCodePage(std::string_view name)
{
    std::string error;
    auto page = CodePage::open(name, &error);
    if (!page)
        violated("code page " + std::string(name) + " does not open: " + error);
    return page;
}

namespace {

struct Scratch {
    std::filesystem::path path;
    Scratch()
    {
        // A memory file system where there is one: the INI writer flushes
        // every replacement to disk, which would make each run take
        // milliseconds.
        std::error_code ec;
        const std::filesystem::path memory = "/dev/shm";
        const auto base = std::filesystem::is_directory(memory, ec) ? memory : std::filesystem::temp_directory_path();
        path = base / ("leafmill-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::filesystem::path& scratchFolder()
{
    static Scratch scratch;
    return scratch.path;
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        violated("cannot write " + file.string());
}

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1
            : (lead & 0xE0) == 0xC0      ? 2
            : (lead & 0xF0) == 0xE0      ? 3
            : (lead & 0xF8) == 0xF0      ? 4
                                         : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

void violated(std::string_view what)
{
    std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

}  // namespace leafmill::fuzz
