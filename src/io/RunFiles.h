#pragma once

#include "io/FileIdentity.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace leafmill {

class BookFolder;

// The files one output run must keep apart: its sources, which no page may
// ever replace, the files of the book folder that Leafmill did not write,
// and the pages it has written, which no later page of the run may replace
// either. Pages are written into the book folder's staging folder and take
// their place in the book folder at the end.
class RunFiles {
public:
    RunFiles(const std::vector<std::string>& sources, const BookFolder& book, std::string stagingFolder,
             std::string bookFolder);

    // Where the page written at `page` (in the staging folder) goes in the end.
    std::string placeOf(const std::string& page) const;
    // Why the page may not be written, with its place named: its place holds
    // a source of the run or a file Leafmill did not write. Empty when it may.
    std::string refusal(const std::string& page) const;

    void wrote(const std::string& page);
    // True when the run already wrote a page to the file at that path.
    bool written(const std::string& page) const;

    // `<folder><stem>.txt`, or `<stem> (2)` and up when this run already wrote a
    // page of that name (two sources of one name in different folders).
    std::string freeStem(const std::string& folder, const std::string& stem) const;

private:
    const std::string* sourceAt(const std::string& path) const;
    // Why nothing may take the place of the file at `place`: it is a source.
    std::string sourceRefusal(const std::string& place) const;

    std::vector<std::pair<FileIdentity, std::string>> sources_;
    std::vector<FileIdentity> pages_;
    std::set<std::string> pageNames_;
    const BookFolder& book_;
    std::string staging_;
    std::string folder_;
};

}  // namespace leafmill
