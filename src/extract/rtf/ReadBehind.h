#pragma once

#include <cstddef>
#include <string_view>

namespace leafmill::extract::rtf {

// Gives the memory of a document's bytes back to the system behind a reader
// that never looks back: a mapped file's pages would otherwise stay resident
// until the whole document has been read. Safe on any memory — the kernel
// keeps the contents, it only stops holding them for this process — and a
// no-op where the system cannot do it.
class ReadBehind {
public:
    explicit ReadBehind(std::string_view bytes)
        : bytes_(bytes)
    {
    }

    // Everything before `position` has been read for the last time.
    void readUpTo(std::size_t position)
    {
        if (position >= released_ + kStep)
            release(position);
    }

private:
    static constexpr std::size_t kStep = std::size_t {8} << 20;
    void release(std::size_t position);

    std::string_view bytes_;
    std::size_t released_ = 0;
};

}  // namespace leafmill::extract::rtf
