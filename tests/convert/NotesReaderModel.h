#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::test {

// A note as the Notes reader shows it, through the program's own reader model.
struct ReaderLink {
    std::string href;
    std::string text;
    bool nopush = false;
};

struct ReaderNote {
    std::string title;  // UTF-8; empty when the note names none
    std::string text;  // what the screen shows, UTF-8
    std::vector<ReaderLink> links;
};

ReaderNote readNote(std::string_view bytes, std::string_view readerEncoding);

// What a reader finds wrong with a book folder: notes longer than it reads,
// links to missing notes, Next and Previous not walking the pages in order.
std::vector<std::string> checkBook(const std::filesystem::path& folder, const std::vector<std::string>& pageNames,
                                   std::string_view readerEncoding);

}  // namespace leafmill::test
