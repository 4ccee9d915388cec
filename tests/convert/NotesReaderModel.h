#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::test {

// A note as the iPod's Notes reader takes it (the program's own reader model),
// with what a book's notes must also be: not cut short, well-formed markup.
struct ReaderLink {
    std::string href;
    std::string text;
    bool nopush = false;
};

struct ReaderNote {
    std::string title;  // UTF-8; empty when the note names none
    std::string text;  // what the screen shows, UTF-8
    std::vector<ReaderLink> links;
    bool truncated = false;  // the file is longer than the reader reads
    std::vector<std::string> errors;  // tags the reader would report as badly formed
};

ReaderNote readNote(std::string_view bytes, std::string_view readerEncoding);

// What a reader finds wrong with a whole book folder: notes cut short, bad
// tags, links to notes that do not exist, the Next chain from the first page
// not visiting every page once in order, Previous not leading back.
std::vector<std::string> checkBook(const std::filesystem::path& folder, const std::vector<std::string>& pageNames,
                                   std::string_view readerEncoding);

}  // namespace leafmill::test
