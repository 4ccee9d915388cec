#pragma once

#include "text/CodePage.h"

#include <memory>

namespace leafmill {

// A pointer to a code page the caller keeps alive, for an INI object that
// lives only as long as one call.
inline std::shared_ptr<const CodePage> borrowed(const CodePage& codePage)
{
    return std::shared_ptr<const CodePage>(std::shared_ptr<const CodePage>(), &codePage);
}

}  // namespace leafmill
