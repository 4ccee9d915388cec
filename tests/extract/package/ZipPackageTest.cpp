// The zip reader on entries that lie about themselves: what each reader
// above it relies on.
#include "ZipWriter.h"

#include "extract/package/PackageError.h"
#include "extract/package/ZipPackage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using leafmill::extract::package::PackageError;
using leafmill::extract::package::ZipPackage;
using leafmill::test::makeZip;

const std::string kText = "<p>a part that deflates well, well, well, well</p>";

// Offsets within the local header ("PK\3\4") and the directory entry
// ("PK\1\2") of the one part.
struct Field {
    std::size_t local;
    std::size_t central;
};
constexpr Field kFlags {6, 8};
constexpr Field kMethod {8, 10};
constexpr Field kChecksum {14, 16};

std::string withField(std::string zip, Field field, std::uint16_t value)
{
    for (const auto& [signature, offset] :
         {std::pair {std::string("PK\3\4"), field.local}, std::pair {std::string("PK\1\2"), field.central}}) {
        const std::size_t at = zip.find(signature) + offset;
        zip[at] = static_cast<char>(value & 0xFF);
        zip[at + 1] = static_cast<char>(value >> 8);
    }
    return zip;
}

std::string refusalOf(std::string zip)
{
    try {
        ZipPackage package(zip);
        package.read("part.xml");
    } catch (const PackageError& error) {
        return error.what();
    }
    return "read";
}

TEST(ZipPackage, FindsPartsByNameThenIgnoringCase)
{
    const std::string zip = makeZip({{"mimetype", "application/epub+zip"}, {"OEBPS/Part.xml", kText}});
    ZipPackage package(zip);
    EXPECT_EQ(package.read("OEBPS/Part.xml"), kText);
    EXPECT_EQ(package.read("oebps/part.XML"), kText);
    EXPECT_EQ(package.read("mimetype"), "application/epub+zip");
    EXPECT_FALSE(package.contains("OEBPS/Part.xm"));
    EXPECT_EQ(package.read("Part.xml"), std::nullopt);
}

TEST(ZipPackage, PartsThatLieAreRefusedWithTheirReason)
{
    const std::string zip = makeZip({{"part.xml", kText}});
    ASSERT_EQ(refusalOf(zip), "read");
    EXPECT_NE(refusalOf(withField(zip, kFlags, 1)).find("encrypted with a password"), std::string::npos);
    EXPECT_NE(refusalOf(withField(zip, kMethod, 12)).find("compression method 12"), std::string::npos);
    EXPECT_NE(refusalOf(withField(zip, kChecksum, 0x1234)).find("damaged"), std::string::npos);
    EXPECT_NE(refusalOf(zip.substr(0, zip.size() - 10)).find("no readable zip package"), std::string::npos);
}

}  // namespace
