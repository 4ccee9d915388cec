#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace leafmill::test {

// A small writer of compound files, version 3 (512-byte sectors) or 4 (4096),
// for test documents. Streams below 4096 bytes go to the mini stream; the
// layout it reports lets tests damage the file on purpose.
class CompoundFileWriter {
public:
    explicit CompoundFileWriter(int version = 3)
        : version_(version)
    {
    }
    void add(std::string name, std::string bytes) { streams_.emplace_back(std::move(name), std::move(bytes)); }

    struct Layout {
        std::uint32_t firstFatSector = 0, firstDirSector = 0, firstMiniFatSector = 0;
        std::uint32_t firstDifatSector = 0;  // end of chain when the header names every FAT sector
        std::vector<std::uint32_t> streamStart;  // per added stream: first (mini) sector
    };
    std::string write(Layout* layout = nullptr) const;

    std::uint32_t sectorSize() const { return version_ == 4 ? 4096 : 512; }
    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t(sector) + 1) * sectorSize(); }

private:
    int version_;
    std::vector<std::pair<std::string, std::string>> streams_;
};

// A version 3 file of the named streams, in this order.
std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams);

// Little-endian values, appended, or written at a place (the bytes grow to hold them).
struct Bytes {
    std::string s;
    Bytes& n(std::uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            s += char(i < 4 ? value >> 8 * i & 0xFF : 0);
        return *this;
    }
    Bytes& text(std::u16string_view units)
    {
        for (char16_t unit : units)
            n(unit, 2);
        return *this;
    }
};
void put(std::string& bytes, std::size_t pos, std::uint32_t value, int size);

}  // namespace leafmill::test
