#include "targets/notes/ReaderView.h"

#include "targets/notes/ReaderLimits.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

namespace leafmill {

namespace {

// The encodings a note's first line can name, and the ones they stand for.
struct Declared {
    std::string_view name;
    std::string_view encoding;
};
constexpr std::array<Declared, 1> kDeclared {{{"UTF8", "UTF-8"}}};

constexpr std::string_view kDeclarationStart = "<?xml";
// How much of the text past the reader's bytes a report quotes.
constexpr std::size_t kCutQuote = 40;

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string decodeEntities(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, char>, 4> kEntities
        = {{{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool decoded = false;
        for (const auto& [entity, shown] : kEntities)
            if (text.substr(i, entity.size()) == entity) {
                out.push_back(shown);
                i += entity.size() - 1;
                decoded = true;
                break;
            }
        if (!decoded)
            out.push_back(text[i]);
    }
    return out;
}

// The value after `name=`, quoted or bare; false when the quote never closes.
bool attribute(std::string_view inside, std::string_view name, std::string* value)
{
    const std::size_t at = upper(inside).find(std::string(name) + "=");
    if (at == std::string::npos)
        return false;
    std::string_view rest = inside.substr(at + name.size() + 1);
    if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        const std::size_t quote = rest.find('"');
        *value = std::string(rest.substr(0, quote));
        return quote != std::string_view::npos;
    }
    *value = std::string(rest.substr(0, rest.find_first_of(" \t\r\n")));
    return true;
}

// The declaration on the note's first line: its length with the line end
// after it, and the encoding it names (empty when the reader knows no such name).
std::size_t declaration(std::string_view bytes, std::string* encoding)
{
    if (!bytes.starts_with(kDeclarationStart))
        return 0;
    const std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos || bytes.substr(0, end).find_first_of("\r\n") != std::string_view::npos)
        return 0;
    std::string name;
    if (attribute(bytes.substr(0, end), "ENCODING", &name))
        for (const Declared& declared : kDeclared)
            if (upper(name) == declared.name)
                *encoding = declared.encoding;
    std::size_t length = end + 2;
    if (bytes.substr(length, 2) == "\r\n")
        length += 2;
    else if (length < bytes.size() && (bytes[length] == '\n' || bytes[length] == '\r'))
        ++length;
    return length;
}

const PageEncoder& declaredEncoder(std::string_view encoding)
{
    static const std::vector<std::shared_ptr<const PageEncoder>> encoders = [] {
        std::vector<std::shared_ptr<const PageEncoder>> all;
        for (const Declared& declared : kDeclared)
            all.push_back(PageEncoder::open(declared.encoding, nullptr));
        return all;
    }();
    for (std::size_t i = 0; i < kDeclared.size(); ++i)
        if (kDeclared[i].encoding == encoding)
            return *encoders[i];
    return *encoders.front();
}

class NoteBuilder {
public:
    ReaderNote note;

    void text(std::string_view piece)
    {
        std::string shown = decodeEntities(piece);
        // Line ends of the file break lines; CR LF counts once.
        std::string clean;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n')
                continue;
            clean.push_back(shown[i] == '\r' ? '\n' : shown[i]);
        }
        if (inTitle_) {
            note.title += clean;
            return;
        }
        if (!note.runs.empty() && note.runs.back().link == link_)
            note.runs.back().text += clean;
        else if (!clean.empty())
            note.runs.push_back({clean, link_});
    }

    // True when the tag is one the reader knows and takes.
    bool tag(std::string_view inside)
    {
        const std::string name = upper(inside.substr(0, inside.find_first_of(" \t\r\n")));
        const bool known = name == "TITLE" || name == "/TITLE" || name == "A" || name == "/A" || name == "BR"
            || name == "P" || name == "/P" || name == "INSTRUCTIONS";
        if (!known)
            return false;
        // A '<' inside: the tag never closed before the next one began.
        if (inside.find('<') != std::string_view::npos)
            return bad(inside);
        if (name == "TITLE") {
            inTitle_ = true;
        } else if (name == "/TITLE") {
            inTitle_ = false;
        } else if (name == "A") {
            std::string href;
            if (link_ >= 0 || !attribute(inside, "HREF", &href))
                return bad(inside);
            note.links.push_back({href, upper(inside).find("NOPUSH") != std::string::npos});
            link_ = static_cast<int>(note.links.size()) - 1;
        } else if (name == "/A") {
            if (link_ < 0)
                return bad(inside);
            link_ = -1;
        } else if (name != "INSTRUCTIONS") {
            const int link = link_;
            link_ = -1;
            text("\n");
            link_ = link;
        }
        return true;
    }

    // A tag that opened and never closed.
    void unclosed(std::string_view rest)
    {
        const std::string name = upper(rest.substr(1, rest.find_first_of(" \t\r\n>", 1) - 1));
        for (std::string_view known : {"A", "/A", "TITLE", "/TITLE", "BR", "P", "/P"})
            if (name == known)
                note.badTags.push_back(std::string(rest.substr(0, 40)));
    }

    void finish()
    {
        if (link_ >= 0)
            note.badTags.push_back("<A HREF=\"" + note.links.back().href + "\">");
        if (inTitle_)
            note.badTags.push_back("<TITLE>");
    }

private:
    // The tag as written: up to the next one when it never closed.
    bool bad(std::string_view inside)
    {
        const std::size_t next = inside.find('<');
        note.badTags.push_back("<" + std::string(inside.substr(0, next)) + (next == std::string_view::npos ? ">" : ""));
        return false;
    }

    bool inTitle_ = false;
    int link_ = -1;
};

}  // namespace

std::string encodingDeclaration(const PageEncoder& pages)
{
    for (const Declared& declared : kDeclared)
        if (pages.codePage().name() == declaredEncoder(declared.encoding).codePage().name())
            return std::string(kDeclarationStart) + " encoding=\"" + std::string(declared.name) + "\"?>\r\n";
    return {};
}

ReaderNote readReaderNote(std::string_view bytes, const PageEncoder& readerEncoding)
{
    std::string declared;
    const std::size_t skipped = declaration(bytes, &declared);
    const PageEncoder& encoder = declared.empty() ? readerEncoding : declaredEncoder(declared);
    NoteBuilder builder;
    builder.note.size = bytes.size();
    const std::string_view read = bytes.substr(0, kReaderNoteBytes);
    const std::string text = encoder.decode(read.substr(std::min(skipped, read.size())), &builder.note.faults);
    if (builder.note.faults.count > 0)
        builder.note.faults.first += skipped;
    if (bytes.size() > read.size())
        builder.note.cutFrom = encoder.decode(bytes.substr(read.size(), kCutQuote), nullptr);
    builder.note.encoding = encoder.name();
    std::size_t from = 0;
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        if (text.compare(at, 4, "<!--") == 0) {
            builder.text(std::string_view(text).substr(from, at - from));
            const std::size_t end = text.find("-->", at);
            from = end == std::string::npos ? text.size() : end + 3;
            at = from - 1;
            continue;
        }
        const std::size_t close = text.find('>', at);
        if (close == std::string::npos) {
            builder.unclosed(std::string_view(text).substr(at));
            break;
        }
        builder.text(std::string_view(text).substr(from, at - from));
        if (builder.tag(std::string_view(text).substr(at + 1, close - at - 1))) {
            from = close + 1;
            at = close;
        } else {
            from = at;
            builder.text(std::string_view(text).substr(at, 1));
            from = at + 1;
        }
    }
    if (from < text.size())
        builder.text(std::string_view(text).substr(from));
    builder.finish();
    return builder.note;
}

namespace {

bool continuesCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length of the UTF-8 character the text starts with.
std::size_t firstCharacter(std::string_view text)
{
    std::size_t end = 1;
    while (end < text.size() && continuesCharacter(text[end]))
        ++end;
    return end;
}

class LineWrapper {
public:
    LineWrapper(int width, const std::function<int(std::string_view)>& measure)
        : width_(width)
        , measure_(measure)
    {
    }

    void add(std::string_view text, int link)
    {
        while (!text.empty()) {
            const std::size_t lineEnd = text.find('\n');
            std::string_view piece = text.substr(0, lineEnd);
            while (!piece.empty())
                piece = place(piece, link);
            if (lineEnd == std::string_view::npos)
                break;
            endLine();
            text.remove_prefix(lineEnd + 1);
        }
    }

    std::vector<LineOfRuns> finish()
    {
        if (!line_.empty())
            endLine();
        return std::move(lines_);
    }

private:
    // Puts as much of the piece on the line as fits; gives what is left.
    std::string_view place(std::string_view piece, int link)
    {
        const int room = width_ - used_;
        if (measure_(piece) <= room) {
            append(piece, link);
            return {};
        }
        // The longest head that fits, ending after a space when one does.
        std::size_t fits = 0;
        for (std::size_t end = 1; end <= piece.size(); ++end) {
            if (end < piece.size() && continuesCharacter(piece[end]))
                continue;
            if (measure_(piece.substr(0, end)) > room)
                break;
            fits = end;
        }
        const std::size_t space = piece.substr(0, fits).rfind(' ');
        std::size_t cut = space != std::string_view::npos ? space + 1 : fits;
        if (cut == 0 && used_ == 0)
            cut = firstCharacter(piece);
        if (cut == 0 || (space == std::string_view::npos && used_ > 0)) {
            endLine();  // the word starts the next line
            return piece;
        }
        append(piece.substr(0, cut), link);
        endLine();
        return piece.substr(cut);
    }

    void append(std::string_view text, int link)
    {
        if (!line_.empty() && line_.back().link == link)
            line_.back().text += text;
        else
            line_.push_back({std::string(text), link});
        used_ += measure_(text);
    }

    void endLine()
    {
        lines_.push_back(std::move(line_));
        line_.clear();
        used_ = 0;
    }

    int width_;
    const std::function<int(std::string_view)>& measure_;
    LineOfRuns line_;
    int used_ = 0;
    std::vector<LineOfRuns> lines_;
};

}  // namespace

std::vector<LineOfRuns> wrapNote(const ReaderNote& note, int width, const std::function<int(std::string_view)>& measure)
{
    LineWrapper wrapper(width, measure);
    for (const NoteRun& run : note.runs)
        wrapper.add(run.text, run.link);
    return wrapper.finish();
}

void ReaderHistory::follow(const NoteLink& link)
{
    if (link.nopush && !stack_.empty())
        stack_.back() = link.href;
    else
        stack_.push_back(link.href);
}

bool ReaderHistory::back()
{
    if (stack_.empty())
        return false;
    stack_.pop_back();
    return true;
}

}  // namespace leafmill
