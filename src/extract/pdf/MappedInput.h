#pragma once

#include <atomic>
#include <cstddef>
#include <string_view>

namespace leafmill::extract::pdf {

// A document's bytes as the library reads them, page after page. Where they
// are a read-only mapping of a file, what has been read is given back to the
// system every so many pages: a long document would otherwise stay whole in
// memory once read, though any part read again comes back from the file as
// it was. Bytes held in memory are left as they are.
class MappedInput {
public:
    explicit MappedInput(std::string_view bytes);

    // One more page read; may be called from more than one thread.
    void pageRead();
    // Gives back what the mapping holds in memory now.
    void release() const;

private:
    char* begin_ = nullptr;  // the whole pages of the mapping, none for bytes in memory
    std::size_t size_ = 0;
    std::atomic<unsigned> pagesRead_ {0};
};

}  // namespace leafmill::extract::pdf
