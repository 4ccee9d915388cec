#pragma once

namespace leafmill {

// Why a source gave no pages (or fewer than it should).
enum class SourceFailure {
    None,
    UnsupportedKind,  // neither its ending nor its content is in the dispatch table
    Missing,  // no readable file at the path
    ExtractorFailed,  // the document could not be converted; `reason` says why
    WriteFailed,  // a page could not be written; pages before it stay
    TooLarge,  // reading it went past the memory or time it may take; `reason` is the limit
    Changed,  // the file changed while it was read
    ReaderStopped,  // its reader ended unexpectedly; `reason` says how
    NoText,  // it was read but holds no text
};

}  // namespace leafmill
