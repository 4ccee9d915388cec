#include "extract/html/PageDecoding.h"
#include "extract/html/CharsetDeclarations.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill::extract {
namespace {

struct Declared {
    std::string markup;
    std::vector<std::string> charsets;
};

class CharsetDeclarations : public ::testing::TestWithParam<Declared> { };

TEST_P(CharsetDeclarations, AreReadFromMetaTagsInTheWindow)
{
    EXPECT_EQ(declaredCharsets(GetParam().markup), GetParam().charsets) << GetParam().markup;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, CharsetDeclarations,
    ::testing::Values(
        Declared {"<html><head><META CHARSET=\"UTF-8\"><meta charset='koi8-r'/>", {"utf-8", "koi8-r"}},
        Declared {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\">", {"windows-1251"}},
        Declared {"<meta content='text/html;charset = iso-8859-6' http-equiv='content-type'>", {"iso-8859-6"}},
        Declared {"<meta charset=utf-8/><meta charset=koi8-r,x>", {"utf-8", "koi8-r"}},
        Declared {"<script charset=\"utf-8\"></script><metadata charset=x>", {}},
        Declared {"<meta name=\"description\" content=\"charset\"><meta itemprop=\"charset\" content=\"x\">", {}},
        Declared {std::string(kCharsetDeclarationWindow, ' ') + "<meta charset=utf-8>", {}},
        // A tag that starts inside the window is read to its end.
        Declared {std::string(kCharsetDeclarationWindow - 10, ' ') + "<meta charset=utf-8>", {"utf-8"}}));

struct Decoding {
    std::string bytes;
    const char* fallback;  // the program's code page
    std::string textEnd;  // how the text ends
    std::size_t warnings;
    const char* warned = "";  // part of the first warning
};

class PageDecoding : public ::testing::TestWithParam<Decoding> { };

TEST_P(PageDecoding, ReadsThePageInItsSet)
{
    const Decoding& c = GetParam();
    const auto page = CodePage::open(c.fallback);
    ASSERT_TRUE(page);
    std::vector<std::string> warnings;
    const std::string text = decodePage(c.bytes, *page, warnings);
    EXPECT_TRUE(text.ends_with(c.textEnd)) << text;
    ASSERT_EQ(warnings.size(), c.warnings) << (warnings.empty() ? "" : warnings[0]);
    if (c.warnings > 0) {
        EXPECT_NE(warnings[0].find(c.warned), std::string::npos) << warnings[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageDecoding,
    ::testing::Values(
        // Undeclared: in the code page, unless UTF-8 beyond ASCII, which no legacy page reads as text.
        Decoding {"caf\xE9 \x80", "windows-1252", "café €", 0},
        Decoding {"\xEF\xF0\xE8\xE2\xE5\xF2", "windows-1251", "привет", 0},
        Decoding {"caf\xC3\xA9 \xE2\x80\x94", "windows-1251", "café —", 0},
        Decoding {std::string(1100, ' ') + "<meta charset=windows-1251>\xE9", "windows-1252", "é", 0},
        // Byte-order marks decide; a lone surrogate and half a code unit are replaced.
        Decoding {"\xEF\xBB\xBF"
                  "caf\xC3\xA9",
                  "windows-1252", "café", 0},
        Decoding {std::string("\xFF\xFE"
                              "a\0\xE9\0\x3D\xD8\x00\xDE",
                              10),
                  "windows-1252", "aé😀", 0},
        Decoding {std::string("\xFE\xFF\0a\x4E\x2D", 6), "windows-1252", "a中", 0},
        Decoding {std::string("\xFF\xFE\x00\xD8"
                              "a\0b",
                              7),
                  "windows-1252", "\uFFFDa\uFFFD", 0},
        // Declared sets; Latin-1 as browsers read it, with windows-1252 in 80..9F.
        Decoding {"<meta charset=\"windows-1251\">\xEC\xE8\xF0", "windows-1252", "<meta charset=\"windows-1251\">мир",
                  0},
        Decoding {"<meta charset=utf-8>\xE2\x82\xAC", "windows-1251", ">€", 0},
        Decoding {"<meta charset=iso-8859-1>\x80\xE9", "UTF-8", ">€é", 0},
        Decoding {"<meta charset=gb2312>\xD6\xD0\xCE\xC4", "windows-1252", ">中文", 0},
        // Unknown ones fall back with a warning; a later known one is used.
        Decoding {"<meta charset=3Dwindows-1252>caf\xE9", "windows-1252", ">café", 2, "3dwindows-1252"},
        Decoding {"<meta charset=nonsense><meta charset=windows-1251>\xEC", "windows-1252", ">м", 1, "nonsense"},
        // Declarations that the bytes contradict give way; plain ASCII contradicts nothing.
        Decoding {"<meta charset=utf-8>\xC7\xE1\xDA\xD1\xC8\xED\xC9", "windows-1256", ">العربية", 2, "not UTF-8"},
        Decoding {"<meta charset=gb2312>\xE4\xB8\xAD\xE6\x96\x87", "windows-1252", ">中文", 1, "UTF-8"},
        Decoding {"<meta charset=gb2312>plain", "windows-1252", ">plain", 0}));

}  // namespace
}  // namespace leafmill::extract
