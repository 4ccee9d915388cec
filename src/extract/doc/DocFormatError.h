#pragma once

#include <stdexcept>
#include <string>

namespace leafmill::extract::doc {

// A document the reader cannot go on with; what() is the reason shown to the
// user. Thrown inside the reader only, turned into a failed Result at its edge.
class DocFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace leafmill::extract::doc
