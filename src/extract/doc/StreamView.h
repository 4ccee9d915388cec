#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// A stream of a compound file where its bytes lie in the file: the runs of
// its sector chain, each a stretch of the file's own bytes, so that a long
// stream is never copied whole. The file must outlive the view.
class StreamView {
public:
    // A stretch of the stream held by consecutive bytes of the file.
    struct Run {
        std::uint64_t offset = 0;  // in the stream
        std::string_view bytes;  // in the file
    };

    // Appends `bytes`, which follow the stream's last byte; joined to the last
    // run when they follow it in the file too.
    void append(std::string_view bytes);

    std::uint64_t size() const { return size_; }

    // The bytes [offset, offset + length) cut to the stream's end: straight
    // from the file when they lie in one run, else gathered into `scratch`.
    std::string_view read(std::uint64_t offset, std::uint64_t length, std::string& scratch) const;

    // Calls `visit` with each stretch of the file that holds the stream's
    // bytes [offset, offset + length), in order.
    void forEachPart(std::uint64_t offset, std::uint64_t length,
                     const std::function<void(std::string_view)>& visit) const;

    // The whole stream, gathered into `scratch` unless it is one run.
    std::string_view whole(std::string& scratch) const { return read(0, size_, scratch); }

private:
    std::vector<Run> runs_;
    std::uint64_t size_ = 0;
};

}  // namespace leafmill::extract::doc
