#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include "NotesReaderModel.h"
#include "PageFolder.h"
#include "RecordingListener.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

using test::pagesIn;
using test::TempDir;

// Books made for the Notes reader, from real files in a temporary folder.
class NotesBookTest : public ::testing::Test {
protected:
    NotesBookTest()
    {
        auto table = std::make_shared<LanguageTable>();
        std::string error;
        EXPECT_TRUE(table->LoadLanguageTable(test::assetsDir() / "language", "English", *codePage, &error)) << error;
        language = table;
        settings.CutTypeNum = 0;
        settings.CutTypeTable = {{200, 40}};
        settings.CutWord = {"\r\n", " "};
        settings.CutWordNum = 1;
        settings.NotesReader.present = true;
        settings.NotesReader.PageEncoding = "Latin-1";
        std::filesystem::create_directory(dir / "out");
    }

    std::string source(const std::string& name, std::string_view bytes)
    {
        test::writeFile(dir / name, bytes);
        return (dir / name).string();
    }

    RunResult run(const std::vector<std::string>& sources)
    {
        OutputRun outputRun(settings, codePage, language);
        test::RecordingListener listener;
        return outputRun.run("Book", sources, (dir / "out").string(), listener);
    }

    std::vector<test::PageFile> pages() const { return pagesIn(dir / "out" / "Book", "Book"); }

    std::string joined() const
    {
        std::string all;
        for (const auto& page : pages())
            all += page.bytes;
        return all;
    }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
};

std::string latin1(const std::string& utf8)
{
    return CodePage::open("ISO-8859-1")->fromUtf8(utf8);
}

TEST_F(NotesBookTest, EverySourceIsWrittenInThePageEncodingAndTheReplacementsAreCounted)
{
    const RunResult result = run({source("a.txt", "It\x92s plain \xfc.\r\n"),
                                  source("b.html", "<html><meta charset=utf-8><p>Überall – ☃</p></html>"),
                                  source("c.txt", "\xef\xbb\xbfGrüße\r\n")});
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    EXPECT_NE(joined().find(latin1("Grüße")), std::string::npos) << "a marked UTF-8 text is read as UTF-8";
    EXPECT_NE(joined().find(latin1("It's plain ü.")), std::string::npos);
    EXPECT_NE(joined().find(latin1("Überall - ?")), std::string::npos);
    EXPECT_EQ(result.sources[0].replaced.count, 1u);
    EXPECT_EQ(result.sources[1].replaced.count, 2u);
    EXPECT_EQ(result.sources[1].replaced.first, "–☃");
    EXPECT_NE(result.message.find("b.html: 2 characters are not in the page encoding"), std::string::npos)
        << result.message;

    settings.NotesReader.PageEncoding = "UTF-8";
    const RunResult utf8 = run({(dir / "b.html").string()});
    EXPECT_EQ(utf8.sources[0].replaced.count, 0u);
    EXPECT_NE(joined().find("Überall – ☃"), std::string::npos);
    EXPECT_FALSE(joined().starts_with("\xEF\xBB\xBF")) << "bare UTF-8, no byte order mark";
    EXPECT_EQ(utf8.message.find("characters are not"), std::string::npos);
}

TEST_F(NotesBookTest, TextThatLooksLikeATagIsEscapedAndNeverCutInside)
{
    settings.CutTypeTable = {{23, 0}};
    settings.CutWord = {"t"};
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "<a<b & c&lt; 1 < 2 ";
    run({source("e.txt", text + "\r\n")});
    for (const auto& page : pages()) {
        EXPECT_LE(page.bytes.size(), 25u);
        const std::string body = page.bytes.substr(0, page.bytes.size() - 2);
        for (std::size_t at = body.find('<'); at != std::string::npos; at = body.find('<', at + 1))
            EXPECT_EQ(body.substr(at, 2), "< ") << page.name;
        const std::size_t amp = body.rfind("&l");
        if (amp != std::string::npos) {
            EXPECT_NE(body.find(';', amp), std::string::npos) << "an entity cut in two: " << page.name;
        }
    }
    std::string all;
    for (const auto& page : pages())
        all += page.bytes.substr(0, page.bytes.size() - 2);
    EXPECT_EQ(all.substr(0, 39), "&lt;a&lt;b & c&amp;lt; 1 < 2 &lt;a&lt;b");
    // A '<' that ends a line or the text could run on into the markup after it.
    EXPECT_EQ(escapeMarkup("a <\r\nb <\nc <"), "a &lt;\r\nb &lt;\nc &lt;");
}

std::string longText(int paragraphs)
{
    std::string text;
    for (int i = 0; i < paragraphs; ++i)
        text += "Paragraph " + std::to_string(i)
            + " says <b>bold</b> things & \xc3\xa9l\xc3\xa8ve words, over and over again.\r\n";
    return text;
}

std::vector<std::string> namesOf(const std::vector<test::PageFile>& pages)
{
    std::vector<std::string> names;
    for (const auto& page : pages)
        names.push_back(page.name);
    return names;
}

TEST_F(NotesBookTest, LinkedAndTitledPagesPassTheReaderModelWithinThePageSize)
{
    settings.NotesReader.Links = true;
    settings.NotesReader.Titles = true;
    settings.CutTypeTable = {{300, 60}};
    std::string text = longText(60);
    for (const auto& [tag, escaped] : {std::pair {"<b>", "&lt;b&gt;"}, {"</b>", "&lt;/b&gt;"}})
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at))
            text.replace(at, std::string_view(tag).size(), escaped);
    const RunResult result = run({source("a.html", "<meta charset=utf-8><pre>" + text + "</pre>")});
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    const auto written = pages();
    ASSERT_GT(written.size(), 10u);
    EXPECT_EQ(test::checkBook(dir / "out" / "Book", namesOf(written), "ISO-8859-1"), std::vector<std::string> {});
    std::string shown;
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_LE(written[i].bytes.size(), 300u) << written[i].name;
        const test::ReaderNote note = test::readNote(written[i].bytes, "ISO-8859-1");
        const std::string width = std::to_string(written.size()).size() == 2 && i < 9 ? "0" : "";
        EXPECT_EQ(note.title, "a - " + width + std::to_string(i + 1) + "/" + std::to_string(written.size()));
        shown += note.text;
    }
    // The text reads as written, tags and all, once the link texts are set aside.
    EXPECT_NE(shown.find("Paragraph 7 says <b>bold</b> things & \xc3\xa9l\xc3\xa8ve words"), std::string::npos);
}

TEST_F(NotesBookTest, ContentsLinksLandWhereTheChaptersStart)
{
    settings.NotesReader.Contents = true;
    settings.NotesReader.Titles = true;
    settings.NotesReader.Links = true;
    settings.CutTypeTable = {{400, 60}};
    std::string text = "Foreword words.\r\n";
    for (int chapter = 1; chapter <= 4; ++chapter)
        text += "Chapter " + std::to_string(chapter) + "\r\n" + longText(6);
    for (bool chapterPages : {false, true}) {
        settings.NotesReader.ChapterPages = chapterPages;
        const RunResult result
            = run({source("novel.txt", text), source("second.html", "<h1>Second</h1>" + longText(3))});
        ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
        const auto written = pages();
        const auto contents = test::readNote(test::readFile(dir / "out" / "Book" / "00 Contents.txt"), "ISO-8859-1");
        EXPECT_EQ(contents.title, "Contents");
        std::vector<std::string> titles;
        for (const auto& link : contents.links) {
            titles.push_back(link.text);
            const auto note = test::readNote(test::readFile(dir / "out" / "Book" / link.href), "ISO-8859-1");
            std::string target = note.text;
            if (target.rfind("Previous", 0) == 0)
                target.erase(0, 8);
            // A chapter named after its file starts with the file's text.
            const std::string heading = link.text == "novel" ? "Foreword" : link.text;
            const std::size_t at = target.find(heading);
            ASSERT_NE(at, std::string::npos) << link.href << " lacks " << heading;
            if (chapterPages) {
                EXPECT_EQ(target.find_first_not_of("\r\n"), at) << link.href;
                EXPECT_TRUE(note.title.starts_with(link.text + " - ")) << note.title;
            }
        }
        EXPECT_EQ(titles,
                  (std::vector<std::string> {"novel", "Chapter 1", "Chapter 2", "Chapter 3", "Chapter 4", "Second"}));
        EXPECT_EQ(test::checkBook(dir / "out" / "Book", namesOf(written), "ISO-8859-1"), std::vector<std::string> {});
    }
}

}  // namespace
}  // namespace leafmill
