#include "extract/html/PageDecoding.h"
#include "extract/html/CharsetDeclarations.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill::extract {
namespace {

struct Decoded {
    std::string text;
    std::vector<std::string> warnings;
};

Decoded decode(std::string_view bytes, const char* fallback = "windows-1252")
{
    const auto page = CodePage::open(fallback);
    EXPECT_TRUE(page);
    Decoded d;
    d.text = decodePage(bytes, *page, d.warnings);
    return d;
}

TEST(CharsetDeclarations, ReadsBothMetaFormsInOrder)
{
    EXPECT_EQ(declaredCharsets("<html><head><META CHARSET=\"UTF-8\"><meta charset='koi8-r'/>"),
              (std::vector<std::string> {"utf-8", "koi8-r"}));
    EXPECT_EQ(declaredCharsets("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\">"),
              (std::vector<std::string> {"windows-1251"}));
    EXPECT_EQ(declaredCharsets("<meta content='text/html;charset = iso-8859-6' http-equiv='content-type'>"),
              (std::vector<std::string> {"iso-8859-6"}));
    EXPECT_EQ(declaredCharsets("<meta charset=utf-8/><meta charset=koi8-r,x>"),
              (std::vector<std::string> {"utf-8", "koi8-r"}));
}

TEST(CharsetDeclarations, IgnoresOtherTagsAndDeclarationsPastTheWindow)
{
    EXPECT_TRUE(declaredCharsets("<script charset=\"utf-8\"></script><metadata charset=x>").empty());
    EXPECT_TRUE(declaredCharsets("<meta name=\"description\" content=\"charset\">").empty());
    const std::string late = std::string(kCharsetDeclarationWindow, ' ') + "<meta charset=utf-8>";
    EXPECT_TRUE(declaredCharsets(late).empty());
    // A tag that starts inside the window is read to its end.
    const std::string straddling = std::string(kCharsetDeclarationWindow - 10, ' ') + "<meta charset=utf-8>";
    EXPECT_EQ(declaredCharsets(straddling), (std::vector<std::string> {"utf-8"}));
}

TEST(PageDecoding, UndeclaredPagesAreReadInTheCodePage)
{
    EXPECT_EQ(decode("caf\xE9 \x80").text, "café €");
    EXPECT_EQ(decode("\xEF\xF0\xE8\xE2\xE5\xF2", "windows-1251").text, "привет");
    // Unless they are UTF-8 beyond ASCII, which no legacy page reads as text.
    const Decoded utf8 = decode("caf\xC3\xA9 \xE2\x80\x94", "windows-1251");
    EXPECT_EQ(utf8.text, "café —");
    EXPECT_TRUE(utf8.warnings.empty());
    const Decoded late = decode(std::string(1100, ' ') + "<meta charset=windows-1251>\xE9");
    EXPECT_TRUE(late.text.ends_with("é"));
    EXPECT_TRUE(late.warnings.empty());
}

TEST(PageDecoding, ByteOrderMarksDecideTheSet)
{
    EXPECT_EQ(decode("\xEF\xBB\xBF"
                     "caf\xC3\xA9")
                  .text,
              "café");
    EXPECT_EQ(decode(std::string("\xFF\xFE"
                                 "a\0\xE9\0\x3D\xD8\x00\xDE",
                                 10))
                  .text,
              "aé😀");
    EXPECT_EQ(decode(std::string("\xFE\xFF\0a\x4E\x2D", 6)).text, "a中");
    // A lone surrogate and half a code unit are replaced, not dropped.
    EXPECT_EQ(decode(std::string("\xFF\xFE\x00\xD8"
                                 "a\0b",
                                 7))
                  .text,
              "\uFFFDa\uFFFD");
}

TEST(PageDecoding, DeclaredSetsAreRead)
{
    EXPECT_EQ(decode("<meta charset=\"windows-1251\">\xEC\xE8\xF0").text, "<meta charset=\"windows-1251\">мир");
    EXPECT_TRUE(decode("<meta charset=utf-8>\xE2\x82\xAC", "windows-1251").text.ends_with("€"));
    // Latin-1 as browsers read it, with the windows-1252 characters in 80..9F.
    EXPECT_TRUE(decode("<meta charset=iso-8859-1>\x80\xE9", "UTF-8").text.ends_with("€é"));
    EXPECT_TRUE(decode("<meta charset=gb2312>\xD6\xD0\xCE\xC4").text.ends_with("中文"));
}

TEST(PageDecoding, UnknownDeclarationsFallBackWithAWarning)
{
    const Decoded d = decode("<meta charset=3Dwindows-1252>caf\xE9");
    EXPECT_TRUE(d.text.ends_with("café"));
    ASSERT_EQ(d.warnings.size(), 2u);
    EXPECT_NE(d.warnings[0].find("3dwindows-1252"), std::string::npos);
    EXPECT_NE(d.warnings[1].find("windows-1252"), std::string::npos);
    // A later declaration that is known is used.
    const Decoded next = decode("<meta charset=nonsense><meta charset=windows-1251>\xEC");
    EXPECT_TRUE(next.text.ends_with("м"));
    EXPECT_EQ(next.warnings.size(), 1u);
}

TEST(PageDecoding, DeclarationsThatTheBytesContradictGiveWay)
{
    // Says UTF-8, is windows-1256: read in the code page.
    const Decoded notUtf8 = decode("<meta charset=utf-8>\xC7\xE1\xDA\xD1\xC8\xED\xC9", "windows-1256");
    EXPECT_TRUE(notUtf8.text.ends_with("العربية"));
    EXPECT_FALSE(notUtf8.warnings.empty());
    // Says gb2312, is UTF-8: read as UTF-8.
    const Decoded utf8 = decode("<meta charset=gb2312>\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_TRUE(utf8.text.ends_with("中文"));
    ASSERT_EQ(utf8.warnings.size(), 1u);
    EXPECT_NE(utf8.warnings[0].find("UTF-8"), std::string::npos);
    // Plain ASCII contradicts nothing.
    const Decoded ascii = decode("<meta charset=gb2312>plain");
    EXPECT_TRUE(ascii.warnings.empty());
}

}  // namespace
}  // namespace leafmill::extract
