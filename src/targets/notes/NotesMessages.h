#pragma once

#include "convert/EndMessage.h"
#include "convert/OutputRun.h"

#include <cstdint>
#include <vector>

namespace leafmill {

class LanguageTable;

// The notes of the book the reader loads beside the others of its Notes folder.
int64_t notesRoom(const RunResult& result);

// True when the reader does not load every note of the book.
bool notesOverLimit(const RunResult& result);

// What the end of a run tells about the Notes reader: the notes it cuts
// short, with the bytes it does not show, and the notes it does not load.
std::vector<MessageSection> notesSections(const LanguageTable& language, const RunResult& result);

}  // namespace leafmill
