#include "extract/package/PartPieces.h"

#include "extract/package/PackageError.h"
#include "extract/package/ZipPackage.h"

#include <memory>

namespace leafmill::extract::package {

XmlBlocks rootedPieces(XmlBlocks::Source source, const std::string& part, XmlBlocks::Roles roles, References references)
{
    XmlBlocks pieces(std::move(source), part, std::move(roles), references);
    if (!pieces.next())
        throw PackageError("the package's part " + part + " is no XML (no document element found)");
    return pieces;
}

std::optional<XmlBlocks> partPieces(ZipPackage& zip, const std::string& part, XmlBlocks::Roles roles,
                                    References references)
{
    std::shared_ptr<ZipPackage::Stream> stream = zip.stream(part);
    if (!stream)
        return std::nullopt;
    return rootedPieces([stream](char* buffer, std::size_t size) { return stream->read(buffer, size); }, part,
                        std::move(roles), references);
}

}  // namespace leafmill::extract::package
