#include "lang/LanguageTable.h"

#include "app/classIniFile.h"
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

// English for the strings added after the original set, used where a
// language file made for the original program lacks them.
constexpr std::array<const char*, StringId::Highest - StringId::FirstAdded + 1> kBuiltInEnglish = {
    "These sources gave no pages:",
    "not a kind of document Leafmill reads",
    "the file is missing or cannot be read",
    "it could not be converted: @Reason",
    "a page could not be written: @Reason",
    "The book folder @Folder could not be created: @Reason",
    "The settings could not be saved to @File: @Reason",
    "The language file @Chosen could not be loaded; @Used is used instead.",
    "The book @BookName has no pages: no source gave any text.",
    "stopped after @Pages page(s): @Reason",
    "These sources stopped before their end:",
    "@Count old pages of an earlier run were removed from the book folder.",
    "@Source was written as @Page, as another source has the same name.",
    "The readers warned about these sources:",
};

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
        return fail("The language file " + pathToUtf8(file) + " has no usable [Info] MaxLngNum (\"" + count +
                    "\"; a number from 0 to " + std::to_string(kHighestKey) + " is needed).");

    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(highest) + 1);
    for (int i = 0; i <= highest; ++i)
        entries.push_back(withLineBreaks(ini.GetIniKey("Strings", stringKey(i))));

    SoftName = ini.GetIniKey("Info", "SoftName");
    HomePage = ini.GetIniKey("Info", "HomePage");
    SoftVersion = LEAFMILL_VERSION_TEXT;
    MaxLngNum = highest;
    entries_ = std::move(entries);
    return true;
}

const std::string& LanguageTable::text(int index) const
{
    static const std::string empty;
    static const auto builtIn = [] {
        std::array<std::string, kBuiltInEnglish.size()> texts;
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = kBuiltInEnglish[i];
        return texts;
    }();
    const bool inTable = index >= 0 && static_cast<std::size_t>(index) < entries_.size();
    if (inTable && !entries_[static_cast<std::size_t>(index)].empty())
        return entries_[static_cast<std::size_t>(index)];
    if (index >= StringId::FirstAdded && index <= StringId::Highest)
        return builtIn[static_cast<std::size_t>(index - StringId::FirstAdded)];
    return inTable ? entries_[static_cast<std::size_t>(index)] : empty;
}

}  // namespace leafmill
