#pragma once

#include <cstddef>
#include <functional>

namespace leafmill::test {

enum class ChildOutcome { ReturnedTrue, ReturnedFalse, Crashed, Unsupported };

// Runs `body` in a child process that may not write files larger than
// `limitBytes`, the way a full disk stops a write half-way.
ChildOutcome runWithFileSizeLimit(std::size_t limitBytes, const std::function<bool()>& body);

}  // namespace leafmill::test
