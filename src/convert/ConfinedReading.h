#pragma once

#include "convert/PreparedSource.h"
#include "io/ConfinedWork.h"
#include "io/InputFile.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace leafmill {

// What reading one source may take, by the size of its file: beyond these a
// source is refused as too large or too complex.
struct SourceLimits {
    std::uint64_t baseMemory = std::uint64_t {512} << 20;
    std::uint64_t memoryPerByte = 20;
    std::chrono::milliseconds baseTime {10'000};
    std::chrono::milliseconds timePerMegabyte {1'000};

    WorkLimits forSize(std::uint64_t fileSize) const;
};

// prepareSource apart from the program (see runConfined), the bytes handed to
// the sink on this side as they come. A reader that goes past the limits,
// crashes or finds its file changing under it fails the source with the
// reason (TooLarge with the limit passed, ReaderStopped with what happened,
// Changed); a set stop flag ends the reading at once (`*stopped` is then
// true).
PreparedSource readSourceConfined(const std::string& path, InputFile& source, const DispatchTable& table,
                                  const CodePage& codePage, const PageTextRules& pageText,
                                  std::string_view sourceEncoding, const SourceSink& sink, const SourceLimits& limits,
                                  const std::atomic<bool>* stop, bool* stopped);

}  // namespace leafmill
