#include "NotesReaderModel.h"

#include "TestSupport.h"
#include "convert/ReaderLimits.h"
#include "convert/ReaderView.h"
#include "text/CodePage.h"

#include <cctype>
#include <map>

namespace leafmill::test {

namespace {

// The book's own markup must be well formed: the reader complains about a
// closing tag without its opening one, a link without HREF, nested links and
// tags left open.
std::vector<std::string> markupErrors(std::string_view text)
{
    std::vector<std::string> errors;
    bool inTitle = false;
    bool inLink = false;
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        const std::size_t close = text.find('>', at);
        if (close == std::string_view::npos)
            break;
        std::string tag(text.substr(at + 1, close - at - 1));
        for (char& c : tag)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string name = tag.substr(0, tag.find(' '));
        if (name == "TITLE") {
            inTitle = true;
        } else if (name == "/TITLE") {
            if (!inTitle)
                errors.push_back("</TITLE> without <TITLE>");
            inTitle = false;
        } else if (name == "A") {
            if (inLink || tag.find("HREF=\"") == std::string::npos)
                errors.push_back("a badly formed link: <" + tag + ">");
            inLink = true;
        } else if (name == "/A") {
            if (!inLink)
                errors.push_back("</A> without <A>");
            inLink = false;
        }
    }
    if (inTitle || inLink)
        errors.push_back("a tag left open");
    return errors;
}

}  // namespace

// The screen's text, title and links are the program's own reader model's
// (the preview shows notes through it); this adds what a book must also be.
ReaderNote readNote(std::string_view bytes, std::string_view readerEncoding)
{
    const auto encoding = CodePage::open(std::string(readerEncoding));
    const leafmill::ReaderNote shown = readReaderNote(bytes, *encoding);
    ReaderNote note;
    note.truncated = bytes.size() > kReaderNoteBytes;
    note.title = shown.title;
    for (const NoteLink& link : shown.links)
        note.links.push_back({link.href, "", link.nopush});
    for (const NoteRun& run : shown.runs) {
        note.text += run.text;
        if (run.link >= 0)
            note.links[static_cast<std::size_t>(run.link)].text += run.text;
    }
    note.errors = markupErrors(encoding->toUtf8(bytes.substr(0, kReaderNoteBytes)));
    return note;
}

std::vector<std::string> checkBook(const std::filesystem::path& folder, const std::vector<std::string>& pageNames,
                                   std::string_view readerEncoding)
{
    std::vector<std::string> problems;
    std::map<std::string, ReaderNote> notes;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        ReaderNote note = readNote(readFile(entry.path()), readerEncoding);
        if (note.truncated)
            problems.push_back(name + " is longer than the reader reads");
        for (const std::string& error : note.errors)
            problems.push_back(name + ": " + error);
        notes.emplace(name, std::move(note));
    }
    for (const auto& [name, note] : notes)
        for (const ReaderLink& link : note.links)
            if (!notes.count(link.href))
                problems.push_back(name + " links to " + link.href + ", which does not exist");

    auto follow = [&](const std::string& from, const std::string& label) -> std::string {
        for (const ReaderLink& link : notes[from].links)
            if (link.text == label && link.nopush)
                return link.href;
        return "";
    };
    for (std::size_t i = 0; i < pageNames.size(); ++i) {
        const std::string next = i + 1 < pageNames.size() ? pageNames[i + 1] : "";
        const std::string previous = i > 0 ? pageNames[i - 1] : "";
        if (follow(pageNames[i], "Next") != next)
            problems.push_back(pageNames[i] + ": Next does not lead to " + (next.empty() ? "nothing" : next));
        if (follow(pageNames[i], "Previous") != previous)
            problems.push_back(pageNames[i] + ": Previous does not lead to "
                               + (previous.empty() ? "nothing" : previous));
    }
    return problems;
}

}  // namespace leafmill::test
