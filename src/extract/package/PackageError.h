#pragma once

#include <stdexcept>
#include <string>

namespace leafmill::extract::package {

// A package (zip or XML document) a reader cannot go on with; what() is the
// reason shown to the user. Thrown inside the readers only, turned into a
// failed Result at their edge.
class PackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace leafmill::extract::package
