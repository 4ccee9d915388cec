#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "convert/ReaderLimits.h"
#include "convert/ReaderView.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include "PageFolder.h"
#include "RecordingListener.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace leafmill {
namespace {

using test::TempDir;

// A Latin-1 note as the Notes reader shows it, through the program's own reader model.
struct ShownLink {
    std::string href, text;
    bool nopush = false;
};

struct ShownNote {
    std::string title, text;  // UTF-8
    std::vector<ShownLink> links;
};

ShownNote readNote(std::string_view bytes)
{
    const ReaderNote shown = readReaderNote(bytes, *CodePage::open("ISO-8859-1"));
    ShownNote note {shown.title, "", {}};
    for (const NoteLink& link : shown.links)
        note.links.push_back({link.href, "", link.nopush});
    for (const NoteRun& run : shown.runs) {
        note.text += run.text;
        if (run.link >= 0)
            note.links[static_cast<std::size_t>(run.link)].text += run.text;
    }
    return note;
}

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

    std::filesystem::path book() const { return dir / "out" / "Book"; }
    std::vector<test::PageFile> pages() const { return test::pagesIn(book(), "Book"); }
    ShownNote note(const std::string& name) const { return readNote(test::readFile(book() / name)); }

    // The pages' texts without their closing CR LF.
    std::string joined() const
    {
        std::string all;
        for (const auto& page : pages())
            all += page.bytes.substr(0, page.bytes.size() - 2);
        return all;
    }

    // What the reader finds wrong with the book: notes longer than it reads,
    // links to missing notes, Next and Previous not walking the pages in order.
    std::vector<std::string> problems() const
    {
        std::vector<std::string> found;
        std::map<std::string, ShownNote> notes;
        for (const auto& entry : std::filesystem::directory_iterator(book())) {
            const std::string name = entry.path().filename().string();
            if (std::filesystem::file_size(entry.path()) > kReaderNoteBytes)
                found.push_back(name + " is longer than the reader reads");
            notes.emplace(name, note(name));
        }
        for (const auto& [name, shown] : notes)
            for (const ShownLink& link : shown.links)
                if (!notes.count(link.href))
                    found.push_back(name + " links to " + link.href + ", which does not exist");
        auto follow = [&](const std::string& from, const std::string& label) {
            for (const ShownLink& link : notes[from].links)
                if (link.text == label && link.nopush)
                    return link.href;
            return std::string();
        };
        const auto written = pages();
        for (std::size_t i = 0; i < written.size(); ++i) {
            const std::string next = i + 1 < written.size() ? written[i + 1].name : "";
            const std::string previous = i > 0 ? written[i - 1].name : "";
            if (follow(written[i].name, "Next") != next || follow(written[i].name, "Previous") != previous)
                found.push_back(written[i].name + ": Next or Previous does not lead to the page beside it");
        }
        return found;
    }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
};

TEST_F(NotesBookTest, EverySourceIsWrittenInThePageEncodingAndTheReplacementsAreCounted)
{
    const RunResult result = run({source("a.txt", "It\x92s plain \xfc.\r\n"),
                                  source("b.html", "<html><meta charset=utf-8><p>Überall – ☃</p></html>"),
                                  source("c.txt", "\xef\xbb\xbfGrüße\r\n")});
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    const auto latin1 = [](const char* utf8) { return CodePage::open("ISO-8859-1")->fromUtf8(utf8); };
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
        EXPECT_TRUE(amp == std::string::npos || body.find(';', amp) != std::string::npos)
            << "an entity cut in two: " << page.name;
    }
    EXPECT_EQ(joined().substr(0, 39), "&lt;a&lt;b & c&amp;lt; 1 < 2 &lt;a&lt;b");
    // A '<' that ends a line or the text could run on into the markup after it.
    EXPECT_EQ(escapeMarkup("a <\r\nb <\nc <"), "a &lt;\r\nb &lt;\nc &lt;");
}

std::string longText(int paragraphs, const std::string& bold = "<b>bold</b>")
{
    std::string text;
    for (int i = 0; i < paragraphs; ++i)
        text += "Paragraph " + std::to_string(i) + " says " + bold
            + " things & \xc3\xa9l\xc3\xa8ve words, over and over again.\r\n";
    return text;
}

TEST_F(NotesBookTest, LinkedAndTitledPagesPassTheReaderModelWithinThePageSize)
{
    settings.NotesReader.Links = true;
    settings.NotesReader.Titles = true;
    settings.CutTypeTable = {{300, 60}};
    const std::string text = longText(60, "&lt;b&gt;bold&lt;/b&gt;");
    const RunResult result = run({source("a.html", "<meta charset=utf-8><pre>" + text + "</pre>")});
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    const auto written = pages();
    ASSERT_GT(written.size(), 10u);
    EXPECT_EQ(problems(), std::vector<std::string> {});
    std::string onScreen;
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_LE(written[i].bytes.size(), 300u) << written[i].name;
        const ShownNote shown = readNote(written[i].bytes);
        const std::string width = std::to_string(written.size()).size() == 2 && i < 9 ? "0" : "";
        EXPECT_EQ(shown.title, "a - " + width + std::to_string(i + 1) + "/" + std::to_string(written.size()));
        onScreen += shown.text;
    }
    // The text reads as written, tags and all, once the link texts are set aside.
    EXPECT_NE(onScreen.find("Paragraph 7 says <b>bold</b> things & \xc3\xa9l\xc3\xa8ve words"), std::string::npos);
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
        std::filesystem::remove_all(book());
        // A source with no text between them has no chapter.
        const RunResult result = run({source("novel.txt", text), source("empty.html", ""),
                                      source("second.html", "<h1>Second</h1>" + longText(3))});
        ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
        const ShownNote contents = note("00 Contents.txt");
        EXPECT_EQ(contents.title, "Contents");
        std::vector<std::string> titles;
        for (const auto& link : contents.links) {
            titles.push_back(link.text);
            const ShownNote chapter = note(link.href);
            std::string target = chapter.text;
            if (target.rfind("Previous", 0) == 0)
                target.erase(0, 8);
            // A chapter named after its file starts with the file's text.
            const std::string heading = link.text == "novel" ? "Foreword" : link.text;
            const std::size_t at = target.find(heading);
            ASSERT_NE(at, std::string::npos) << link.href << " lacks " << heading;
            if (chapterPages) {
                EXPECT_EQ(target.find_first_not_of("\r\n"), at) << link.href;
                EXPECT_TRUE(chapter.title.starts_with(link.text + " - ")) << chapter.title;
            }
        }
        EXPECT_EQ(titles,
                  (std::vector<std::string> {"novel", "Chapter 1", "Chapter 2", "Chapter 3", "Chapter 4", "Second"}));
        EXPECT_EQ(problems(), std::vector<std::string> {});
    }
    // A later book with fewer contents notes leaves none of the earlier ones behind.
    settings.NotesReader.Titles = settings.NotesReader.Links = false;
    settings.CutTypeTable = {{120, 30}};
    run({(dir / "novel.txt").string()});
    ASSERT_TRUE(std::filesystem::exists(book() / "00 Contents 3.txt"));
    settings.CutTypeTable = {{4000, 400}};
    EXPECT_TRUE(run({(dir / "novel.txt").string()}).finished());
    EXPECT_FALSE(std::filesystem::exists(book() / "00 Contents 2.txt"));
}

}  // namespace
}  // namespace leafmill
