#pragma once

#include "convert/FileIdentity.h"

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace leafmill {

// The files one output run must keep apart: its sources, which no page may
// ever replace, and the pages it has written, which no later page of the run
// may replace either.
class RunFiles {
public:
    explicit RunFiles(const std::vector<std::string>& sources);

    // The source the page would overwrite, or null when it is none of them.
    const std::string* sourceAt(const std::string& page) const;

    void wrote(const std::string& page);
    // True when the run already wrote a page to the file at that path.
    bool written(const std::string& page) const;

    // `<folder><stem>.txt`, or `<stem> (2)` and up when this run already wrote a
    // page of that name (two sources of one name in different folders).
    std::string freeStem(const std::string& folder, const std::string& stem) const;

    // Removes the regular files `<stem><digits>.txt` in the folder that this
    // run did not write and that are no source of it; never follows a link.
    // Gives how many went.
    int removeOldPages(const std::string& folder, const std::string& stem) const;

private:
    std::vector<std::pair<FileIdentity, std::string>> sources_;
    std::vector<FileIdentity> pages_;
    std::set<std::string> pageNames_;
};

}  // namespace leafmill
