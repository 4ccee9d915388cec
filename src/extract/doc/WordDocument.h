#pragma once

#include "extract/doc/Fib.h"
#include "extract/doc/StreamView.h"

#include <string>
#include <string_view>

namespace leafmill::extract::doc {

class CompoundFile;

// The Word 6-2003 streams of a compound file: WordDocument with its file
// information block and the table stream that block names (WordDocument
// itself for Word 6 and Word 95). Refuses, with a reason, files that are not
// Word documents, are of another Word format or are password-protected. A
// WordDocument stream whose chain breaks is read up to the break, so that the
// text before it can still be given.
class WordDocument {
public:
    explicit WordDocument(const CompoundFile& file);
    WordDocument(const WordDocument&) = delete;  // the table may point into its own copy
    WordDocument& operator=(const WordDocument&) = delete;

    const Fib& fib() const { return fib_; }
    const StreamView& mainStream() const { return main_; }
    std::string_view tableStream() const { return table_; }

    // Whether the WordDocument stream's sector chain broke: mainStream() then
    // holds only the sectors before the break.
    bool damaged() const { return damaged_; }

private:
    Fib fib_;
    StreamView main_;
    std::string_view table_;
    std::string gatheredTable_;
    bool damaged_ = false;
};

}  // namespace leafmill::extract::doc
