#include "app/classIniFile.h"

#include "io/FileAccess.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The private-profile read fills a 1,024-byte buffer, terminator included.
constexpr std::size_t kMaxValueBytes = 1023;
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A line holds no CR, LF or NUL; text is cut at the first of them.
std::string_view lineSafe(std::string_view text)
{
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

bool isAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Section and key names compare without regard to case, in any script.
bool sameName(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (asciiLower(a[i]) != asciiLower(b[i]))
                return false;
        }
        return true;
    }
    return icu::UnicodeString::fromUTF8(a).caseCompare(icu::UnicodeString::fromUTF8(b), U_FOLD_CASE_DEFAULT) == 0;
}

// One spelling for all names sameName takes as equal.
std::string foldedName(std::string_view name)
{
    std::string folded;
    if (isAscii(name)) {
        folded = name;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return folded;
    }
    icu::UnicodeString::fromUTF8(name).foldCase(U_FOLD_CASE_DEFAULT).toUTF8String(folded);
    return folded;
}

const std::shared_ptr<const CodePage>& utf8Page()
{
    static const std::shared_ptr<const CodePage> page = CodePage::open("UTF-8");
    return page;
}

}  // namespace

// The lines of one INI file, parsed, with each line's own bytes kept so that
// what a change does not touch is written back as it was read.
class classIniFile::Image {
public:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string bytes;  // without the line end
        std::string end;  // "\r\n", "\n", "\r" or "" for a last line without one
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed, UTF-8
        std::size_t equals = 0;  // key lines: position of the '=' in `bytes`
    };

    explicit Image(const CodePage* page)
        : page_(page)
    {
    }

    void parse(std::string_view bytes)
    {
        if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            byteOrderMark_ = true;
            page_ = utf8Page().get();
            bytes.remove_prefix(kByteOrderMark.size());
        }
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            const std::size_t stop = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
            std::size_t next = stop;
            if (next < bytes.size())
                next += bytes.compare(next, 2, kLineEnd) == 0 ? 2 : 1;
            lines_.push_back(parseLine(bytes.substr(pos, stop - pos), bytes.substr(stop, next - stop)));
            pos = next;
        }
    }

    std::string serialise() const
    {
        std::string out = byteOrderMark_ ? std::string(kByteOrderMark) : std::string();
        for (const Line& line : lines_)
            out.append(line.bytes).append(line.end);
        return out;
    }

    // Makes value() look keys up in a table instead of walking the lines.
    void buildIndex()
    {
        index_.clear();
        std::unordered_set<std::string> sectionsSeen;
        std::string section;
        bool firstOfName = false;  // only a name's first section is looked into
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].kind == Kind::Section) {
                section = foldedName(lines_[i].name);
                firstOfName = sectionsSeen.insert(section).second;
            } else if (lines_[i].kind == Kind::Key && firstOfName) {
                index_.try_emplace(section + '\n' + foldedName(lines_[i].name), i);
            }
        }
        indexed_ = true;
    }

    std::string value(std::string_view section, std::string_view key) const
    {
        std::size_t at = npos;
        if (indexed_) {
            const auto found = index_.find(foldedName(section) + '\n' + foldedName(key));
            at = found == index_.end() ? npos : found->second;
        } else {
            at = findKey(findSection(section), key);
        }
        if (at == npos)
            return {};
        const Line& line = lines_[at];
        std::string_view raw = trimmed(std::string_view(line.bytes).substr(line.equals + 1));
        if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
            raw = raw.substr(1, raw.size() - 2);
        if (raw.size() > kMaxValueBytes)
            raw = raw.substr(0, page_ ? page_->boundaryAtOrBefore(raw, kMaxValueBytes) : kMaxValueBytes);
        return decode(raw);
    }

    void setKey(std::string_view section, std::string_view key, std::string_view value)
    {
        std::size_t header = findSection(section);
        if (header == npos) {
            terminateLastLine();
            lines_.push_back(parseLine("[" + encode(section) + "]", kLineEnd));
            header = lines_.size() - 1;
        }
        const std::string encodedValue = encode(value);
        const std::size_t at = findKey(header, key);
        if (at != npos) {
            Line& line = lines_[at];
            line.bytes = line.bytes.substr(0, line.equals) + "=" + encodedValue;
            return;
        }
        // After the section's last line that is not blank, so that the blank
        // lines separating it from the next section stay there.
        std::size_t last = header;
        for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
            if (!trimmed(lines_[i].bytes).empty())
                last = i;
        if (lines_[last].end.empty())
            lines_[last].end = kLineEnd;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                      parseLine(encode(key) + "=" + encodedValue, kLineEnd));
    }

    // A character of a value or name the code page cannot hold was met.
    bool lostCharacter() const { return lostCharacter_; }

    // The whole file in UTF-8 with the mark, every line's text unchanged.
    void convertToUtf8()
    {
        for (Line& line : lines_)
            line.bytes = decode(line.bytes);
        page_ = utf8Page().get();
        byteOrderMark_ = true;
        for (Line& line : lines_) {
            const std::string text = line.bytes;
            line = parseLine(text, line.end);
        }
    }

    void removeKey(std::string_view section, std::string_view key)
    {
        bool inSection = false;
        std::erase_if(lines_, [&](const Line& line) {
            if (line.kind == Kind::Section)
                inSection = sameName(line.name, section);
            return inSection && line.kind == Kind::Key && sameName(line.name, key);
        });
    }

    void removeSection(std::string_view section)
    {
        bool inSection = false;
        std::erase_if(lines_, [&](const Line& line) {
            if (line.kind == Kind::Section)
                inSection = sameName(line.name, section);
            return inSection;
        });
    }

private:
    static constexpr std::size_t npos = std::string::npos;

    Line parseLine(std::string_view bytes, std::string_view end) const
    {
        Line line;
        line.bytes = bytes;
        line.end = end;
        std::size_t start = 0;
        while (start < bytes.size() && isBlank(bytes[start]))
            ++start;
        if (start == bytes.size() || bytes[start] == ';' || bytes[start] == '#')
            return line;
        if (bytes[start] == '[') {
            const std::size_t close = lastCharAt(bytes, ']');
            if (close != npos && close > start) {
                line.kind = Kind::Section;
                line.name = decode(trimmed(bytes.substr(start + 1, close - start - 1)));
            }
            return line;
        }
        const std::size_t equals = firstCharAt(bytes, '=');
        if (equals == npos)
            return line;
        std::size_t nameEnd = equals;
        while (nameEnd > start && isBlank(bytes[nameEnd - 1]))
            --nameEnd;
        line.kind = Kind::Key;
        line.name = decode(bytes.substr(start, nameEnd - start));
        line.equals = equals;
        return line;
    }

    // Positions of an ASCII character that are character starts, so that the
    // second byte of a double-byte character never counts as ']' or '='.
    std::size_t firstCharAt(std::string_view bytes, char wanted) const
    {
        for (std::size_t i = 0; i < bytes.size(); i += step(bytes, i))
            if (bytes[i] == wanted)
                return i;
        return npos;
    }

    std::size_t lastCharAt(std::string_view bytes, char wanted) const
    {
        std::size_t found = npos;
        for (std::size_t i = 0; i < bytes.size(); i += step(bytes, i))
            if (bytes[i] == wanted)
                found = i;
        return found;
    }

    std::size_t step(std::string_view bytes, std::size_t pos) const
    {
        return page_ ? page_->charLength(bytes, pos) : 1;
    }

    std::size_t findSection(std::string_view section) const
    {
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section))
                return i;
        return npos;
    }

    std::size_t findKey(std::size_t header, std::string_view key) const
    {
        if (header == npos)
            return npos;
        for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
            if (lines_[i].kind == Kind::Key && sameName(lines_[i].name, key))
                return i;
        return npos;
    }

    void terminateLastLine()
    {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = kLineEnd;
    }

    // Every code page the program opens keeps ASCII as it is.
    std::string decode(std::string_view bytes) const
    {
        return page_ && !isAscii(bytes) ? page_->toUtf8(bytes) : std::string(bytes);
    }
    std::string encode(std::string_view utf8)
    {
        if (!page_ || isAscii(utf8))
            return std::string(utf8);
        std::string bytes = page_->fromUtf8(utf8);
        // What does not come back as it went in was replaced or changed.
        if (page_->toUtf8(bytes) != utf8)
            lostCharacter_ = true;
        return bytes;
    }

    const CodePage* page_;
    bool byteOrderMark_ = false;
    bool lostCharacter_ = false;
    std::vector<Line> lines_;
    bool indexed_ = false;
    std::unordered_map<std::string, std::size_t> index_;  // folded "section\nkey" to its line
};

classIniFile::classIniFile(std::shared_ptr<const CodePage> codePage)
    : codePage_(std::move(codePage))
{
}

std::string classIniFile::Snapshot::GetIniKey(std::string_view section, std::string_view key) const
{
    return image_ ? image_->value(trimmed(section), trimmed(key)) : std::string();
}

classIniFile::Snapshot classIniFile::snapshot() const
{
    Snapshot snapshot;
    std::string bytes, ignored;
    if (readWholeFile(file_, bytes, &ignored) != ReadResult::Ok)
        return snapshot;
    auto image = std::make_shared<Image>(codePage_.get());
    image->parse(bytes);
    image->buildIndex();
    snapshot.image_ = std::move(image);
    return snapshot;
}

std::string classIniFile::GetIniKey(std::string_view section, std::string_view key) const
{
    std::string bytes, ignored;
    if (readWholeFile(file_, bytes, &ignored) != ReadResult::Ok)
        return {};
    Image image(codePage_.get());
    image.parse(bytes);
    return image.value(trimmed(section), trimmed(key));
}

bool classIniFile::WriteIniKey(std::string_view section, std::string_view key, std::string_view value)
{
    return WriteIniKeys({{std::string(section), std::string(key), std::string(value)}});
}

bool classIniFile::WriteIniKeys(const std::vector<IniKey>& keys)
{
    for (const IniKey& entry : keys) {
        const std::string_view keyName = trimmed(lineSafe(entry.key));
        if (keyName.find('=') != std::string_view::npos || (!keyName.empty() && std::strchr("[;#", keyName.front()))) {
            lastError_ = "\"" + std::string(keyName) + "\" cannot be a key name";
            return false;
        }
    }
    return edit([&](Image& image) {
        for (const IniKey& entry : keys)
            image.setKey(trimmed(lineSafe(entry.section)), trimmed(lineSafe(entry.key)), lineSafe(entry.value));
    });
}

bool classIniFile::DelIniKey(std::string_view section, std::string_view key)
{
    return edit([&](Image& image) { image.removeKey(trimmed(section), trimmed(key)); });
}

bool classIniFile::DelIniSec(std::string_view section)
{
    return edit([&](Image& image) { image.removeSection(trimmed(section)); });
}

bool classIniFile::edit(const std::function<void(Image&)>& change)
{
    if (file_.empty()) {
        lastError_ = "no INI file is named";
        return false;
    }
    fs::path target = file_;
    std::error_code ec;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    std::string bytes;
    std::string reason;
    if (readWholeFile(target, bytes, &reason) == ReadResult::Failed) {
        lastError_ = "cannot read " + pathToUtf8(target) + ": " + reason;
        return false;
    }
    auto changedImage = [&](bool inUtf8) {
        Image image(codePage_.get());
        image.parse(bytes);
        if (inUtf8)
            image.convertToUtf8();
        change(image);
        return image;
    };
    Image image = changedImage(false);
    if (image.lostCharacter())
        image = changedImage(true);
    const std::string changed = image.serialise();
    // Nothing to do (say, deleting from a missing file): the file stays as it is.
    if (changed == bytes) {
        lastError_.clear();
        return true;
    }
    if (!mayReplace(target, &lastError_) || !replaceFile(target, changed, &lastError_))
        return false;
    lastError_.clear();
    return true;
}

std::string classIniFile::BuildIniPath(std::string_view folder, std::string_view fileName)
{
#ifdef _WIN32
    constexpr std::string_view separators = "\\/";
    constexpr char separator = '\\';
#else
    constexpr std::string_view separators = "/";
    constexpr char separator = '/';
#endif
    while (!folder.empty() && separators.find(folder.back()) != std::string_view::npos)
        folder.remove_suffix(1);
    while (!fileName.empty() && separators.find(fileName.front()) != std::string_view::npos)
        fileName.remove_prefix(1);
    std::string path(folder);
    path.push_back(separator);
    path.append(fileName);
    return path;
}

void classIniFile::SetIniPath(std::string_view folder, std::string_view fileName)
{
    INIFileName(pathFromUtf8(BuildIniPath(folder, fileName)));
}

}  // namespace leafmill
