#include "extract/common/HtmlEntities.h"

#include "TestSupport.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace leafmill::extract {
namespace {

std::string decoded(std::string_view text)
{
    std::string out;
    appendDecodingReferences(text, out);
    return out;
}

// references.txt (see make-references.py): every named entity and the C1 range.
TEST(HtmlEntities, EveryReferenceOfTheTableGivesItsCharacter)
{
    std::istringstream table(test::readFile(std::filesystem::path(LEAFMILL_TEST_DATA) / "references.txt"));
    std::string name, hex;
    int rows = 0;
    for (; table >> name >> hex; ++rows) {
        std::string expected;
        appendUtf8(static_cast<char32_t>(std::stoul(hex, nullptr, 16)), expected);
        EXPECT_EQ(decoded("&" + name + ";"), expected) << name;
    }
    EXPECT_EQ(rows, 253 + 32);
}

TEST(HtmlEntities, ReferencesInTextAreDecodedOnceOrKeptAsWritten)
{
    const std::pair<std::string_view, std::string_view> texts[] = {
        {"caf&eacute; &Eacute;t&eacute; &alpha;&Omega; &zwnj;|", "café Été αΩ \u200C|"},
        // Names are case-sensitive save the five that old pages write in any case.
        {"&EACUTE; &Copy; &AMP; &Quot; &lT; &GT; &NbSp;|", "&EACUTE; &Copy; & \" < >  |"},
        {"&#233;&#xE9;&#XE9;&#x00e9; &#8212; &#128512; &#65;", "éééé — 😀 A"},
        {"&#0;|&#xD800;|&#x110000;|&#99999999999999999999999;", "\uFFFD|\uFFFD|\uFFFD|\uFFFD"},
        {"&amp;lt; &amp;amp; &amp;#65; &#38;lt;", "&lt; &amp; &#65; &lt;"},
        {"&&amp;&amp", "&&&amp"},
        {"a & b &", "a & b &"},
        // Unended, empty, unknown or overlong: kept, also where the text ends.
        {"&#; &#x; &#xZZ; &nosuch; &verylongname; &; &eacute", "&#; &#x; &#xZZ; &nosuch; &verylongname; &; &eacute"},
        {"&#233", "&#233"},
        {"&&amp", "&&amp"},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(decoded(text), expected) << text;
}

}  // namespace
}  // namespace leafmill::extract
