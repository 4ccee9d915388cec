#include "convert/PageWriter.h"

#include "io/FileAccess.h"
#include "io/RunFiles.h"

#include <filesystem>
#include <system_error>

namespace leafmill {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

PageWriter::PageWriter(RunState& state, std::function<void(int)> progress)
    : state_(state)
    , progress_(std::move(progress))
{
}

void PageWriter::guard(RunFiles* files, const std::atomic<bool>* stopNow)
{
    files_ = files;
    stopNow_ = stopNow;
    stopped_ = false;
}

bool PageWriter::stopAsked(std::string* error)
{
    stopped_ = stopped_ || (stopNow_ && stopNow_->load());
    if (stopped_)
        *error = "the output was stopped";
    return stopped_;
}

bool PageWriter::WritePage(std::string_view text, std::string* error)
{
    // One write per page: page files are small and many.
    scratch_.assign(text);
    scratch_.append(kLineEnd);
    if (!beginPage(error) || !appendToPage(scratch_, error))
        return false;
    if (!file_.close(error))
        return discarded(error);
    countPage();
    return true;
}

bool PageWriter::beginPage(std::string* error)
{
    pageName_ = state_.nextPageFileName();
    if (stopAsked(error))
        return false;
    // The page's place in the book folder must be free for it at the end.
    if (files_) {
        if (std::string refused = files_->refusal(pageName_); !refused.empty()) {
            *error = std::move(refused);
            return false;
        }
    }
    return file_.open(pathFromUtf8(pageName_), OutputFile::Mode::Fresh, error) || named(error);
}

bool PageWriter::appendToPage(std::string_view text, std::string* error)
{
    if (!stopAsked(error) && file_.write(text, error))
        return true;
    std::string ignored;
    file_.close(&ignored);
    return discarded(error);
}

bool PageWriter::finishPage(std::string* error)
{
    if (!appendToPage(kLineEnd, error))
        return false;
    if (!file_.close(error))
        return discarded(error);
    countPage();
    return true;
}

bool PageWriter::named(std::string* error) const
{
    *error = (files_ ? files_->placeOf(pageName_) : pageName_) + ": " + *error;
    return false;
}

bool PageWriter::discarded(std::string* error) const
{
    // A page cut short (a full disk, a size limit) would read as a whole one.
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(pageName_), ignored);
    return named(error);
}

void PageWriter::countPage()
{
    // Numbered pages cannot meet one another; only whole files are named
    // after their sources and may.
    if (files_ && state_.wholeFileMode)
        files_->wrote(pageName_);
    ++state_.PageCount;
    if (progress_)
        progress_(state_.progressValue());
}

}  // namespace leafmill
