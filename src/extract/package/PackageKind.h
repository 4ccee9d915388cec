#pragma once

#include <string_view>

namespace leafmill::extract::package {

enum class PackageKind {
    None,  // neither a package nor a flat document we read
    Epub,  // an EPUB book (a zip)
    Word,  // a Word 2007+ document (a zip)
    OpenText,  // an OpenDocument text (a zip)
    FlatOpenText,  // an OpenDocument text in one XML file (.fodt)
};

// What the bytes are by their content: the zip's mimetype part or, without
// one, the parts a kind must have; for XML, the flat document's root.
PackageKind packageKind(std::string_view bytes);

// Throws PackageError naming what the bytes are when they are a package of
// another kind we know than `expected` (called `expectedName`, "a Word
// document"), so that a file saved under the wrong ending says so.
void requireKind(std::string_view bytes, PackageKind expected, std::string_view expectedName);

}  // namespace leafmill::extract::package
