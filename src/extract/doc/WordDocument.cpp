#include "extract/doc/WordDocument.h"

#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocFormatError.h"

namespace leafmill::extract::doc {

namespace {

std::string unreadableFormat(const Fib& fib)
{
    return "this document was written in a format of Word other than Word 6 to Word 2003 (format "
        + std::to_string(fib.nFib) + "); only Word 6 to Word 2003 documents can be read";
}

}  // namespace

WordDocument::WordDocument(const CompoundFile& file)
{
    std::optional<std::string> main = file.stream("WordDocument");
    if (!main)
        throw DocFormatError("the compound file holds no WordDocument stream, so it is not a Word document");
    main_ = std::move(*main);
    fib_ = Fib::parse(main_);
    if (fib_.wIdent != Fib::kWordIdent && fib_.wIdent != Fib::kWord6Ident)
        throw DocFormatError("the WordDocument stream does not start with a Word file information block");
    if (!fib_.word6 && (fib_.wIdent != Fib::kWordIdent || fib_.nFib < Fib::kWord97))
        throw DocFormatError(unreadableFormat(fib_));
    if (fib_.encrypted)
        throw DocFormatError("the document is password-protected");
    if (fib_.word6)
        return;  // the tables lie in the WordDocument stream itself

    const char* tableName = fib_.tableIsOneTable ? "1Table" : "0Table";
    std::optional<std::string> table = file.stream(tableName);
    if (!table)
        throw DocFormatError(std::string("the document's table stream ") + tableName + " is missing");
    table_ = std::move(*table);
}

}  // namespace leafmill::extract::doc
