#pragma once

#include "app/Settings.h"
#include "convert/OutputTarget.h"

namespace leafmill {

// Plain pages: the text in the code page, cut to the settings' page size,
// with nothing added before or after it.
class PlainPages : public OutputTarget {
public:
    explicit PlainPages(const Settings& settings);

    bool layOut(const std::string& bookName, PageLayout* layout, Refusal* refusal) override;
    bool finish(const CutPages& pages, FinishedBook* made, std::string* error) override;
    int64_t notesToLoad(const std::string& outputFolder, int64_t bookNotes) const override;
    std::vector<MessageSection> endSections(const LanguageTable& language, const RunResult& result) const override;

private:
    int32_t pageSize_ = 0;
};

}  // namespace leafmill
