#pragma once

#include "extract/package/XmlBlocks.h"

#include <optional>
#include <string>

namespace leafmill::extract::package {

class ZipPackage;

// An XML part read piece by piece (XmlBlocks with `roles`), its root's start
// already taken. Throws PackageError when the part holds no element.
XmlBlocks rootedPieces(XmlBlocks::Source source, const std::string& part, XmlBlocks::Roles roles,
                       References references = References::Xml);

// The same for a part of `zip` inflated as it is read; nothing when the
// package has no part of that name.
std::optional<XmlBlocks> partPieces(ZipPackage& zip, const std::string& part, XmlBlocks::Roles roles,
                                    References references = References::Xml);

}  // namespace leafmill::extract::package
