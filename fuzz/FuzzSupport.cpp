#include "FuzzSupport.h"
#include "TestSupport.h"
#include "convert/EmbeddedDocuments.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace leafmill::fuzz {

const CodePage& codePageFor(unsigned selector)
{
    static const std::shared_ptr<const CodePage> pages[]
        = {CodePage::open("windows-1252"), CodePage::open("windows-936"), CodePage::open("UTF-8")};
    const auto& page = pages[selector % 3];
    check(page != nullptr, "a code page does not open");
    return *page;
}

const std::filesystem::path& scratchFolder()
{
    // The INI writer flushes every write; on a disk each run would take milliseconds.
    static const test::TempDir scratch = [] {
        if (std::filesystem::is_directory("/dev/shm"))
            setenv("TMPDIR", "/dev/shm", 0);
        return test::TempDir();
    }();
    return scratch.path();
}

void violated(std::string_view what)
{
    std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

int runExtractor(extract::Extractor extractor, std::string_view bytes, bool followEmbedded)
{
    extract::Options options;
    options.codePage = &codePageFor(static_cast<unsigned>(bytes.size()));
    if (followEmbedded)
        options.readEmbedded = embeddedDocumentReader(*options.codePage);
    options.progress = [](int value) { check(value >= 0 && value <= 100, "progress value outside 0..100"); };
    const extract::Result result = extractor(bytes, options);
    if (result.ok)
        for (std::size_t at = 0, length = 0; at < result.text.size(); at += length)
            check((length = validUtf8Length(result.text, at)) != 0, "extracted text is not UTF-8");
    else
        check(!result.error.empty(), "a failure without a reason");
    return 0;
}

}  // namespace leafmill::fuzz
