#pragma once

#include "extract/rtf/ByteDecoder.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract::rtf {

// The decoders one document needs, opened on first use and kept for the rest
// of it. A page that cannot be opened is read in the fallback page, with one
// warning.
class DecoderCache {
public:
    // `fallback` is the program's code page (windows-1252 when null).
    explicit DecoderCache(const CodePage* fallback);

    // Code page 0 is the fallback.
    ByteDecoder& get(int codePage);

    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    ByteDecoder& fallback();

    std::string fallbackName_;
    std::unique_ptr<ByteDecoder> fallback_;
    std::vector<std::pair<int, std::unique_ptr<ByteDecoder>>> decoders_;  // null: cannot be opened
    std::pair<int, ByteDecoder*> last_ {-1, nullptr};
    std::vector<std::string> warnings_;
};

}  // namespace leafmill::extract::rtf
