// What the formatting adds to the text: list labels as Word shows them,
// headings as chapters, and the characters of symbol fonts.
#include "CompoundFileWriter.h"
#include "TestSupport.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::WordFileSpec;
using namespace std::string_literals;

// Little-endian bytes, appended.
struct Bytes {
    std::string s;
    Bytes& u8(unsigned v)
    {
        s += char(v);
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& text(std::u16string_view t)
    {
        for (char16_t c : t)
            u16(c);
        return *this;
    }
};

std::string sprm(std::uint16_t code, unsigned operand, int size)
{
    Bytes b;
    b.u16(code);
    for (int i = 0; i < size; ++i)
        b.u8((operand >> (8 * i)) & 0xFF);
    return b.s;
}
std::string inList(int ilfo, int ilvl) { return sprm(0x460B, unsigned(ilfo), 2) + sprm(0x260A, unsigned(ilvl), 1); }
std::string outline(int level) { return sprm(0x2640, unsigned(level), 1); }

// Fonts 0 Times New Roman, 1 Symbol, 2 Wingdings.
std::string fontTable()
{
    Bytes b;
    b.u16(3).u16(0);
    for (std::u16string_view name : {u"Times New Roman", u"Symbol", u"Wingdings"}) {
        Bytes ffn;
        ffn.s.assign(39, '\0');
        ffn.text(name).u16(0);
        b.u8(unsigned(ffn.s.size())).s += ffn.s;
    }
    return b.s;
}

struct Style {
    unsigned sti;
    unsigned base;  // 0x0FFF: none
    std::string papx;
};

std::string styleSheet(const std::vector<Style>& styles)
{
    Bytes b;
    b.u16(4).u16(unsigned(styles.size())).u16(10);
    for (const Style& style : styles) {
        Bytes entry;
        entry.u16(style.sti).u16(1 | style.base << 4).u16(2).u16(0).u16(0);
        entry.u16(1).text(u"S").u16(0);
        entry.u16(unsigned(2 + style.papx.size())).u16(0).s += style.papx;
        if (entry.s.size() % 2)
            entry.u8(0);
        entry.u16(0);
        b.u16(unsigned(entry.s.size())).s += entry.s;
    }
    return b.s;
}

struct Level {
    int start;
    unsigned nfc;
    std::u16string text;
    unsigned follow = 0;  // 0 TAB, 1 space, 2 nothing
    bool legal = false;
    int font = -1;
};

std::string level(const Level& l)
{
    const std::string chpx = l.font >= 0 ? sprm(0x4A4F, unsigned(l.font), 2) : "";
    Bytes b;
    b.u32(std::uint32_t(l.start)).u8(l.nfc).u8(l.legal ? 4 : 0);
    b.s.append(9, '\0');
    b.u8(l.follow).u32(0).u32(0).u8(unsigned(chpx.size())).u8(0).u8(0).u8(0);
    b.s += chpx;
    b.u16(unsigned(l.text.size())).text(l.text);
    return b.s;
}

// Lists by id with their levels (one level: a simple list), then the
// overrides: a list id and the levels whose start it sets.
struct List {
    std::int32_t id;
    std::vector<Level> levels;
};
struct Override {
    std::int32_t id;
    std::vector<std::pair<int, int>> starts;  // level, start
};

std::vector<std::pair<std::size_t, std::string>> listTables(const std::vector<List>& lists,
                                                            const std::vector<Override>& overrides)
{
    Bytes lst, levels;
    lst.u16(unsigned(lists.size()));
    for (const List& list : lists) {
        lst.u32(std::uint32_t(list.id)).u32(0);
        for (int i = 0; i < 9; ++i)
            lst.u16(0x0FFF);
        lst.u8(list.levels.size() == 1 ? 1 : 0).u8(0);
        for (std::size_t i = 0; i < (list.levels.size() == 1 ? 1 : 9); ++i)
            levels.s += level(i < list.levels.size() ? list.levels[i] : Level {1, 0, u"\x05."s});
    }
    Bytes lfo, data;
    lfo.u32(std::uint32_t(overrides.size()));
    for (const Override& o : overrides) {
        lfo.u32(std::uint32_t(o.id)).u32(0).u32(0).u8(unsigned(o.starts.size())).u8(0).u8(0).u8(0);
        data.u32(0xFFFFFFFF);
        for (const auto& [ilvl, start] : o.starts)
            data.u32(std::uint32_t(start)).u32(std::uint32_t(ilvl) | 0x10);
    }
    // The levels follow the list array, outside its counted size.
    return {{73, lst.s + levels.s}, {74, lfo.s + data.s}};
}

struct Paragraph {
    std::u16string text;
    std::string grpprl;
    std::uint16_t istd = 0;
};

// One paragraph run per paragraph, all text compressed.
WordFileSpec document(const std::vector<Paragraph>& paragraphs)
{
    WordFileSpec spec;
    std::u16string text;
    for (const Paragraph& p : paragraphs) {
        const auto start = std::uint32_t(text.size());
        text += p.text + u"\r";
        spec.paragraphRuns.push_back({start, std::uint32_t(text.size()), p.grpprl, p.istd});
    }
    spec.pieces = {{text, true}};
    return spec;
}

Result convert(const WordFileSpec& spec)
{
    Result result = docToText(test::buildWordFile(spec), Options {});
    EXPECT_TRUE(result.ok) << result.error;
    return result;
}

TEST(DocFormatting, ListParagraphsGetTheirLabelsCountedThroughTheDocument)
{
    const std::vector<List> lists = {
        {100, {{1, 0, u"\x00."s, 0}, {1, 4, u"\x01)"s, 1}, {1, 0, u"\x00.\x01.\x02"s, 2, true}}},
        {200, {{1, 23, u"\xF0B7"s, 0, false, 1}}},
        {300, {{1, 23, u"\xF0A7"s, 1, false, 2}}},
        {400, {{1, 2, u"(\x00)"s, 1}}},
    };
    // Overrides 1-4 use the lists as they are; 5 restarts list 100 at 5; 6 names no list.
    const std::vector<Override> overrides = {{100, {}}, {200, {}}, {300, {}}, {400, {}}, {100, {{0, 5}}}, {999, {}}};
    // Style 1 puts its paragraphs into list 100.
    WordFileSpec spec = document({
        {u"One", inList(1, 0)},
        {u"Sub", inList(1, 1)},
        {u"Sub", inList(1, 1)},
        {u"Deep", inList(1, 2)},
        {u"Dot", inList(2, 0)},
        {u"Square", inList(3, 0)},
        {u"Two", inList(1, 0)},
        {u"Again", inList(1, 1)},
        {u"Roman", inList(4, 0)},
        {u"Roman", inList(4, 0)},
        {u"Styled", "", 1},
        {u"Unlisted", sprm(0x460B, 0, 2), 1},
        {u"Five", inList(5, 0)},
        {u"Six", inList(5, 0)},
        {u"Three", inList(1, 0)},
        {u"Unknown", inList(6, 0)},
        {u"Beyond", inList(7, 0)},
    });
    spec.tableParts = listTables(lists, overrides);
    spec.tableParts.push_back({1, styleSheet({{0, 0x0FFF, ""}, {0x0FFE, 0, inList(1, 0)}})});
    spec.tableParts.push_back({15, fontTable()});
    EXPECT_EQ(convert(spec).text,
              "1.\tOne\r\na) Sub\r\nb) Sub\r\n1.2.1 Deep\r\n\u2022\tDot\r\n\u25AA Square\r\n2.\tTwo\r\n"
              "a) Again\r\n(i) Roman\r\n(ii) Roman\r\n3.\tStyled\r\nUnlisted\r\n5.\tFive\r\n6.\tSix\r\n"
              "4.\tThree\r\nUnknown\r\nBeyond\r\n");
}

TEST(DocFormatting, HeadingsOfTheMainTextUpToLevelThreeAreChapters)
{
    // Styles: 0 Normal, 1 heading 1, 2 a style based on it, 3 and 4 based on each other.
    WordFileSpec spec = document({
        {u"Intro", "", 1},
        {u"Body text", ""},
        {u"Derived", "", 2},
        {u"Outlined", outline(2)},
        {u"Too deep", outline(3)},
        {u"Body again", outline(9), 1},
        {u"Looping", "", 3},
        {u"Numbered", inList(1, 0), 1},
        {u"A note", outline(0)},
    });
    spec.ccpText = 70;
    spec.ccpFtn = 7;
    spec.tableParts = listTables({{1, {{1, 0, u"\x00."s}}}}, {{1, {}}});
    spec.tableParts.push_back(
        {1, styleSheet({{0, 0x0FFF, ""}, {1, 0, ""}, {0x0FFE, 1, ""}, {0x0FFE, 4, ""}, {0x0FFE, 3, ""}})});
    const Result result = convert(spec);
    EXPECT_EQ(result.text,
              "Intro\r\nBody text\r\nDerived\r\nOutlined\r\nToo deep\r\nBody again\r\nLooping\r\n1.\tNumbered\r\n"
              "A note\r\n");
    std::string chapters;
    for (const Chapter& chapter : result.chapters)
        chapters += chapter.title + " " + std::to_string(chapter.level) + " @" + std::to_string(chapter.offset) + "|";
    EXPECT_EQ(chapters, "Intro 1 @0|Derived 1 @18|Outlined 3 @27|1. Numbered 1 @68|");
}

TEST(DocFormatting, SymbolFontCharactersBecomeTheCharactersTheFontDraws)
{
    WordFileSpec spec;
    spec.pieces = {{u"((( abc \xF0B7 \xF0B7 (\r", false}};
    const std::string symbol = sprm(0x6A09, 1 | 0xF053u << 16, 4);
    spec.characterRuns = {{0, 1, symbol},
                          {1, 2, sprm(0x6A09, 0 | 0x263Au << 16, 4)},
                          {4, 7, sprm(0x4A4F, 1, 2)},
                          {10, 11, sprm(0x4A4F, 0, 2)}};
    spec.tableParts = {{15, fontTable()}};
    // An inserted Symbol sigma, a text font's smiley, a plain bracket; Symbol
    // letters; a private-use code in no named font (Symbol's), in Times (kept).
    EXPECT_EQ(convert(spec).text, "\u03A3\u263A( \u03B1\u03B2\u03C7 \u2022 \uF0B7 (\r\n");
}

TEST(DocFormatting, ADocumentMadeByAWordProcessorReadsAsItShows)
{
    const std::filesystem::path dir = test::documentsDir();
    const Result result = docToText(test::readFile(dir / "lists.doc"), Options {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, test::readFile(dir / "sources" / "lists.doc.txt"));
    std::string chapters;
    for (const Chapter& chapter : result.chapters)
        chapters += chapter.title + " " + std::to_string(chapter.level) + "|";
    EXPECT_EQ(chapters, "1. Scope 1|1.1 Definitions 2|2. Sale 1|");
}

}  // namespace
}  // namespace leafmill::extract
