#include "targets/notes/NotesMessages.h"

#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/ReaderLimits.h"

#include <algorithm>

namespace leafmill {

int64_t notesRoom(const RunResult& result)
{
    return std::max<int64_t>(0, kReaderNoteLimit - (result.notesToLoad - result.notes));
}

bool notesOverLimit(const RunResult& result)
{
    return result.notesToLoad > kReaderNoteLimit;
}

std::vector<MessageSection> notesSections(const LanguageTable& language, const RunResult& result)
{
    std::vector<MessageSection> sections;
    if (!result.cutNotes.empty()) {
        MessageSection cut {language.text(StringId::CutNotesHeading), {}};
        for (const CutNote& note : result.cutNotes)
            cut.lines.push_back(
                replaceAll(replaceAll(replaceAll(language.text(StringId::CutNoteLine), "@Note", note.name), "@Size",
                                      std::to_string(note.size)),
                           "@Hidden", std::to_string(note.size - static_cast<std::uintmax_t>(kReaderNoteBytes))));
        sections.push_back(std::move(cut));
    }
    if (notesOverLimit(result))
        sections.push_back(
            {"",
             {replaceAll(replaceAll(language.text(StringId::NotesOverLimit), "@Notes", std::to_string(result.notes)),
                         "@Limit", std::to_string(notesRoom(result)))}});
    return sections;
}

}  // namespace leafmill
