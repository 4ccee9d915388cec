#include "lang/LanguageTable.h"

#include "app/classIniFile.h"
#include "io/FileAccess.h"
#include "lang/BorrowedCodePage.h"
#include "lang/StringId.h"
#include "text/CodePage.h"

#include <array>
#include <charconv>
#include <system_error>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

// The key of a string number: five digits with leading zeros.
constexpr int kHighestKey = 99999;

// Built-in English for the newer strings, used where an older or
// third-party language file lacks them.
struct BuiltIn {
    int number;
    const char* text;
};

constexpr BuiltIn kBuiltInEnglish[] = {
    {33, "These sources gave no pages:"},
    {34, "not a kind of document Leafmill reads"},
    {35, "the file is missing or cannot be read"},
    {36, "it could not be converted: @Reason"},
    {37, "a page could not be written: @Reason"},
    {38, "The book folder @Folder could not be created: @Reason"},
    {39, "The settings could not be saved to @File: @Reason"},
    {40, "The language file @Chosen could not be loaded; @Used is used instead."},
    {41, "The book @BookName has no pages: no source gave any text."},
    {42, "stopped after @Pages page(s): @Reason"},
    {43, "These sources stopped before their end:"},
    {44, "@Count old pages of an earlier run were removed from the book folder."},
    {45, "@Source was written as @Page, as another source has the same name."},
    {46, "The readers warned about these sources:"},
    {50, "A book name of blanks only is no name. Please type a name for the book."},
    {51, "A book name cannot be only dots: the book would not get a folder of its own."},
    {52, "A book name cannot end in a blank or a dot, as a folder name cannot on Windows."},
    {55,
     "@Count characters are not in the page encoding and were written as their nearest equivalents or as ? "
     "(first: @First)."},
    {56, "Previous"},
    {57, "Next"},
    {58, "Contents"},
    {59, "The book will take about @Notes notes, but the Notes reader loads only @Limit. Make the book anyway?"},
    {60,
     "A page size of @Size bytes is above the 4,096 bytes the Notes reader shows: pages over 4,096 bytes are "
     "cut short by the reader."},
    {61, "Pages for the iPod's Notes reader"},
    {62, "Page &encoding:"},
    {63, "The code page"},
    {64, "Previous and Next lin&ks on every page"},
    {65, "Page &titles in the iPod's menu"},
    {66, "A &contents note linking to the chapters"},
    {67, "Each c&hapter starts on a new page"},
    {68, "Join the hard-&wrapped lines of text files"},
    {69, "&Preview"},
    {70, "iPod Notes folder at @Folder (@Free free)"},
    {71, "it is too large or too complex to read: it needed more than @Limit"},
    {72, "it changed while it was read; run again once it is complete"},
    {73, "its reader stopped unexpectedly (@Reason)"},
    {74, "it holds no text"},
    {75, "The book @BookName was not replaced: not every source gave its pages, so the earlier book stays as it was."},
    {76, "The output was stopped. The earlier book @BookName stays as it was; the new pages were not kept."},
    {77, "The output was stopped. The @Pages page(s) written so far are in the book folder."},
    {78, "The book @BookName was made, but not every source gave its pages."},
    {79, "The book @BookName is being written by another run of Leafmill. Try again once that run has ended."},
    {80, "The book @BookName could not be put in place: @Reason"},
    {90, "read as @Encoding"},
    {91, "The page encoding @Encoding keeps them."},
    {92, "&Source encoding:"},
    {93, "Found from each text"},
    {110, "Notes per &volume (0: one book):"},
    {111,
     "The book will take about @Notes notes, but the Notes reader loads only @Limit. Part it into volumes of at most "
     "@Volume notes each, to copy to the iPod one at a time?"},
    {112,
     "The book has @Notes notes, but the Notes reader loads only @Limit: the notes after those do not load, and links "
     "to them are dead."},
    {113, "Make the book again in volumes of at most @Volume notes each?"},
    {114, "The book will take about @Notes notes, but the Notes reader loads only @Limit."},
    {115, "The Notes reader shows only the first 4,096 bytes of a note and cuts these short:"},
    {116, "@Note: @Hidden of its @Size bytes do not show"},
    {117,
     "Every source becomes one note, and the Notes reader shows only the first 4,096 bytes of each: the rest of a "
     "longer source does not show."},
    {118, "Continued in @Volume."},
    {119, "Check"},
    {120, "The Notes reader finds nothing wrong in @Folder."},
    {121, "What the Notes reader finds in @Folder:"},
    {122, "@Note: @Size bytes; the reader shows the first 4,096 and cuts the rest, from \"@Cut\" on."},
    {123,
     "The Notes folder holds @Notes notes; the reader loads the first @Limit, folder by folder in name order: "
     "@Unloaded notes, from @First on, do not load."},
    {124, "@Note: the link to \"@Target\" leads to no note the reader loads."},
    {125, "@Note: the tag \"@Tag\" is badly formed."},
    {126, "@Note: @Count bytes are no characters of @Encoding, the first at byte @Offset."},
    {127, "@Note stands before @Other in the menu but comes after it in reading order."},
    {128,
     "A book name this long makes page names longer than the 255 characters a file name may have on the iPod. Please "
     "shorten it."},
    {129, "@Note could not be read: @Reason"},
    {150, "&Language:"},
    {151, "Select the si&ze of each page:"},
    {152, "@Size bytes"},
    {153, "Whole files, not cut"},
    {154, "Whole book"},
    {155, "This document"},
    {156, "@Time left"},
    {157, "The book @BookName is already in @Folder (@Pages pages). Replace it with the new one?"},
    {158, "Ver: @Version"},
    {200, "&iPod"},
    {201, "iPod"},
    {202, "i&Pod:"},
    {203, "Notes in use: @Notes of @Limit    Free: @Free"},
    {204, "No iPod is connected. Connect one with disk use enabled; it shows here once it is mounted."},
    {205, "@Book (@Notes notes)"},
    {206, "made by Leafmill"},
    {207, "&Send"},
    {208, "&Remove"},
    {209, "&Next volume"},
    {210, "&Eject"},
    {211, "Choose the finished book to send to the iPod"},
    {212, "Choose the book in volumes whose next volume goes to the iPod"},
    {213, "@Book is on the iPod now (@Count pages)."},
    {214, "@Book was not sent: with it the Notes reader would leave @Count notes unloaded, as it loads only @Limit."},
    {215, "@Book on the iPod was not made by Leafmill, or holds files it did not write; it is left as it is."},
    {216, "@Folder holds no book made by Leafmill."},
    {217, "@Book was not sent: the iPod needs @Size more free space."},
    {218, "@Book is not in volumes: it goes to the iPod whole."},
    {219, "@Book, the last volume, is on the iPod already."},
    {220, "The iPod was not changed: @Reason"},
    {221, "Remove @Book from the iPod? Only the files Leafmill wrote into it go."},
    {222, "@Book was removed from the iPod (@Count files)."},
    {223, "The folder @Book stays on the iPod: it holds files Leafmill did not write."},
    {224, "The iPod can be unplugged now."},
    {225, "The iPod could not be ejected: @Reason"},
    {226, "Leafmill cannot eject this iPod: use the system's own Eject before unplugging it."},
    {227, "Choose a book in the list first."},
    {240, "The cut type @Row is not in the settings' table."},
    {241, "The page encoding @Encoding cannot be used: @Reason"},
    {242, "The page size @Size leaves no room for the text beside @Reserve bytes of links and titles."},
    {258, "These chosen files are no longer there and were not added:"},
    {259, "These chosen paths are not files to read and were not added:"},
};

const std::string* builtInEnglish(int index)
{
    static const auto texts = [] {
        std::vector<std::pair<int, std::string>> all;
        for (const BuiltIn& entry : kBuiltInEnglish)
            all.emplace_back(entry.number, entry.text);
        return all;
    }();
    for (const auto& [number, text] : texts)
        if (number == index)
            return &text;
    return nullptr;
}

std::string stringKey(int index)
{
    const std::string padded = "0000" + std::to_string(index);
    return padded.substr(padded.size() - 5);
}

std::string withLineBreaks(std::string text)
{
    for (std::size_t at = text.find("@n"); at != std::string::npos; at = text.find("@n", at + 2))
        text.replace(at, 2, "\r\n");
    return text;
}

}  // namespace

bool LanguageTable::LoadLanguageTable(const fs::path& languageFolder, const std::string& baseName,
                                      const CodePage& codePage, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    const fs::path file = languageFolder / pathFromUtf8(baseName + ".ini");
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return fail("The language file " + pathToUtf8(file) + " is missing.");

    classIniFile ini(borrowed(codePage));
    ini.INIFileName(file);
    const std::string count = ini.GetIniKey("Info", "MaxLngNum");
    int32_t highest = -1;
    const char* end = count.data() + count.size();
    auto [stop, status] = std::from_chars(count.data(), end, highest);
    if (count.empty() || status != std::errc() || stop != end || highest < 0 || highest > kHighestKey)
        return fail("The language file " + pathToUtf8(file) + " has no usable [Info] MaxLngNum (\"" + count
                    + "\"; a number from 0 to " + std::to_string(kHighestKey) + " is needed).");

    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(highest) + 1);
    for (int i = 0; i <= highest; ++i)
        entries.push_back(withLineBreaks(ini.GetIniKey("Strings", stringKey(i))));

    SoftName = ini.GetIniKey("Info", "SoftName");
    HomePage = ini.GetIniKey("Info", "HomePage");
    Locale = ini.GetIniKey("Info", "Locale");
    SoftVersion = LEAFMILL_VERSION_TEXT;
    MaxLngNum = highest;
    entries_ = std::move(entries);
    return true;
}

bool LanguageTable::isProgramString(int index)
{
    const bool original = index >= 1 && index < StringId::FirstAdded && index != 30;
    return original || builtInEnglish(index) != nullptr;
}

const std::string& LanguageTable::text(int index) const
{
    static const std::string empty;
    const bool inTable = index >= 0 && static_cast<std::size_t>(index) < entries_.size();
    if (inTable && !entries_[static_cast<std::size_t>(index)].empty())
        return entries_[static_cast<std::size_t>(index)];
    if (const std::string* english = builtInEnglish(index))
        return *english;
    return inTable ? entries_[static_cast<std::size_t>(index)] : empty;
}

}  // namespace leafmill
