#include "NotesReaderModel.h"

#include "TestSupport.h"
#include "convert/ReaderLimits.h"
#include "convert/ReaderView.h"
#include "text/CodePage.h"

#include <map>

namespace leafmill::test {

ReaderNote readNote(std::string_view bytes, std::string_view readerEncoding)
{
    const auto encoding = CodePage::open(std::string(readerEncoding));
    const leafmill::ReaderNote shown = readReaderNote(bytes, *encoding);
    ReaderNote note;
    note.title = shown.title;
    for (const NoteLink& link : shown.links)
        note.links.push_back({link.href, "", link.nopush});
    for (const NoteRun& run : shown.runs) {
        note.text += run.text;
        if (run.link >= 0)
            note.links[static_cast<std::size_t>(run.link)].text += run.text;
    }
    return note;
}

std::vector<std::string> checkBook(const std::filesystem::path& folder, const std::vector<std::string>& pageNames,
                                   std::string_view readerEncoding)
{
    std::vector<std::string> problems;
    std::map<std::string, ReaderNote> notes;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string bytes = readFile(entry.path());
        if (bytes.size() > kReaderNoteBytes)
            problems.push_back(name + " is longer than the reader reads");
        notes.emplace(name, readNote(bytes, readerEncoding));
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
