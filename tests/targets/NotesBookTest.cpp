#include "convert/OutputRun.h"
#include "convert/PageText.h"
#include "io/OutputFile.h"
#include "lang/LanguageTable.h"
#include "targets/notes/NotesCheck.h"
#include "targets/notes/PageMarkup.h"
#include "targets/notes/ReaderLimits.h"
#include "targets/notes/ReaderView.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include "FolderEntries.h"
#include "PageFolder.h"
#include "RecordingListener.h"
#include "StrictTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

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
    const ReaderNote shown = readReaderNote(bytes, *PageEncoder::open("Latin-1", nullptr));
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

    test::WordedResult run(const std::vector<std::string>& sources, const std::string& name = "Book",
                           const std::string& folder = "out")
    {
        test::RecordingListener listener;
        return test::runWorded(settings, codePage, language, defaultDispatchTable(), [&](OutputRun& outputRun) {
            return outputRun.run(name, sources, (dir / folder).string(), listener);
        });
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

    // What the reader finds wrong with a book: notes longer than it reads,
    // links to missing notes, Next and Previous not walking the pages in order.
    std::vector<std::string> problems(const std::filesystem::path& folder, const std::string& stem = "Book") const
    {
        std::vector<std::string> found;
        std::map<std::string, ShownNote> notes;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file())
                continue;
            const std::string name = entry.path().filename().string();
            if (std::filesystem::file_size(entry.path()) > kReaderNoteBytes)
                found.push_back(name + " is longer than the reader reads");
            notes.emplace(name, readNote(test::readFile(entry.path())));
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
        const auto written = test::pagesIn(folder, stem);
        for (std::size_t i = 0; i < written.size(); ++i) {
            const std::string next = i + 1 < written.size() ? written[i + 1].name : "";
            const std::string previous = i > 0 ? written[i - 1].name : "";
            if (follow(written[i].name, "Next") != next || follow(written[i].name, "Previous") != previous)
                found.push_back(written[i].name + ": Next or Previous does not lead to the page beside it");
        }
        return found;
    }
    std::vector<std::string> problems() const { return problems(book()); }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
};

TEST_F(NotesBookTest, EverySourceIsWrittenInThePageEncodingAndTheReplacementsAreCounted)
{
    const std::string gbk = "\xd6\xd0\xce\xc4\xb5\xc4\xce\xc4\xd7\xd6\xba\xdc\xba\xc3\xbf\xb4";
    const auto result = run({source("a.txt", "It\x92s plain \xfc.\r\n"),
                             source("b.html", "<html><meta charset=utf-8><p>Überall – ☃</p></html>"),
                             source("c.txt", "\xef\xbb\xbfGrüße\r\n"), source("d.txt", gbk + "\r\n"),
                             source("e.htm", "<p>" + gbk + "</p>")});
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
    // The encodings the sources were read in, and the page encodings that keep what Latin-1 lacks.
    for (const char* said :
         {"d.txt: read as GBK", "e.htm: read as GBK", "c.txt: read as UTF-8", "(first: –☃). The page encoding UTF-8",
          "(first: 中文的文字). The page encoding GB2312 keeps them."})
        EXPECT_NE(result.message.find(said), std::string::npos) << said << " in " << result.message;
    EXPECT_EQ(result.message.find("a.txt: read as"), std::string::npos);

    settings.NotesReader.PageEncoding = "UTF-8";
    const auto utf8 = run({(dir / "b.html").string()});
    EXPECT_EQ(utf8.sources[0].replaced.count, 0u);
    EXPECT_NE(joined().find("Überall – ☃"), std::string::npos);
    EXPECT_FALSE(joined().starts_with("\xEF\xBB\xBF")) << "bare UTF-8, no byte order mark";
    EXPECT_EQ(utf8.message.find("characters are not"), std::string::npos);

    // What GB2312 lacks of a Chinese text (the dash GBK reads as U+2014) is
    // kept by MacRoman, but the text is not: only UTF-8 keeps it all.
    settings.NotesReader.PageEncoding = "GB2312";
    const auto dashes = run(
        {source("f.txt", "\xEF\xBB\xBF\xE8\xBF\x99\xE6\x98\xAF\xE2\x80\x94\xE2\x80\x94\xE4\xB8\xAD\xE6\x96\x87\r\n")});
    EXPECT_NE(dashes.message.find("The page encoding UTF-8 keeps them."), std::string::npos) << dashes.message;
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
    // Brackets the page encoding spells as '<' and '>' stay text.
    settings.CutTypeTable = {{200, 40}};
    run({source("t.txt", "\xEF\xBB\xBF\xE3\x80\x88\xE9\x98\xBF\xE3\x80\x89 \xE3\x80\x88P\xE3\x80\x89 x\r\n")});
    EXPECT_EQ(note("Book0000.txt").text, "<a> <P> x\n\n");
    EXPECT_TRUE(note("Book0000.txt").links.empty());
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
    const auto result = run({source("a.html", "<meta charset=utf-8><pre>" + text + "</pre>")});
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
        const auto result = run({source("novel.txt", text), source("empty.html", ""),
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

// A book of one file of each kind read through a library or a package of its
// own (Kindle, Palm, help book, DjVu, FictionBook, Markdown, calibre's zipped
// books) passes the reader, its contents naming the books' own chapters.
TEST_F(NotesBookTest, BooksOfEveryLibraryAndPackageKindMakeOneBook)
{
    settings.NotesReader.Links = settings.NotesReader.Titles = settings.NotesReader.Contents = true;
    settings.NotesReader.PageEncoding = "UTF-8";
    settings.CutTypeTable = {{2000, 60}};
    std::vector<std::string> sources;
    for (const char* file : {"ru.mobi", "lighthouse.mobi", "cjk.azw3", "report.pdb", "guide.chm", "cjk.djvu",
                             "russian-1251.fb2", "sources/novel.md", "novel.txtz", "cjk.htmlz"})
        sources.push_back(LEAFMILL_TEST_DATA "/../extract/fixtures/" + std::string(file));
    const auto result = run(sources);
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    EXPECT_EQ(problems(), std::vector<std::string> {});
    std::vector<std::string> titles;
    for (const auto& link : note("00 Contents.txt").links)
        titles.push_back(link.text);
    for (const char* chapter : {"Глава вторая. Письмо", "lighthouse", "第三章　秋天", "report", "Watering in Winter",
                                "概要", "Глава вторая. Дом", "What the Letter Said", "novel", "第二章　夏天"})
        EXPECT_NE(std::ranges::find(titles, chapter), titles.end()) << chapter;
}

TEST_F(NotesBookTest, ATextOfMegabytesIsCutAsOneWholeText)
{
    settings.NotesReader.Contents = true;
    settings.NotesReader.ChapterPages = true;
    settings.CutTypeTable = {{4000, 400}};
    std::string latin1;
    for (std::size_t chapter = 1; chapter <= 3; ++chapter) {
        latin1 += "Chapter " + std::to_string(chapter) + "\r\n";
        while (latin1.size() < chapter * 700000)
            latin1 += "Caf\xe9 & <b> words of the chapter.\r\n";
    }
    // UTF-16 with its mark: however the file is read in pieces, they split characters and lines.
    std::string utf16 = "\xff\xfe";
    for (const char c : latin1)
        utf16 += std::string {c, '\0'};
    const auto result = run({source("long.txt", utf16)});
    ASSERT_EQ(result.end, RunEnd::Completed) << result.message;
    std::string shown = latin1;
    for (std::size_t tag = 0; (tag = shown.find("<b>", tag)) != std::string::npos;)
        shown.replace(tag, 1, "&lt;");
    EXPECT_TRUE(joined() == shown) << "the pages hold the text as written";
    std::vector<std::string> titles;
    for (const auto& link : note("00 Contents.txt").links) {
        titles.push_back(link.text);
        EXPECT_TRUE(note(link.href).text.starts_with(link.text)) << link.href;
    }
    EXPECT_EQ(titles, (std::vector<std::string> {"Chapter 1", "Chapter 2", "Chapter 3"}));
}

// A book in UTF-8 says so on each note's first line, so an iPod set to English
// shows its script; in Latin-1 the page names are spelt as the links spell them.
TEST_F(NotesBookTest, RussianGreekAndMixedBooksReadRightOnAnIPodSetToEnglish)
{
    settings.NotesReader.Links = settings.NotesReader.Titles = settings.NotesReader.Contents = true;
    settings.CutTypeTable = {{300, 60}};
    const struct {
        const char *encoding, *book, *sentence, *stem;
    } cases[] = {
        {"UTF-8", "Книга", "Съешь же ещё этих мягких французских булок, да выпей чаю.", "Книга"},
        {"UTF-8", "Βιβλίο", "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία.", "Βιβλίο"},
        {"UTF-8", "Смесь mixed 混合", "Ёж, ἀλώπηξ, 狐狸 and the fox.", "Смесь mixed 混合"},
        {"Latin-1", "Книга", "Ёж и ель.", "Kniga"},
    };
    for (const auto& c : cases) {
        settings.NotesReader.PageEncoding = c.encoding;
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += std::string(c.sentence) + "\r\n";
        ASSERT_EQ(run({source("text.txt", "\xEF\xBB\xBF" + text)}, c.book).end, RunEnd::Completed);
        const std::filesystem::path folder = dir / "out" / c.book;
        const auto pages = test::pagesIn(folder, c.stem);
        ASSERT_GT(pages.size(), 5u) << c.book;
        EXPECT_EQ(problems(folder, c.stem), std::vector<std::string> {}) << c.book;
        // Every file of the book, the record of what Leafmill wrote too, reads right on an English iPod.
        EXPECT_EQ(checkNotes(folder, *PageEncoder::open("Latin-1", nullptr)).size(), 0u) << c.book;
        std::string shown;
        for (const auto& page : pages) {
            const ReaderNote note = readReaderNote(page.bytes, *PageEncoder::open("Latin-1", nullptr));
            EXPECT_EQ(note.encoding + " " + std::to_string(note.faults.count), std::string(c.encoding) + " 0");
            EXPECT_TRUE(note.title.starts_with("text ")) << note.title;
            for (const NoteRun& run : note.runs)
                shown += run.link < 0 ? run.text : "";
        }
        // Line ends aside, the pages show the text whole.
        std::erase(shown, '\n');
        std::erase(text, '\r');
        std::erase(text, '\n');
        EXPECT_TRUE(c.encoding != std::string("UTF-8") || shown == text) << c.book << ": " << shown.substr(0, 200);
    }
}

// Pages for an iPod set to Chinese or Japanese hold only bytes of its national
// table: the vendors' characters and the titles' dash are spelt otherwise.
TEST_F(NotesBookTest, AsianBooksHoldOnlyBytesOfTheStandardTables)
{
    settings.NotesReader.Links = settings.NotesReader.Titles = settings.NotesReader.Contents = true;
    settings.CutTypeTable = {{400, 60}};
    for (const auto& [encoding, line] :
         {std::pair {"GB2312", "镕喆堃 中文 – 书"}, {"Big5", "碁 € 中文 – 書"}, {"Shift_JIS", "①㈱ 日本語 – 本"}}) {
        settings.NotesReader.PageEncoding = encoding;
        std::string text;
        for (int i = 0; i < 30; ++i)
            text += std::string(line) + "\r\n";
        run({source(std::string(line).substr(0, 3) + ".txt", "\xEF\xBB\xBF" + text)}, encoding);
        const std::vector<std::string> notes = test::entriesOf(dir / "out" / encoding);
        EXPECT_GT(notes.size(), 3u);
        for (const std::string& name : notes)
            EXPECT_EQ(test::outsideStandardTable(test::readFile(dir / "out" / encoding / name), encoding), "") << name;
    }
}

// The menu lists notes by name: past 9,999 pages and with many contents notes
// the names still follow the reading order.
TEST_F(NotesBookTest, ABookOfTwelveThousandPagesAndItsContentsListInReadingOrder)
{
    settings.NotesReader.Contents = settings.NotesReader.Links = true;
    settings.CutTypeTable = {{140, 20}};
    std::string text;
    for (int line = 0; line < 12000; ++line)
        text += std::to_string(100000 + line) + std::string(30, ' ') + "\r\n";
    const auto result = run({source("long.txt", text)});
    ASSERT_EQ(result.pageCount, 12000) << result.message;
    std::vector<std::string> names = test::entriesOf(book());
    EXPECT_EQ(static_cast<int64_t>(names.size()), result.notes);
    ASSERT_EQ(names.front(), ".leafmill.txt");
    names.erase(names.begin());
    const auto pages
        = std::find_if(names.begin(), names.end(), [](const std::string& n) { return !n.starts_with("00 "); });
    ASSERT_GE(pages - names.begin(), 12);
    for (auto part = names.begin(); part + 1 < pages; ++part)
        EXPECT_EQ(note(*part).links.back().href, part[1]);
    for (auto page = pages; page != names.end(); ++page)
        ASSERT_EQ(*page, "Book" + std::to_string(100000 + (page - pages)).substr(1) + ".txt");
    for (int page : {999, 1000, 9999, 10000, 11999})
        EXPECT_NE(note(pages[page]).text.find("\n" + std::to_string(100000 + page)), std::string::npos) << pages[page];
}

// The run counts the notes it writes; its end tells those the reader does not
// load and the bytes it does not show. The count before the run comes from
// the documents' text.
TEST_F(NotesBookTest, TheNotesAreCountedAndWhatTheReaderLosesIsTold)
{
    settings.NotesReader.Titles = settings.NotesReader.Contents = true;
    settings.CutTypeTable = {{300, 60}};
    std::filesystem::create_directories(dir / "ipod" / "iPod_Control");
    std::filesystem::create_directories(dir / "ipod" / "Notes");
    for (int i = 0; i < 995; ++i)
        test::writeFile(dir / "ipod" / "Notes" / ("n" + std::to_string(i)), "x");
    const std::string report = LEAFMILL_TEST_DATA "/../extract/fixtures/report.docx";
    const NotesForecast forecast
        = forecastNotes(settings, *codePage, *language, {report}, (dir / "ipod" / "Notes").string(), "Book");
    const auto result = run({report}, "Book", "ipod/Notes");
    const auto notes = static_cast<int64_t>(test::entriesOf(dir / "ipod" / "Notes" / "Book").size());
    EXPECT_EQ(result.notes, notes);
    EXPECT_LE(std::abs(forecast.notes - notes), notes / 4) << forecast.notes;
    EXPECT_EQ(forecast.room, 5);
    EXPECT_NE(
        result.message.find("The book has " + std::to_string(notes) + " notes, but the Notes reader loads only 5"),
        std::string::npos)
        << result.message;

    // A whole file is one note, named as every disk allows.
    settings.CutTypeTable = {{0, 0}};
    const auto whole = run({source("a:b?.txt", std::string(5000, 'x'))});
    EXPECT_EQ(whole.notes, 2) << "the note and the record";
    EXPECT_NE(whole.message.find("a_b_.txt: 908 of its 5004 bytes do not show"), std::string::npos) << whole.message;
}

// Each volume is a book of its own within the notes it may have, and its
// last page names the volume that follows.
TEST_F(NotesBookTest, AVolumeIsABookOfItsOwnThatNamesTheNext)
{
    settings.NotesReader.Links = settings.NotesReader.Titles = settings.NotesReader.Contents = true;
    settings.NotesReader.VolumeNotes = 10;
    settings.CutTypeTable = {{300, 60}};
    const auto result = run({source("v.txt", longText(60))});
    std::vector<std::string> volumes = test::entriesOf(book());
    ASSERT_GE(volumes.size(), 4u) << result.message;
    ASSERT_EQ(volumes.front(), ".leafmill.txt");
    volumes.erase(volumes.begin());
    EXPECT_EQ(result.volumes, volumes.size());
    int64_t notes = 1;
    for (std::size_t v = 0; v < volumes.size(); ++v) {
        const std::filesystem::path folder = book() / volumes[v];
        EXPECT_EQ(volumes[v], "Book " + std::to_string(v + 1));
        const std::size_t count = test::entriesOf(folder).size();
        notes += static_cast<int64_t>(count);
        EXPECT_LE(count, 10u);
        EXPECT_EQ(problems(folder), std::vector<std::string> {});
        EXPECT_TRUE(std::filesystem::exists(folder / "00 Contents.txt"));
        const auto pages = test::pagesIn(folder, "Book");
        EXPECT_EQ(readNote(pages.front().bytes).title, "v - 1/" + std::to_string(pages.size()));
        const std::string last = readNote(pages.back().bytes).text;
        const bool named = last.ends_with("\nContinued in Book " + std::to_string(v + 2) + ".\n");
        EXPECT_EQ(named, v + 1 < volumes.size()) << last;
    }
    EXPECT_EQ(notes, result.notes);
}

#ifndef _WIN32
TEST(FrameFileTest, ANoteIsFramedWholeOrLeftAsItWas)
{
    TempDir dir;
    const std::filesystem::path note = dir.path() / "Bk0000.txt";
    const std::string body = std::string(60, 'b') + "\r\n";
    test::writeFile(note, body);
    std::string scratch = "left over";
    std::uintmax_t size = 0;
    std::string error;
    ASSERT_TRUE(frameFileInPlace(note, "<TITLE>T</TITLE>", "next\r\n", scratch, &size, &error)) << error;
    EXPECT_EQ(test::readFile(note), "<TITLE>T</TITLE>" + body + "next\r\n");
    EXPECT_EQ(size, 16 + body.size() + 6);
    // Past the file-size limit, with its signal ignored, the write fails half-way as on a full disk.
    test::writeFile(note, body);
    rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit full {100, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool framed = frameFileInPlace(note, std::string(50, 'h'), "", scratch, &size, &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(framed);
    EXPECT_EQ(test::readFile(note), body);
    EXPECT_EQ(size, body.size());
    EXPECT_FALSE(frameFileInPlace(dir.path() / "none.txt", "h", "", scratch, &size, &error));
}
#endif

}  // namespace
}  // namespace leafmill
