#include "extract/html/HtmlEntities.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill::extract {
namespace {

std::string decoded(std::string_view text)
{
    std::string out;
    appendDecodingReferences(text, out);
    return out;
}

TEST(HtmlEntities, NamedEntitiesOfEachHtml4Group)
{
    // Latin-1, symbols and Greek, and the special set.
    EXPECT_EQ(decoded("caf&eacute; &Eacute;t&eacute; &copy; &yuml; &szlig;"), "café Été © ÿ ß");
    EXPECT_EQ(decoded("&alpha;&Omega; &thetasym; &hellip; &rArr; &infin; &spades;"), "αΩ ϑ … ⇒ ∞ ♠");
    EXPECT_EQ(decoded("&euro; &mdash; &ndash; &lsquo;&rsquo; &ldquo;&rdquo; &OElig; &zwnj;|"), "€ — – ‘’ “” Œ \u200C|");
    EXPECT_EQ(decoded("&apos;"), "'");
}

TEST(HtmlEntities, NamesAreCaseSensitiveSaveTheFiveOldOnes)
{
    EXPECT_EQ(namedEntity("Eacute"), U'É');
    EXPECT_EQ(namedEntity("eacute"), U'é');
    EXPECT_FALSE(namedEntity("EACUTE"));
    EXPECT_FALSE(namedEntity("Copy"));
    EXPECT_EQ(namedEntity("AMP"), U'&');
    EXPECT_EQ(namedEntity("Quot"), U'"');
    EXPECT_EQ(namedEntity("lT"), U'<');
    EXPECT_EQ(namedEntity("GT"), U'>');
    EXPECT_EQ(namedEntity("NbSp"), U' ');
    EXPECT_FALSE(namedEntity(""));
    EXPECT_FALSE(namedEntity("nosuchentity"));
}

TEST(HtmlEntities, NumericReferencesInDecimalAndHex)
{
    EXPECT_EQ(decoded("&#233;&#xE9;&#XE9;&#x00e9; &#8212; &#128512; &#65;"), "éééé — 😀 A");
}

TEST(HtmlEntities, NumericReferencesOutsideUnicodeBecomeReplacementCharacters)
{
    EXPECT_EQ(decoded("&#0;|&#xD800;|&#x110000;|&#99999999999999999999999;"), "\uFFFD|\uFFFD|\uFFFD|\uFFFD");
}

TEST(HtmlEntities, C1ReferencesReadAsWindows1252)
{
    EXPECT_EQ(decoded("&#150;&#151;&#x80;&#147;x&#148;"), "–—€“x”");
    EXPECT_EQ(decoded("&#129;"), "\uFFFD");
}

TEST(HtmlEntities, IncompleteOrUnknownReferencesStayAsWritten)
{
    const std::string_view kept[]
        = {"&", "a & b", "&eacute", "&#233", "&#;", "&#x;", "&#xZZ;", "&nosuch;", "&verylongname;", "&;", "&&amp"};
    for (std::string_view text : kept)
        EXPECT_EQ(decoded(text), text);
    EXPECT_EQ(decoded("&&amp;&amp"), "&&&amp");
}

TEST(HtmlEntities, EachReferenceIsDecodedOnce)
{
    EXPECT_EQ(decoded("&amp;lt; &amp;amp; &amp;#65;"), "&lt; &amp; &#65;");
    EXPECT_EQ(decoded("&#38;lt;"), "&lt;");
}

}  // namespace
}  // namespace leafmill::extract
