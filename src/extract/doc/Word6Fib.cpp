#include "extract/doc/Fib.h"

#include "extract/doc/LittleEndian.h"

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kWhat = "the Word 6 file information block";

// Word 6 and Word 95 put every field at a fixed offset: story lengths from
// 0x34, then the fc/lcb pairs from 0x58 in the same order as Word 97's.
constexpr std::size_t kCcpText = 0x34;
constexpr std::size_t kPairs = 0x58;
constexpr std::size_t kClxPair = 33;

}  // namespace

void Fib::parseWord6(std::string_view stream)
{
    word6 = true;
    const std::uint16_t flags = readU16(stream, 0x0A, kWhat);
    complex = flags & 0x0004;
    macCharacterSet = readU16(stream, 0x14, kWhat) == 256;
    fcMin = readU32(stream, 0x18, kWhat);
    fcMac = readU32(stream, 0x1C, kWhat);
    auto ccp = [&](std::size_t index) { return readU32(stream, kCcpText + 4 * index, kWhat); };
    ccpText = ccp(0);
    ccpFtn = ccp(1);
    ccpHdd = ccp(2);
    ccpMcr = ccp(3);
    ccpAtn = ccp(4);
    ccpEdn = ccp(5);
    fcClx = readU32(stream, kPairs + 8 * kClxPair, kWhat);
    lcbClx = readU32(stream, kPairs + 8 * kClxPair + 4, kWhat);
    // The paragraph formatting pages of Word 6 differ from Word 97's; without
    // them the reader guesses where table rows end.
    fcPlcfBtePapx = lcbPlcfBtePapx = 0;
}

}  // namespace leafmill::extract::doc
