#include "targets/notes/NotesTarget.h"

#include "convert/EndMessage.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/NotesMessages.h"
#include "targets/notes/PageMarkup.h"
#include "targets/notes/ReaderLimits.h"

namespace leafmill {

NotesTarget::NotesTarget(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                         std::shared_ptr<const LanguageTable> language)
    : settings_(settings)
    , codePage_(std::move(codePage))
    , language_(std::move(language))
{
}

bool NotesTarget::layOut(const std::string& bookName, PageLayout* layout, Refusal* refusal)
{
    if (!planNotesBook(settings_, *codePage_, *language_, bookName, &layout_, refusal))
        return false;
    const NotesReaderSettings& notes = settings_.NotesReader;
    *layout = PageLayout();
    layout->encoder = layout_.encoder;
    layout->escape = escapeMarkup;
    // A bare '<' never ends a page, where the markup follows it.
    layout->unsplit = {"&lt;", "&amp;", "< "};
    layout->chapterPages = notes.ChapterPages;
    layout->joinLines = notes.JoinLines;
    layout->stem = layout_.stem;
    layout->pageSize = layout_.pageSize;
    return true;
}

bool NotesTarget::finish(const CutPages& pages, FinishedBook* made, std::string* error)
{
    const LanguageTable& language = *language_;
    const auto continuedIn = [&language](const std::string& volume) {
        return replaceAll(language.text(StringId::VolumeContinues), "@Volume", volume);
    };
    return finishNotesBook(layout_, pages, continuedIn, made, error);
}

int64_t NotesTarget::notesToLoad(const std::string& outputFolder, int64_t bookNotes) const
{
    return leafmill::notesToLoad(outputFolder, bookNotes);
}

std::vector<MessageSection> NotesTarget::endSections(const LanguageTable& language, const RunResult& result) const
{
    return notesSections(language, result);
}

}  // namespace leafmill
