// What formatting adds to the text: list labels, headings as chapters, symbol font characters.
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/LittleEndian.h"

#include <gtest/gtest.h>

#include <tuple>

namespace leafmill::extract {
namespace {

using test::Bytes;
using test::WordFilePlan;
using namespace std::string_literals;

std::string sprm(std::uint16_t code, std::uint32_t operand, int size)
{
    return Bytes {}.n(code, 2).n(operand, size).s;
}
const auto inList = [](int ilfo, int ilvl) { return sprm(0x460B, ilfo, 2) + sprm(0x260A, ilvl, 1); };
const auto outline = [](int level) { return sprm(0x2640, level, 1); };

// Fonts 0 Times New Roman, 1 Symbol, 2 Wingdings.
std::string fontTable()
{
    Bytes table;
    table.n(3, 2).n(0, 2);
    for (std::u16string_view name : {u"Times New Roman", u"Symbol", u"Wingdings"}) {
        Bytes ffn {std::string(39, '\0')};
        ffn.text(name).n(0, 2);
        table.n(ffn.s.size(), 1).s += ffn.s;
    }
    return table.s;
}

// Paragraph styles named "S", each an identifier, a base (0x0FFF: none) and paragraph modifiers.
std::string styleSheet(const std::vector<std::tuple<unsigned, unsigned, std::string>>& styles)
{
    Bytes sheet;
    sheet.n(4, 2).n(styles.size(), 2).n(10, 2);
    for (const auto& [sti, base, papx] : styles) {
        Bytes entry;
        entry.n(sti, 2).n(1 | base << 4, 2).n(2, 2).n(0, 4).n(1, 2).text(u"S").n(0, 2);
        entry.n(2 + papx.size(), 2).n(0, 2).s += papx;
        entry.n(0, entry.s.size() % 2 + 2);
        sheet.n(entry.s.size(), 2).s += entry.s;
    }
    return sheet.s;
}

// A list level from 1; after the label: 0 TAB, 1 space, 2 nothing; legal: numbers shown as decimals.
std::string level(unsigned nfc, std::u16string_view label, unsigned follow = 0, bool legal = false, int font = -1)
{
    const std::string chpx = font >= 0 ? sprm(0x4A4F, font, 2) : "";
    Bytes b;
    b.n(1, 4).n(nfc, 1).n(legal ? 4 : 0, 1).n(0, 9).n(follow, 1).n(0, 8).n(chpx.size(), 1).n(0, 3).s += chpx;
    return b.n(label.size(), 2).text(label).s;
}

// Lists by id with their levels (one level: a simple list), then the
// overrides: a list id and the levels it restarts (level, start, and the new level when replaced).
using Lists = std::vector<std::pair<std::int32_t, std::vector<std::string>>>;
using Overrides = std::vector<std::pair<std::int32_t, std::vector<std::tuple<int, int, std::string>>>>;

std::vector<std::pair<std::size_t, std::string>> listTables(const Lists& lists, const Overrides& overrides)
{
    Bytes lst, levels;
    lst.n(lists.size(), 2);
    for (const auto& [id, listLevels] : lists) {
        const bool simple = listLevels.size() == 1;
        lst.n(id, 4).n(0, 4);
        for (int i = 0; i < 9; ++i)
            lst.n(0x0FFF, 2);
        lst.n(simple, 1).n(0, 1);
        for (std::size_t i = 0; i < (simple ? 1 : 9); ++i)
            levels.s += i < listLevels.size() ? listLevels[i] : level(0, u"\x05."s);
    }
    Bytes lfo, data;
    lfo.n(overrides.size(), 4);
    for (const auto& [id, restarts] : overrides) {
        lfo.n(id, 4).n(0, 8).n(restarts.size(), 1).n(0, 3);
        data.n(0xFFFFFFFF, 4);
        for (const auto& [ilvl, start, replaced] : restarts)
            data.n(start, 4).n(ilvl | 0x10 | (replaced.empty() ? 0 : 0x20), 4).s += replaced;
    }
    // The levels follow the list array, outside its counted size.
    return {{73, lst.s + levels.s}, {74, lfo.s + data.s}};
}

// Paragraphs ended by \r, one run each, with their modifiers and styles (missing: none, 0); compressed text.
WordFilePlan document(const std::u16string& text, const std::vector<std::string>& grpprls,
                      const std::vector<std::uint16_t>& istds = {})
{
    WordFilePlan plan;
    plan.pieces = {{text, true}};
    for (std::size_t start = 0, end; (end = text.find(u'\r', start)) != text.npos; start = end + 1) {
        const std::size_t i = plan.paragraphRuns.size();
        plan.paragraphRuns.push_back({std::uint32_t(start), std::uint32_t(end + 1),
                                      i < grpprls.size() ? grpprls[i] : "",
                                      std::uint16_t(i < istds.size() ? istds[i] : 0)});
    }
    return plan;
}

TEST(DocFormatting, ListParagraphsGetTheirLabelsCountedThroughTheDocument)
{
    const Lists lists = {
        {100, {level(0, u"\x00."s), level(4, u"\x01)"s, 1), level(0, u"\x00.\x01.\x02"s, 2, true)}},
        {200, {level(23, u"\xF0B7"s, 0, false, 1)}},
        {300, {level(23, u"\xF0A7"s, 1, false, 2)}},
        {400, {level(2, u"(\x00)"s, 1)}},
    };
    // Overrides 1-4 use the lists as they are; 5 restarts list 100 at 5; 6 names no list; 7 gives list 100 a
    // new first level from 3.
    const std::string bracketed = level(1, u"\x00]"s, 1);
    const Overrides overrides
        = {{100, {}}, {200, {}}, {300, {}}, {400, {}}, {100, {{0, 5, ""}}}, {9, {}}, {100, {{0, 3, bracketed}}}};
    // Style 1 puts its paragraphs into list 100. "Two" changes its tabs first, in the counted form
    // (one tab deleted, one added), whose size is not in its size byte.
    const std::string tabs = Bytes {}.n(0xC615, 2).n(255, 1).n(1, 1).n(720, 2).n(0, 2).n(1, 1).n(1440, 2).n(0, 1).s;
    WordFilePlan plan = document(u"One\rSub\rSub\rDeep\rDot\rSquare\rTwo\rAgain\rRoman\rRoman\rStyled\rUnlisted\r"
                                 u"Five\rSix\rThree\rUnknown\rNew\rBeyond\r",
                                 {inList(1, 0), inList(1, 1), inList(1, 1), inList(1, 2), inList(2, 0), inList(3, 0),
                                  tabs + inList(1, 0), inList(1, 1), inList(4, 0), inList(4, 0), "", sprm(0x460B, 0, 2),
                                  inList(5, 0), inList(5, 0), inList(1, 0), inList(6, 0), inList(7, 0), inList(8, 0)},
                                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1});
    plan.tableParts = listTables(lists, overrides);
    plan.tableParts.push_back({1, styleSheet({{0, 0x0FFF, ""}, {0x0FFE, 0, inList(1, 0)}})});
    plan.tableParts.push_back({15, fontTable()});
    const Result result = test::convertWordFile(plan);
    EXPECT_EQ(result.text,
              "1.\tOne\r\na) Sub\r\nb) Sub\r\n1.2.1 Deep\r\n\u2022\tDot\r\n\u25AA Square\r\n2.\tTwo\r\n"
              "a) Again\r\n(i) Roman\r\n(ii) Roman\r\n3.\tStyled\r\nUnlisted\r\n5.\tFive\r\n6.\tSix\r\n"
              "4.\tThree\r\nUnknown\r\nIII] New\r\nBeyond\r\n");
}

TEST(DocFormatting, HeadingsOfTheMainTextUpToLevelThreeAreChapters)
{
    // Styles: 0 Normal, 1 heading 1, 2 a style based on it, 3 and 4 based on each other.
    const std::string tabs = "\x15\xC6\xFF\x01"s + "\0\0\0\0"s + "\x01\0\0\0"s;  // one tab deleted, one added
    WordFilePlan plan = document(
        u"Intro\rBody text\rDerived\rOutlined\rToo deep\rBody again\rLooping\rNumbered\rTabbed\rCut\rA note\r",
        {"", "", "", outline(2), outline(3), outline(9), "", inList(1, 0), tabs + outline(1), sprm(0x2640, 0, 0),
         outline(0)},
        {1, 0, 2, 0, 0, 1, 3, 1});
    plan.ccpText = 81;
    plan.ccpFtn = 7;
    plan.tableParts = listTables({{1, {level(0, u"\x00."s)}}}, {{1, {}}});
    plan.tableParts.push_back(
        {1, styleSheet({{0, 0x0FFF, ""}, {1, 0, ""}, {0x0FFE, 1, ""}, {0x0FFE, 4, ""}, {0x0FFE, 3, ""}})});
    const Result result = test::convertWordFile(plan);
    EXPECT_EQ(result.text,
              "Intro\r\nBody text\r\nDerived\r\nOutlined\r\nToo deep\r\nBody again\r\nLooping\r\n1.\tNumbered\r\n"
              "Tabbed\r\nCut\r\nA note\r\n");
    std::string chapters;
    for (const Chapter& chapter : result.chapters)
        chapters += chapter.title + " " + std::to_string(chapter.level) + " @" + std::to_string(chapter.offset) + "|";
    EXPECT_EQ(chapters, "Intro 1 @0|Derived 1 @18|Outlined 3 @27|1. Numbered 1 @68|Tabbed 2 @81|");

    // The bin table names, first, two pages of runs far past the text: pages
    // out of order read the same.
    test::WordStreams streams = test::buildWordStreams(plan);
    constexpr std::size_t kBinTable = 154 + 8 * 13;
    std::string& stream = streams.wordDocument;
    const std::uint32_t page = doc::readU32(streams.table, doc::readU32(stream, kBinTable, "") + 8, "");
    const std::string original = stream.substr(512 * std::size_t(page), 512);
    Bytes binTable = Bytes {}.n(0, 4).n(1, 4).n(2, 4).n(3, 4);
    for (std::uint32_t past : {1, 2}) {
        std::string late = original;
        for (std::size_t i = 0; i <= static_cast<unsigned char>(late[511]); ++i)
            test::put(late, 4 * i, doc::readU32(late, 4 * i, "") + past * 0x1000000, 4);
        stream.resize((stream.size() + 511) / 512 * 512);
        binTable.n(static_cast<std::uint32_t>(stream.size() / 512), 4);
        stream += late;
    }
    binTable.n(page, 4);
    test::put(stream, kBinTable, static_cast<std::uint32_t>(streams.table.size()), 4);
    test::put(stream, kBinTable + 4, static_cast<std::uint32_t>(binTable.s.size()), 4);
    streams.table += binTable.s;
    const Result outOfOrder = test::convertStreams(streams);
    EXPECT_EQ(outOfOrder.text, result.text);
    ASSERT_EQ(outOfOrder.chapters.size(), result.chapters.size());
    for (std::size_t i = 0; i < result.chapters.size(); ++i)
        EXPECT_EQ(outOfOrder.chapters[i].title, result.chapters[i].title);
}

TEST(DocFormatting, SymbolFontCharactersBecomeTheCharactersTheFontDraws)
{
    WordFilePlan plan;
    plan.pieces = {{u"(((( abc \xF0B7 \xF0B7 (\r", false}};
    const auto inserted = [](unsigned font, std::uint32_t code) { return sprm(0x6A09, font | code << 16, 4); };
    plan.characterRuns = {{0, 1, inserted(1, 0xF053)}, {1, 2, inserted(0, 0x263A)}, {2, 3, inserted(0, 0x20)},
                          {3, 4, inserted(0, 0x1F)},   {5, 8, sprm(0x4A4F, 1, 2)},  {11, 12, sprm(0x4A4F, 0, 2)}};
    plan.tableParts = {{15, fontTable()}};
    // Inserted: a Symbol sigma, a text font's smiley and space, a control code
    // (no character). Then Symbol letters, a private-use code in no named font
    // (Symbol's), in Times (kept), and a plain bracket.
    EXPECT_EQ(test::convertWordFile(plan).text, "\u03A3\u263A \uFFFD \u03B1\u03B2\u03C7 \u2022 \uF0B7 (\r\n");
}

}  // namespace
}  // namespace leafmill::extract
