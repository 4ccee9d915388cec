#pragma once

#include "extract/Extractor.h"
#include "extract/package/PackageError.h"

#include <new>

namespace leafmill::extract::package {

// Runs a package reader's body and turns what it throws into a refusal with
// a reason.
template <typename Body> Result readGuarded(Body&& body)
{
    try {
        return body();
    } catch (const PackageError& error) {
        return Result::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Result::failure("there is not enough memory to read the document");
    }
}

}  // namespace leafmill::extract::package
