#include "extract/doc/StyleSheet.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/Fib.h"
#include "extract/doc/LittleEndian.h"

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kWhat = "the style sheet";
constexpr std::uint16_t kNoStyle = 0x0FFF;
constexpr std::uint16_t kHeading1 = 1, kHeading9 = 9;  // built-in style identifiers
constexpr unsigned kParagraphStyle = 1;
// Base chains are short in real files; a longer one is a loop or damage.
constexpr std::size_t kMaxBaseDepth = 16;

}  // namespace

StyleSheet StyleSheet::read(std::string_view table, const Fib& fib)
{
    StyleSheet sheet;
    if (fib.word6 || fib.lcbStshf == 0)
        return sheet;
    std::vector<Style> styles;
    try {
        const std::string_view stsh = slice(table, fib.fcStshf, fib.lcbStshf, kWhat);
        const std::size_t cbStshi = readU16(stsh, 0, kWhat);
        const std::size_t count = readU16(stsh, 2, kWhat);
        const std::size_t baseSize = readU16(stsh, 4, kWhat);
        std::size_t pos = 2 + cbStshi;
        for (std::size_t i = 0; i < count && pos + 2 <= stsh.size(); ++i) {
            const std::size_t cbStd = readU16(stsh, pos, kWhat);
            const std::string_view entry = slice(stsh, pos + 2, cbStd, kWhat);
            pos += 2 + cbStd;
            Style style {0, kNoStyle, {}};
            if (cbStd >= baseSize && baseSize >= 10) {
                style.sti = readU16(entry, 0, kWhat) & 0x0FFF;
                const std::uint16_t kindAndBase = readU16(entry, 2, kWhat);
                style.base = kindAndBase >> 4;
                // The name (a counted UTF-16 string and its terminator), then the
                // paragraph modifiers first among the style's property groups.
                const std::size_t nameLength = readU16(entry, baseSize, kWhat);
                std::size_t upx = baseSize + 2 + 2 * nameLength + 2;
                upx += upx % 2;
                if ((kindAndBase & 0xF) == kParagraphStyle && upx + 2 <= entry.size()) {
                    const std::size_t cbUpx = readU16(entry, upx, kWhat);
                    if (cbUpx >= 2)
                        style.papx = slice(entry, upx + 4, cbUpx - 2, kWhat);
                }
            }
            styles.push_back(style);
        }
    } catch (const DocFormatError&) {
        // The styles read so far stand.
    }
    sheet.resolve(styles);
    return sheet;
}

void StyleSheet::resolve(const std::vector<Style>& styles)
{
    formats_.assign(styles.size(), {});
    for (std::size_t istd = 0; istd < styles.size(); ++istd) {
        // The chain from the style up to its first base, applied from the top.
        std::vector<std::size_t> chain {istd};
        while (chain.size() < kMaxBaseDepth && styles[chain.back()].base < styles.size())
            chain.push_back(styles[chain.back()].base);
        ParagraphFormat& format = formats_[istd];
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const Style& style = styles[*it];
            if (style.sti >= kHeading1 && style.sti <= kHeading9)
                format.outlineLevel = style.sti - kHeading1;
            format.apply(style.papx);
        }
        format.rowEnd = false;
    }
}

const ParagraphFormat& StyleSheet::format(std::uint16_t istd) const
{
    static const ParagraphFormat kNone;
    return istd < formats_.size() ? formats_[istd] : kNone;
}

}  // namespace leafmill::extract::doc
