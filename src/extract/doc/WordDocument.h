#pragma once

#include "extract/doc/Fib.h"

#include <string>
#include <string_view>

namespace leafmill::extract::doc {

class CompoundFile;

// The Word 6-2003 streams of a compound file: WordDocument with its file
// information block and the table stream that block names (WordDocument
// itself for Word 6 and Word 95). Refuses, with a reason, files that are not
// Word documents, are of another Word format or are password-protected.
class WordDocument {
public:
    explicit WordDocument(const CompoundFile& file);

    const Fib& fib() const { return fib_; }
    std::string_view mainStream() const { return main_; }
    std::string_view tableStream() const { return fib_.word6 ? main_ : table_; }

private:
    Fib fib_;
    std::string main_;
    std::string table_;
};

}  // namespace leafmill::extract::doc
