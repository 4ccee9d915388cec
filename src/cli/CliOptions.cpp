#include "cli/CliOptions.h"

#include "app/Settings.h"
#include "cli/StandardInput.h"
#include "extract/Formats.h"
#include "text/SourceEncoding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace leafmill::cli {

namespace {

struct ReaderFlag {
    const char* name;
    std::optional<bool> ReaderChoices::*choice;
    bool value;
};

constexpr std::array<ReaderFlag, 10> kReaderFlags {{
    {"--links", &ReaderChoices::links, true},
    {"--no-links", &ReaderChoices::links, false},
    {"--titles", &ReaderChoices::titles, true},
    {"--no-titles", &ReaderChoices::titles, false},
    {"--contents", &ReaderChoices::contents, true},
    {"--no-contents", &ReaderChoices::contents, false},
    {"--chapter-pages", &ReaderChoices::chapterPages, true},
    {"--no-chapter-pages", &ReaderChoices::chapterPages, false},
    {"--join-lines", &ReaderChoices::joinLines, true},
    {"--no-join-lines", &ReaderChoices::joinLines, false},
}};

const ReaderFlag* readerFlag(const std::string& argument)
{
    for (const ReaderFlag& flag : kReaderFlags)
        if (argument == flag.name)
            return &flag;
    return nullptr;
}

// The names --format takes: the table's endings without their dots.
std::string formatNames()
{
    std::string names;
    for (const SourceKind& kind : defaultDispatchTable())
        for (std::string_view ending : kind.endings)
            names += (names.empty() ? "" : ", ") + std::string(ending.substr(ending.starts_with('.') ? 1 : 0));
    return names;
}

std::optional<int32_t> pageSizeOf(const std::string& value)
{
    int32_t number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, status] = std::from_chars(value.data(), end, number);
    if (value.empty() || status != std::errc() || stop != end || number < 0)
        return std::nullopt;
    return number;
}

}  // namespace

bool ReaderChoices::any() const
{
    return encoding || links || titles || contents || chapterPages || joinLines;
}

void ReaderChoices::applyTo(NotesReaderSettings& notes) const
{
    if (!any())
        return;
    notes.present = true;
    notes.PageEncoding = encoding.value_or(notes.PageEncoding);
    notes.Links = links.value_or(notes.Links);
    notes.Titles = titles.value_or(notes.Titles);
    notes.Contents = contents.value_or(notes.Contents);
    notes.ChapterPages = chapterPages.value_or(notes.ChapterPages);
    notes.JoinLines = joinLines.value_or(notes.JoinLines);
}

std::string usageText()
{
    std::string formats;
    for (const SourceKind& kind : defaultDispatchTable())
        formats += std::string(kind.kindWord) + ", ";
    return "Usage:\n"
           "  leafmill-cli [--settings FILE] --book NAME --out FOLDER SOURCE...\n"
           "      Makes the book NAME in FOLDER/NAME from the sources, in their order.\n"
           "      Pages for the iPod's Notes reader: --encoding NAME (Latin-1, MacRoman, GB2312,\n"
           "      Big5, Shift_JIS, EUC-KR, UTF-8), --links, --titles, --contents, --chapter-pages,\n"
           "      --join-lines, each also as --no-...; those not given keep main.ini's.\n"
           "      --page-size ROW|BYTES: a row of main.ini's page-size table (0 to 99) or a page size\n"
           "      in bytes (100 and up), for this run.\n"
           "  leafmill-cli [--settings FILE] --text SOURCE\n"
           "      Writes the plain text of SOURCE, in the program's code page, to stdout.\n"
           "  leafmill-cli [--settings FILE] --check FOLDER [--encoding NAME]\n"
           "      Tells what the Notes reader, set to the encoding NAME (main.ini's otherwise),\n"
           "      would report or lose in the notes of FOLDER; exit status 1 when it finds anything.\n"
           "  leafmill-cli [--settings FILE] --ipods\n"
           "      Lists the connected iPods, their notes in use and free space, and their books.\n"
           "  leafmill-cli [--settings FILE] --send BOOKFOLDER | --remove BOOK | --next-volume BOOKFOLDER\n"
           "              [--to MOUNTPOINT]\n"
           "      Copies a finished book (of a book in volumes, its first) into the iPod's Notes;\n"
           "      removes the files Leafmill wrote into its book BOOK there; puts the volume after\n"
           "      the one on the iPod in its place. The iPod is the one connected, or the one\n"
           "      mounted at MOUNTPOINT. Exit status 1 with the reason when it is refused.\n"
           "  leafmill-cli -h | --help | --version\n"
           "\n"
           "Books and --text read text sources (and pages declaring no character set) in the\n"
           "encoding found from their bytes, or in NAME with --source-encoding NAME (auto: found).\n"
           "A SOURCE of - is standard input: a document piped or redirected in, its kind told by\n"
           "--format NAME or by its content. NAME is a kind's ending without its dot:\n  "
        + formats
        + "...\n"
          "A file whose name ends in no known way is read by its content too.\n"
          "An option's value may also follow it after '=' (--book=NAME).\n"
          "Settings come from main.ini beside the program unless --settings names another file;\n"
          "it is never written. Exit status: 0 done, 1 a source failed, 2 the run could not start,\n"
          "130 stopped by Ctrl-C (SIGINT), 143 stopped by SIGTERM.\n";
}

bool parseCommandLine(const std::vector<std::string>& arguments, CliOptions* options, std::string* error)
{
    *options = CliOptions();
    bool book = false;
    bool text = false;
    bool out = false;
    bool settings = false;
    bool check = false;
    bool format = false;
    bool pageSize = false;
    bool iPods = false;
    bool to = false;
    // --send, --remove and --next-volume, with their commands.
    const std::pair<const char*, CliOptions::Command> iPodChanges[] = {
        {"--send", CliOptions::Command::Send},
        {"--remove", CliOptions::Command::Remove},
        {"--next-volume", CliOptions::Command::NextVolume},
    };
    std::optional<CliOptions::Command> iPodChange;
    // The value given after '=' in the same argument (--book=NAME), if any.
    std::optional<std::string> attached;
    auto valueOf = [&](std::size_t& i, std::string* target, bool* seen) {
        const std::string name = arguments[i].substr(0, arguments[i].find('='));
        if (*seen) {
            *error = name + " is given twice";
            return false;
        }
        if (!attached && i + 1 >= arguments.size()) {
            *error = name + " needs a value";
            return false;
        }
        *seen = true;
        *target = attached ? *attached : arguments[++i];
        return true;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        attached.reset();
        const std::size_t equals = argument.find('=');
        if (!optionsEnded && argument.starts_with("--") && equals != std::string::npos && equals > 2) {
            attached = argument.substr(equals + 1);
            argument.resize(equals);
        }
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options->sources.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h" || argument == "--version") {
            if (arguments.size() != 1 || attached) {
                *error = argument + (attached ? " takes no value" : " stands alone");
                return false;
            }
            options->command = argument == "--version" ? CliOptions::Command::Version : CliOptions::Command::Help;
            return true;
        } else if (argument == "--settings") {
            if (!valueOf(i, &options->settingsFile, &settings))
                return false;
        } else if (argument == "--book") {
            if (!valueOf(i, &options->bookName, &book))
                return false;
        } else if (argument == "--out") {
            if (!valueOf(i, &options->outputFolder, &out))
                return false;
        } else if (argument == "--encoding") {
            if (options->reader.encoding) {
                *error = "--encoding is given twice";
                return false;
            }
            std::string name;
            bool seen = false;
            if (!valueOf(i, &name, &seen))
                return false;
            options->reader.encoding = name;
        } else if (argument == "--source-encoding") {
            std::string name;
            bool seen = options->sourceEncoding.has_value();
            if (!valueOf(i, &name, &seen))
                return false;
            if (const std::string problem = sourceEncodingProblem(name); !problem.empty()) {
                *error = "--source-encoding: " + problem;
                return false;
            }
            options->sourceEncoding = name;
        } else if (const ReaderFlag* flag = readerFlag(argument)) {
            std::optional<bool>& choice = options->reader.*(flag->choice);
            if (attached) {
                *error = argument + " takes no value";
                return false;
            }
            if (choice) {
                *error = argument + " contradicts or repeats an earlier choice";
                return false;
            }
            choice = flag->value;
        } else if (argument == "--check") {
            if (!valueOf(i, &options->checkFolder, &check))
                return false;
        } else if (argument == "--format") {
            if (!valueOf(i, &options->format, &format))
                return false;
            if (!findFormat(options->format, defaultDispatchTable())) {
                *error = "--format " + options->format + ": not one of " + formatNames();
                return false;
            }
        } else if (argument == "--page-size") {
            std::string value;
            if (!valueOf(i, &value, &pageSize))
                return false;
            options->pageSize = pageSizeOf(value);
            if (!options->pageSize) {
                *error = "--page-size " + value + ": not a row number or a size in bytes";
                return false;
            }
        } else if (argument == "--ipods") {
            if (iPods || attached) {
                *error = argument + (attached ? " takes no value" : " is given twice");
                return false;
            }
            iPods = true;
        } else if (argument == "--to") {
            if (!valueOf(i, &options->iPodVolume, &to))
                return false;
        } else if (const auto change = std::find_if(std::begin(iPodChanges), std::end(iPodChanges),
                                                    [&argument](const auto& c) { return argument == c.first; });
                   change != std::end(iPodChanges)) {
            bool seen = iPodChange.has_value();
            if (!valueOf(i, &options->iPodBook, &seen)) {
                if (iPodChange)
                    *error = "--send, --remove and --next-volume go one at a time";
                return false;
            }
            iPodChange = change->second;
        } else if (argument == "--text") {
            std::string source;
            if (!valueOf(i, &source, &text))
                return false;
            options->sources.push_back(source);
        } else {
            *error = "unknown option " + argument;
            return false;
        }
    }
    if (iPods || iPodChange || to) {
        if (book || out || text || check || format || pageSize || options->reader.any() || options->sourceEncoding
            || !options->sources.empty() || (iPods && (iPodChange || to)) || (to && !iPodChange)) {
            *error = "--ipods stands alone, and --send, --remove and --next-volume take only --to";
            return false;
        }
        options->command = iPods ? CliOptions::Command::IPods : *iPodChange;
        return true;
    }
    if (check) {
        const bool onlyEncoding = !options->reader.links && !options->reader.titles && !options->reader.contents
            && !options->reader.chapterPages && !options->reader.joinLines;
        if (book || out || text || format || pageSize || options->sourceEncoding || !options->sources.empty()
            || !onlyEncoding) {
            *error = "--check takes a folder and no book, sources or page choices but --encoding";
            return false;
        }
        options->command = CliOptions::Command::Check;
        return true;
    }
    const auto fromInput = std::count(options->sources.begin(), options->sources.end(), kStandardInput);
    if (fromInput > 1) {
        *error = "standard input (-) can be read only once";
        return false;
    }
    if (format && fromInput == 0) {
        *error = "--format tells what standard input holds, but no source is -";
        return false;
    }
    if (text) {
        if (book || out || options->sources.size() != 1 || options->reader.any() || pageSize) {
            *error = "--text takes one source and no book or page choices";
            return false;
        }
        options->command = CliOptions::Command::Text;
        return true;
    }
    if (!book || !out) {
        *error = book ? "--out FOLDER is missing" : "--book NAME is missing";
        return false;
    }
    if (options->sources.empty()) {
        *error = "no source given";
        return false;
    }
    options->command = CliOptions::Command::Book;
    return true;
}

}  // namespace leafmill::cli
