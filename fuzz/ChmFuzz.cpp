// The compiled help book reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/chm/ChmToText.h"

// The help library keeps what it allocated when it gives up opening a
// damaged book; the reader's child process ends soon after, so only ours count.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libchm.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::chmToText, {reinterpret_cast<const char*>(data), size});
}
