#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace leafmill::test {

// A tiny writer of compound files, version 3 (512-byte sectors) or 4
// (4096-byte sectors), for building test documents. Streams below 4096 bytes go to the
// mini stream. The layout it reports lets tests damage the file on purpose.
class CompoundFileWriter {
public:
    explicit CompoundFileWriter(int version = 3)
        : version_(version)
    {
    }

    void add(std::string name, std::string bytes) { streams_.push_back({std::move(name), std::move(bytes)}); }

    struct Layout {
        std::uint32_t firstFatSector = 0;
        std::uint32_t firstDirSector = 0;
        std::uint32_t firstMiniFatSector = 0;
        std::uint32_t firstDifatSector = 0;  // end of chain when the header names every FAT sector
        std::vector<std::uint32_t> streamStart;  // per added stream: first (mini) sector
    };

    std::string write(Layout* layout = nullptr) const;

    std::uint32_t sectorSize() const { return version_ == 4 ? 4096 : 512; }

    // Byte offset of a sector in the written file.
    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t(sector) + 1) * sectorSize(); }

private:
    struct Stream {
        std::string name;
        std::string bytes;
    };
    int version_;
    std::vector<Stream> streams_;
};

void putU16(std::string& bytes, std::size_t pos, std::uint16_t value);
void putU32(std::string& bytes, std::size_t pos, std::uint32_t value);

}  // namespace leafmill::test
