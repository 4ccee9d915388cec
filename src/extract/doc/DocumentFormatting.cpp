#include "extract/doc/DocumentFormatting.h"

#include "extract/doc/Sprm.h"
#include "extract/doc/WordDocument.h"

namespace leafmill::extract::doc {

namespace {

constexpr char16_t kInsertedSymbol = u'(';
constexpr char32_t kReplacement = U'\uFFFD';

bool isSymbolCode(char32_t c)
{
    return c >= 0xF020 && c <= 0xF0FF;
}

bool isCharacter(char32_t c)
{
    return c >= 0x20 && !isSymbolCode(c) && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

DocumentFormatting::DocumentFormatting(const WordDocument& document)
    : paragraphs_(FormattingRuns::read(document.mainStream(), document.tableStream(), document.fib().fcPlcfBtePapx,
                                       document.fib().lcbPlcfBtePapx, FormattingRuns::Kind::Paragraph))
    , styles_(StyleSheet::read(document.tableStream(), document.fib()))
    , fonts_(FontTable::read(document.tableStream(), document.fib()))
    , lists_(ListTables::read(document.tableStream(), document.fib(), fonts_))
{
    // Word 6 character modifiers are of another form.
    if (!document.fib().word6)
        characters_ = FormattingRuns::read(document.mainStream(), document.tableStream(), document.fib().fcPlcfBteChpx,
                                           document.fib().lcbPlcfBteChpx, FormattingRuns::Kind::Character);
}

ParagraphFormat DocumentFormatting::paragraph(std::uint32_t streamOffset) const
{
    const FormattingRun* run = paragraphs_ ? paragraphs_->at(streamOffset) : nullptr;
    if (!run)
        return {};
    ParagraphFormat format = styles_.format(run->istd);
    format.apply(run->grpprl);
    return format;
}

void DocumentFormatting::readRun(std::uint32_t streamOffset)
{
    run_ = {};
    const FormattingRun* run = characters_ ? characters_->at(streamOffset) : nullptr;
    if (!run) {
        runStart_ = runEnd_ = streamOffset;  // read again next time; rare
        return;
    }
    runStart_ = run->start;
    runEnd_ = run->end;
    SprmReader reader(run->grpprl);
    for (Sprm sprm; reader.next(sprm);) {
        if (sprm.code == kSprmCRgFtc0) {
            run_.font = fonts_.symbolFont(static_cast<std::uint16_t>(sprm.word()));
        } else if (sprm.code == kSprmCSymbol) {
            const char32_t code = sprm.word(2);
            const SymbolFont font = fonts_.symbolFont(static_cast<std::uint16_t>(sprm.word()));
            // A text font's symbol is stored as its Unicode character.
            const char32_t drawn = font != SymbolFont::None ? symbolFontChar(font, code) : 0;
            run_.inserted = drawn ? drawn : isCharacter(code) ? code : kReplacement;
        }
    }
}

char32_t DocumentFormatting::symbol(std::uint32_t streamOffset, char16_t unit)
{
    if (unit < 0x20 || (unit > 0xFF && !isSymbolCode(unit)))
        return 0;
    if (characters_ && (streamOffset < runStart_ || streamOffset >= runEnd_))
        readRun(streamOffset);
    if (unit == kInsertedSymbol && run_.inserted)
        return *run_.inserted;
    if (!run_.font)
        return isSymbolCode(unit) ? symbolFontChar(SymbolFont::Symbol, unit) : 0;
    return symbolFontChar(*run_.font, unit);
}

}  // namespace leafmill::extract::doc
