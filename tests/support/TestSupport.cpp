#include "TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace leafmill::test {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    static std::atomic<unsigned> counter {0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate
            = fs::temp_directory_path() / ("leafmill-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary test folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable again first.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

// CTest lists parametrised cases without the test's environment; the build's folder stands in then.
fs::path corpusDir()
{
    const char* value = std::getenv("LEAFMILL_CORPUS");
    return value && *value ? fs::path(value) : fs::path(LEAFMILL_CORPUS_AT_BUILD);
}

fs::path assetsDir()
{
    return fs::path(LEAFMILL_ASSETS_AT_BUILD);
}

fs::path documentsDir()
{
    return fs::path(LEAFMILL_DOCUMENTS_AT_BUILD);
}

std::string repeated(std::string_view unit, int times)
{
    std::string text;
    for (int k = 0; k < times; ++k)
        text += unit;
    return text;
}

fs::path hostileDir()
{
    return documentsDir().parent_path() / "hostile";
}

}  // namespace leafmill::test
