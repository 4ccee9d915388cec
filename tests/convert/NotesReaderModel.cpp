#include "NotesReaderModel.h"

#include "TestSupport.h"
#include "text/CodePage.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace leafmill::test {

namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string decodeEntities(std::string_view text)
{
    static const std::map<std::string, std::string> kEntities = { { "&lt;", "<" }, { "&gt;", ">" },
        { "&amp;", "&" }, { "&quot;", "\"" } };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool matched = false;
        if (text[i] == '&')
            for (const auto& [entity, shown] : kEntities)
                if (text.substr(i, entity.size()) == entity) {
                    out += shown;
                    i += entity.size() - 1;
                    matched = true;
                    break;
                }
        if (!matched)
            out.push_back(text[i]);
    }
    return out;
}

bool isKnownTag(const std::string& name)
{
    static const std::vector<std::string> kTags = { "A", "/A", "TITLE", "/TITLE", "BR", "P", "/P", "INSTRUCTIONS" };
    return std::find(kTags.begin(), kTags.end(), name) != kTags.end();
}

} // namespace

ReaderNote readNote(std::string_view bytes, std::string_view readerEncoding)
{
    ReaderNote note;
    note.truncated = bytes.size() > kNoteLimit;
    bytes = bytes.substr(0, kNoteLimit);
    const std::string text = CodePage::open(std::string(readerEncoding))->toUtf8(bytes);

    std::string shown;
    std::string* into = &shown;
    std::string title;
    bool inTitle = false;
    bool inLink = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", i);
            i = end == std::string::npos ? text.size() : end + 2;
            continue;
        }
        const std::size_t close = text[i] == '<' ? text.find('>', i) : std::string::npos;
        const std::string inside = close == std::string::npos ? "" : text.substr(i + 1, close - i - 1);
        const std::string name = upper(inside.substr(0, inside.find(' ')));
        if (text[i] != '<' || close == std::string::npos || !isKnownTag(name)) {
            into->push_back(text[i]);
            continue;
        }
        i = close;
        if (name == "TITLE") {
            inTitle = true;
            into = &title;
        } else if (name == "/TITLE") {
            if (!inTitle)
                note.errors.push_back("</TITLE> without <TITLE>");
            inTitle = false;
            into = &shown;
        } else if (name == "A") {
            const std::string attributes = upper(inside);
            const std::size_t href = attributes.find("HREF=\"");
            if (inLink || href == std::string::npos) {
                note.errors.push_back("a badly formed link: <" + inside + ">");
                continue;
            }
            const std::size_t end = inside.find('"', href + 6);
            note.links.push_back({ inside.substr(href + 6, end - href - 6), "",
                attributes.find(" NOPUSH") != std::string::npos });
            inLink = true;
        } else if (name == "/A") {
            if (!inLink)
                note.errors.push_back("</A> without <A>");
            inLink = false;
        } else if (name == "BR" || name == "P" || name == "/P") {
            into->push_back('\n');
        }
    }
    if (inTitle || inLink)
        note.errors.push_back("a tag left open");
    // The link texts are the shown text between <A> and </A>; enough for the
    // book's own links, which never nest.
    std::size_t from = 0;
    for (ReaderLink& link : note.links) {
        const std::size_t start = text.find("<A HREF=\"" + link.href + "\"", from);
        const std::size_t open = text.find('>', start);
        const std::size_t end = text.find("</A>", open);
        if (start == std::string::npos || end == std::string::npos)
            break;
        link.text = decodeEntities(text.substr(open + 1, end - open - 1));
        from = end;
    }
    note.title = decodeEntities(title);
    note.text = decodeEntities(shown);
    return note;
}

std::vector<std::string> checkBook(
    const std::filesystem::path& folder, const std::vector<std::string>& pageNames, std::string_view readerEncoding)
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
            problems.push_back(
                pageNames[i] + ": Previous does not lead to " + (previous.empty() ? "nothing" : previous));
    }
    return problems;
}

} // namespace leafmill::test
