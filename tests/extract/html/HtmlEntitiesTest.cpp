#include "extract/html/HtmlEntities.h"

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
    std::istringstream table(test::readFile(std::filesystem::path(LEAFMILL_HTML_TESTDATA) / "references.txt"));
    std::string name, hex;
    int rows = 0;
    for (; table >> name >> hex; ++rows) {
        std::string expected;
        appendUtf8(static_cast<char32_t>(std::stoul(hex, nullptr, 16)), expected);
        EXPECT_EQ(decoded("&" + name + ";"), expected) << name;
    }
    EXPECT_EQ(rows, 253 + 32);
}

struct Decoding {
    std::string_view text, decoded;
};

class HtmlReferences : public ::testing::TestWithParam<Decoding> { };

TEST_P(HtmlReferences, AreDecodedOnceOrKeptAsWritten)
{
    EXPECT_EQ(decoded(GetParam().text), GetParam().decoded) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HtmlReferences,
    ::testing::Values(Decoding {"caf&eacute; &Eacute;t&eacute; &alpha;&Omega; &zwnj;|", "café Été αΩ \u200C|"},
                      // Names are case-sensitive save the five that old pages write in any
                      // case.
                      Decoding {"&EACUTE; &Copy; &AMP; &Quot; &lT; &GT; &NbSp;|", "&EACUTE; &Copy; & \" < >  |"},
                      Decoding {"&#233;&#xE9;&#XE9;&#x00e9; &#8212; &#128512; &#65;", "éééé — 😀 A"},
                      Decoding {"&#0;|&#xD800;|&#x110000;|&#99999999999999999999999;", "\uFFFD|\uFFFD|\uFFFD|\uFFFD"},
                      Decoding {"&amp;lt; &amp;amp; &amp;#65; &#38;lt;", "&lt; &amp; &#65; &lt;"},
                      Decoding {"&&amp;&amp", "&&&amp"}, Decoding {"&", "&"}, Decoding {"a & b", "a & b"},
                      Decoding {"&eacute", "&eacute"}, Decoding {"&#233", "&#233"}, Decoding {"&#;", "&#;"},
                      Decoding {"&#x;", "&#x;"}, Decoding {"&#xZZ;", "&#xZZ;"}, Decoding {"&nosuch;", "&nosuch;"},
                      Decoding {"&verylongname;", "&verylongname;"}, Decoding {"&;", "&;"},
                      Decoding {"&&amp", "&&amp"}));

}  // namespace
}  // namespace leafmill::extract
