#include "targets/ChosenTarget.h"

#include "targets/notes/NotesTarget.h"
#include "targets/plain/PlainPages.h"

namespace leafmill {

std::unique_ptr<OutputTarget> chosenTarget(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                                           std::shared_ptr<const LanguageTable> language)
{
    if (settings.NotesReader.present)
        return std::make_unique<NotesTarget>(settings, std::move(codePage), std::move(language));
    return std::make_unique<PlainPages>(settings);
}

}  // namespace leafmill
