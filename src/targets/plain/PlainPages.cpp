#include "targets/plain/PlainPages.h"

#include "convert/EndMessage.h"

namespace leafmill {

PlainPages::PlainPages(const Settings& settings)
    : pageSize_(settings.wholeFileMode() ? 0 : settings.pageSize())
{
}

bool PlainPages::layOut(const std::string& bookName, PageLayout* layout, Refusal* /*refusal*/)
{
    *layout = PageLayout();
    layout->stem = bookName;
    layout->pageSize = pageSize_;
    return true;
}

bool PlainPages::finish(const CutPages& pages, FinishedBook* made, std::string* /*error*/)
{
    *made = FinishedBook();
    made->notes = pages.isWholeFiles ? pages.wholeFiles.size() : pages.count;
    return true;
}

int64_t PlainPages::notesToLoad(const std::string& /*outputFolder*/, int64_t bookNotes) const
{
    return bookNotes;
}

std::vector<MessageSection> PlainPages::endSections(const LanguageTable& /*language*/,
                                                    const RunResult& /*result*/) const
{
    return {};
}

}  // namespace leafmill
