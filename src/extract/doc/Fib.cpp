#include "extract/doc/Fib.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kWhat = "the file information block";
constexpr std::size_t kFibBaseSize = 32;

// Index of each needed value in FibRgLw97 (32-bit words).
enum LwIndex : std::size_t { kCcpText = 3, kCcpFtn, kCcpHdd, kCcpMcr, kCcpAtn, kCcpEdn, kLwNeeded, kCcpTxbx = kLwNeeded };
// Index of each needed fc/lcb pair in FibRgFcLcb97.
constexpr std::size_t kPlcfBtePapxPair = 13;
constexpr std::size_t kClxPair = 33;
constexpr std::size_t kPlcffndRefPair = 2, kPlcffndTxtPair = 3, kPlcfSedPair = 6, kDopPair = 31;
constexpr std::size_t kPlcfendRefPair = 46, kPlcfendTxtPair = 47, kPlcftxbxTxtPair = 56;
constexpr std::size_t kStshfPair = 1, kPlcfBteChpxPair = 12, kSttbfFfnPair = 15, kPlfLstPair = 73, kPlfLfoPair = 74;

}  // namespace

Fib Fib::parse(std::string_view stream)
{
    Fib fib;
    fib.wIdent = readU16(stream, 0, kWhat);
    fib.nFib = readU16(stream, 2, kWhat);
    const std::uint16_t flags = readU16(stream, 0x0A, kWhat);
    fib.encrypted = flags & 0x0100;
    fib.lid = readU16(stream, 0x06, kWhat);
    const bool knownIdent = fib.wIdent == kWordIdent || fib.wIdent == kWord6Ident;
    if (knownIdent && fib.nFib >= kWord6 && fib.nFib <= kWord95Last) {
        fib.parseWord6(stream);
        return fib;
    }
    fib.tableIsOneTable = flags & 0x0200;
    if (fib.wIdent != kWordIdent || fib.nFib < kWord97)
        return fib;

    // FibBase, then three counted arrays: 16-bit words, 32-bit words, fc/lcb pairs.
    std::size_t pos = kFibBaseSize;
    const std::size_t csw = readU16(stream, pos, kWhat);
    pos += 2 + 2 * csw;
    const std::size_t cslw = readU16(stream, pos, kWhat);
    const std::size_t lwStart = pos + 2;
    if (cslw < kLwNeeded)
        throw DocFormatError("the file information block is too short for Word 97");
    pos = lwStart + 4 * cslw;
    const std::size_t pairs = readU16(stream, pos, kWhat);
    const std::size_t pairStart = pos + 2;
    if (pairs <= kClxPair)
        throw DocFormatError("the file information block is too short for Word 97");

    auto lw = [&](std::size_t index) { return readU32(stream, lwStart + 4 * index, kWhat); };
    fib.ccpText = lw(kCcpText);
    fib.ccpFtn = lw(kCcpFtn);
    fib.ccpHdd = lw(kCcpHdd);
    fib.ccpMcr = lw(kCcpMcr);
    fib.ccpAtn = lw(kCcpAtn);
    fib.ccpEdn = lw(kCcpEdn);
    if (cslw > kCcpTxbx)
        fib.ccpTxbx = lw(kCcpTxbx);

    auto pair = [&](std::size_t index, std::uint32_t& fc, std::uint32_t& lcb) {
        fc = readU32(stream, pairStart + 8 * index, kWhat);
        lcb = readU32(stream, pairStart + 8 * index + 4, kWhat);
    };
    pair(kPlcfBtePapxPair, fib.fcPlcfBtePapx, fib.lcbPlcfBtePapx);
    pair(kClxPair, fib.fcClx, fib.lcbClx);
    const auto optionalPair = [&](std::size_t index, std::uint32_t& fc, std::uint32_t& lcb) {
        if (index < pairs)
            pair(index, fc, lcb);
    };
    optionalPair(kPlcffndRefPair, fib.fcPlcffndRef, fib.lcbPlcffndRef);
    optionalPair(kPlcffndTxtPair, fib.fcPlcffndTxt, fib.lcbPlcffndTxt);
    optionalPair(kPlcfSedPair, fib.fcPlcfSed, fib.lcbPlcfSed);
    optionalPair(kDopPair, fib.fcDop, fib.lcbDop);
    optionalPair(kPlcfendRefPair, fib.fcPlcfendRef, fib.lcbPlcfendRef);
    optionalPair(kPlcfendTxtPair, fib.fcPlcfendTxt, fib.lcbPlcfendTxt);
    optionalPair(kPlcftxbxTxtPair, fib.fcPlcftxbxTxt, fib.lcbPlcftxbxTxt);
    optionalPair(kStshfPair, fib.fcStshf, fib.lcbStshf);
    optionalPair(kPlcfBteChpxPair, fib.fcPlcfBteChpx, fib.lcbPlcfBteChpx);
    optionalPair(kSttbfFfnPair, fib.fcSttbfFfn, fib.lcbSttbfFfn);
    optionalPair(kPlfLstPair, fib.fcPlfLst, fib.lcbPlfLst);
    optionalPair(kPlfLfoPair, fib.fcPlfLfo, fib.lcbPlfLfo);
    return fib;
}

}  // namespace leafmill::extract::doc
