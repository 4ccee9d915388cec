#include "extract/doc/WordDocument.h"

#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocFormatError.h"

namespace leafmill::extract::doc {

namespace {

// The file information block's counted arrays end within this many bytes.
constexpr std::uint64_t kLongestFib = std::uint64_t {1} << 20;

std::string unreadableFormat(const Fib& fib)
{
    return "this document was written in a format of Word other than Word 6 to Word 2003 (format "
        + std::to_string(fib.nFib) + "); only Word 6 to Word 2003 documents can be read";
}

}  // namespace

WordDocument::WordDocument(const CompoundFile& file)
{
    std::uint64_t unread = 0;
    std::optional<StreamView> main = file.streamView("WordDocument", &unread);
    if (!main)
        throw DocFormatError("the compound file holds no WordDocument stream, so it is not a Word document");
    main_ = std::move(*main);
    damaged_ = unread > 0;
    try {
        std::string scratch;
        fib_ = Fib::parse(main_.read(0, kLongestFib, scratch));
    } catch (const DocFormatError&) {
        if (damaged_)
            throw DocFormatError("the document is damaged: its stream breaks off inside the file information block");
        throw;
    }
    if (fib_.wIdent != Fib::kWordIdent && fib_.wIdent != Fib::kWord6Ident)
        throw DocFormatError("the WordDocument stream does not start with a Word file information block");
    if (!fib_.word6 && (fib_.wIdent != Fib::kWordIdent || fib_.nFib < Fib::kWord97))
        throw DocFormatError(unreadableFormat(fib_));
    if (fib_.encrypted)
        throw DocFormatError("the document is password-protected");
    if (fib_.word6) {
        table_ = main_.whole(gatheredTable_);  // the tables lie in the WordDocument stream itself
        return;
    }
    const char* tableName = fib_.tableIsOneTable ? "1Table" : "0Table";
    std::optional<StreamView> table = file.streamView(tableName);
    if (!table)
        throw DocFormatError(std::string("the document's table stream ") + tableName + " is missing");
    table_ = table->whole(gatheredTable_);
}

}  // namespace leafmill::extract::doc
