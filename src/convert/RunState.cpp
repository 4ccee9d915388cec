#include "convert/RunState.h"

#include <algorithm>

namespace leafmill {

std::string RunState::pageFileName(int32_t page) const
{
    std::string name = OutPutDir + BookName;
    if (!wholeFileMode) {
        const std::string number = std::to_string(page);
        const std::size_t width = static_cast<std::size_t>(std::max(PageNumDigits, 0));
        if (number.size() < width)
            name += PageNumPad.substr(0, std::min(PageNumPad.size(), width - number.size()));
        name += number;
    }
    return name + ".txt";
}

int RunState::progressValue() const
{
    // Fewer bytes than one page estimate 0 pages: the run is then as good as done.
    if (PageEstimate <= 0)
        return 99;
    const int64_t value = static_cast<int64_t>(PageCount) * 100 / PageEstimate;
    return static_cast<int>(std::clamp<int64_t>(value, 0, 99));
}

}  // namespace leafmill
