// Automatic note numbers: the document's formats and starts, footnotes and
// endnotes counted apart, restarts at section breaks, custom marks.
#include "RtfRead.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::rtfText;

struct NotesCase {
    const char* name;
    const char* settings;  // document words before the text
    const char* text;
};

class RtfNoteNumbers : public ::testing::TestWithParam<NotesCase> { };

TEST_P(RtfNoteNumbers, AreWrittenAtTheReferenceAndBeforeTheNote)
{
    const std::string rtf = std::string("{\\rtf1 ") + GetParam().settings
        + "A{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} one}"
          " B{\\super\\chftn}{\\footnote\\ftnalt\\pard{\\super\\chftn} end}"
          " C{\\super *{\\*\\footnote\\pard{\\super *} custom}}"
          "\\sect D{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} two}"
          " E{\\super\\chftn}{\\footnote\\ftnalt\\pard {\\super\\chftn}}.\\par}";
    EXPECT_EQ(rtfText(rtf), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RtfNoteNumbers,
    ::testing::Values(
        NotesCase {"WordsDefaults", "", "A1 Bi C*\r\nD2 Eii.\r\n1  one\r\ni  end\r\n* custom\r\n2  two\r\nii \r\n\r\n"},
        NotesCase {"FormatsAndStarts", "\\ftnnalc\\ftnstart3\\aftnnruc\\aftnstart4 ",
                   "Ac BIV C*\r\nDd EV.\r\nc  one\r\nIV  end\r\n* custom\r\nd  two\r\nV \r\n\r\n"},
        NotesCase {"SymbolsAndArabic", "\\ftnnchi\\aftnnar ",
                   "A* B1 C*\r\nD\u2020 E2.\r\n*  one\r\n1  end\r\n* custom\r\n\u2020  two\r\n2 \r\n\r\n"},
        NotesCase {"RestartAtSections", "\\ftnrestart\\saftnnrlc\\aftnrestart ",
                   "A1 Bi C*\r\nD1 Ei.\r\n1  one\r\ni  end\r\n* custom\r\n1  two\r\ni \r\n\r\n"},
        NotesCase {"ContinuousAgain", "\\ftnrestart\\ftnrstcont ",
                   "A1 Bi C*\r\nD2 Eii.\r\n1  one\r\ni  end\r\n* custom\r\n2  two\r\nii \r\n\r\n"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(RtfNoteNumbers, AMarkNoNoteFollowsCountsAsAFootnote)
{
    EXPECT_EQ(rtfText("{\\rtf1 \\aftnnar A{\\super\\chftn} B{\\super\\chftn}{\\footnote\\ftnalt\\pard x}}"),
              "A1 B1\r\nx\r\n\r\n");
}

TEST(RtfFixtures, NotesOfLibreOfficeDocumentsReadAsTheReferenceSays)
{
    for (const char* name : {"notes.rtf", "boxes.rtf"})
        EXPECT_EQ(rtfText(test::readFile(test::documentsDir() / name)),
                  test::readFile(test::documentsDir() / "sources" / (std::string(name) + ".txt")))
            << name;
}

}  // namespace
}  // namespace leafmill::extract
