#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace leafmill {

class InputFile;

// A file's bytes for a reader that looks at only parts of them (a Word
// document's text streams among its pictures): mapped into memory where the
// system can, so that only the pages touched are read from the disk, else
// read whole.
class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // The bytes of the open file, which may be closed afterwards. False with
    // the reason when it cannot be read.
    bool open(InputFile& file, std::string* reason);
    std::string_view bytes() const { return view_; }
    // Gives back the memory of the pages `range` (a part of bytes()) touches
    // where the file is mapped: a reader going through a large file need not
    // keep what it has read. The bytes stay readable.
    void release(std::string_view range) const;

private:
    void* mapping_ = nullptr;
    std::size_t mappedSize_ = 0;
    std::string read_;  // the bytes when they could not be mapped
    std::string_view view_;
};

}  // namespace leafmill
