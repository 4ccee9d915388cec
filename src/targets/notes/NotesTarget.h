#pragma once

#include "app/Settings.h"
#include "convert/OutputTarget.h"
#include "targets/notes/NotesBook.h"

#include <memory>

namespace leafmill {

class CodePage;

// Books for the iPod's Notes reader: pages in the encoding it reads, with
// titles, links, contents and volumes as [NotesReader] asks.
class NotesTarget : public OutputTarget {
public:
    NotesTarget(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                std::shared_ptr<const LanguageTable> language);

    bool layOut(const std::string& bookName, PageLayout* layout, Refusal* refusal) override;
    bool finish(const CutPages& pages, FinishedBook* made, std::string* error) override;
    int64_t notesToLoad(const std::string& outputFolder, int64_t bookNotes) const override;
    std::vector<MessageSection> endSections(const LanguageTable& language, const RunResult& result) const override;

private:
    Settings settings_;
    std::shared_ptr<const CodePage> codePage_;
    std::shared_ptr<const LanguageTable> language_;
    NotesLayout layout_;
};

}  // namespace leafmill
