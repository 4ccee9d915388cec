#include "extract/doc/FontTable.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/Fib.h"
#include "extract/doc/LittleEndian.h"

#include <string>

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kWhat = "the font table";
// An FFN: flags, weight, character set, alternative name index, PANOSE and
// font signature come before the name.
constexpr std::size_t kNameOffset = 39;

}  // namespace

FontTable FontTable::read(std::string_view table, const Fib& fib)
{
    FontTable fonts;
    if (fib.word6 || fib.lcbSttbfFfn == 0)
        return fonts;
    try {
        const std::string_view sttb = slice(table, fib.fcSttbfFfn, fib.lcbSttbfFfn, kWhat);
        const std::size_t count = readU16(sttb, 0, kWhat);
        std::size_t pos = 4;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t size = readU8(sttb, pos, kWhat);
            const std::string_view ffn = slice(sttb, pos + 1, size, kWhat);
            pos += 1 + size;
            // The name is UTF-16, ended by a 0; symbol font names are ASCII.
            std::string name;
            for (std::size_t at = kNameOffset; at + 1 < ffn.size(); at += 2) {
                const std::uint16_t unit = readU16(ffn, at, kWhat);
                if (unit == 0)
                    break;
                name += unit < 0x80 ? static_cast<char>(unit) : '?';
            }
            fonts.fonts_.push_back(symbolFontNamed(name));
        }
    } catch (const DocFormatError&) {
        // The fonts read so far stand.
    }
    return fonts;
}

}  // namespace leafmill::extract::doc
