#include "extract/package/XmlBlocks.h"

#include "extract/package/PackageError.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace leafmill::extract::package {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// What a skipped element may leave in the buffer before it is let go.
constexpr std::size_t kSkipKept = 16 * kChunk;
constexpr std::size_t npos = std::string::npos;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool startsName(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

// Text with its stray '<' written as a reference, so that it parses.
std::string escapedText(std::string_view text)
{
    std::string escaped;
    for (const char c : text)
        escaped += c == '<' ? std::string_view("&lt;") : std::string_view(&c, 1);
    return escaped;
}

// The name of the tag whose text starts after its '<' (or "</").
std::string tagName(std::string_view tag)
{
    std::size_t end = 0;
    while (end < tag.size() && !isSpace(tag[end]) && tag[end] != '>' && tag[end] != '/')
        ++end;
    return std::string(tag.substr(0, end));
}

// The namespace declarations of a start tag, as written.
std::vector<std::pair<std::string, std::string>> namespacesOf(std::string_view tag)
{
    std::vector<std::pair<std::string, std::string>> found;
    for (std::size_t at = tag.find("xmlns"); at != npos; at = tag.find("xmlns", at + 5)) {
        if (at == 0 || !isSpace(tag[at - 1]))
            continue;
        const std::size_t equals = tag.find('=', at);
        const std::size_t open = tag.find_first_of("\"'", equals);
        if (equals == npos || open == npos)
            break;
        std::string name(tag.substr(at, equals - at));
        while (!name.empty() && isSpace(name.back()))
            name.pop_back();
        const std::size_t close = tag.find(tag[open], open + 1);
        if (close == npos)
            break;
        if (name == "xmlns" || name.starts_with("xmlns:"))
            found.emplace_back(std::move(name), std::string(tag.substr(open + 1, close - open - 1)));
        at = close;
    }
    return found;
}

// A part in UTF-16 or UTF-32, made UTF-8 so that its tags can be found byte by byte.
std::string asUtf8(std::string text, std::string_view part)
{
    const XmlDocument whole(std::move(text), part);
    std::ostringstream out;
    whole.root().print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

XmlBlocks::XmlBlocks(Source source, std::string part, std::span<const std::string_view> path)
    : source_(std::move(source))
    , part_(std::move(part))
    , path_(path.begin(), path.end())
    , used_(path.size(), false)
{
}

XmlBlocks::XmlBlocks(Source source, std::string part, Roles roles, References references)
    : source_(std::move(source))
    , part_(std::move(part))
    , roles_(std::move(roles))
    , references_(references)
{
}

XmlBlocks::Source XmlBlocks::textSource(std::string text)
{
    auto held = std::make_shared<std::string>(std::move(text));
    auto at = std::make_shared<std::size_t>(0);
    return [held, at](char* buffer, std::size_t size) {
        const std::size_t n = std::min(size, held->size() - *at);
        std::memcpy(buffer, held->data() + *at, n);
        *at += n;
        return n;
    };
}

bool XmlBlocks::more()
{
    if (sourceEnded_)
        return false;
    const std::size_t had = buffer_.size();
    buffer_.resize(had + kChunk);
    const std::size_t n = source_(buffer_.data() + had, kChunk);
    buffer_.resize(had + n);
    sourceEnded_ = n == 0;
    return n > 0;
}

bool XmlBlocks::ensure(std::size_t size)
{
    while (buffer_.size() < size)
        if (!more())
            return false;
    return true;
}

std::size_t XmlBlocks::find(std::string_view what, std::size_t from)
{
    for (;;) {
        const std::size_t at = buffer_.find(what, from);
        if (at != npos)
            return at;
        from = std::max(from, buffer_.size() - std::min(buffer_.size(), what.size() - 1));
        if (!more())
            return npos;
    }
}

// The '>' that ends the tag starting at `from`, past quoted attribute values
// and, in a document type declaration, past its internal subset.
std::size_t XmlBlocks::tagEnd(std::size_t from, bool declaration)
{
    char quote = 0;
    int brackets = 0;
    for (std::size_t i = from;; ++i) {
        if (i == buffer_.size() && !more())
            return npos;
        const char c = buffer_[i];
        if (quote != 0)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (declaration && (c == '[' || c == ']'))
            brackets += c == '[' ? 1 : -1;
        else if (c == '>' && brackets <= 0)
            return i;
    }
}

// Whether the '<' at `lt` starts markup, not a stray one in the text ("a < b").
bool XmlBlocks::startsMarkup(std::size_t lt)
{
    ensure(lt + 3);
    const char after = lt + 1 < buffer_.size() ? buffer_[lt + 1] : '\0';
    if (after == '/')
        return lt + 2 < buffer_.size() && startsName(buffer_[lt + 2]);
    return after == '!' || after == '?' || startsName(after);
}

// The next '<' from `from` that starts markup, or npos at the part's end.
std::size_t XmlBlocks::nextMarkup(std::size_t from)
{
    std::size_t lt = find("<", from);
    while (lt != npos && !startsMarkup(lt))
        lt = find("<", lt + 1);
    return lt;
}

// Past a processing instruction, comment, CDATA section or declaration at `lt`.
std::size_t XmlBlocks::skipOther(std::size_t lt)
{
    ensure(lt + 9);
    const std::string_view ahead = std::string_view(buffer_).substr(lt);
    const auto past = [&](std::string_view close) {
        const std::size_t at = find(close, lt + 2);
        return at == npos ? npos : at + close.size();
    };
    if (ahead.starts_with("<?"))
        return past("?>");
    if (ahead.starts_with("<!--"))
        return past("-->");
    if (ahead.starts_with("<![CDATA["))
        return past("]]>");
    const std::size_t end = tagEnd(lt + 2, true);
    return end == npos ? npos : end + 1;
}

// Where the element `name`, whose start tag ends before `from`, ends: past
// its end tag, or at an end tag of a container around it, which closes it
// too. With `keep` the mends its text needs are noted (mends_); without, the
// bytes passed are let go as it goes (what was before `from` with them).
// npos when the part ends first.
std::size_t XmlBlocks::closingOf(std::string name, std::size_t from, bool keep)
{
    std::vector<std::string> open {std::move(name)};
    const auto closeAt = [&](std::size_t at, std::size_t count) {
        std::string added;
        for (std::size_t k = 0; k < count; ++k, open.pop_back())
            added += "</" + open.back() + ">";
        if (keep)
            mends_.push_back({at, 0, std::move(added)});
    };
    for (std::size_t at = from;;) {
        const std::size_t lt = find("<", at);
        if (lt == npos || !ensure(lt + 2))
            return npos;
        const char kind = buffer_[lt + 1];
        if (!startsMarkup(lt)) {
            if (keep)
                mends_.push_back({lt, 1, "&lt;"});
            at = lt + 1;
            continue;
        }
        if (kind == '?' || kind == '!') {
            at = skipOther(lt);
        } else {
            at = tagEnd(lt + 1);
            if (at == npos)
                return npos;
            ++at;
            if (kind == '/') {
                const std::string closed = tagName(std::string_view(buffer_).substr(lt + 2, at - lt - 2));
                const auto match = std::find(open.rbegin(), open.rend(), closed);
                if (match != open.rend()) {
                    closeAt(lt, static_cast<std::size_t>(match - open.rbegin()));
                    open.pop_back();
                } else if (containersClosedBy(closed) > 0) {
                    closeAt(lt, open.size());
                    return lt;
                } else if (keep) {
                    mends_.push_back({lt, at - lt, {}});
                }
            } else if (buffer_[at - 2] != '/') {
                if (open_.size() + open.size() >= XmlDocument::kMaxDepth)
                    tooDeep();
                open.push_back(tagName(std::string_view(buffer_).substr(lt + 1, at - lt - 1)));
            }
        }
        if (at == npos)
            return npos;
        if (open.empty())
            return at;
        if (!keep && at > kSkipKept)
            dropBefore(at);
    }
}

// How many of the containers open around the blocks an end tag `name`
// closes: the innermost of that name and those inside it; 0 for none.
std::size_t XmlBlocks::containersClosedBy(std::string_view name) const
{
    const auto match
        = std::find_if(open_.rbegin(), open_.rend(), [&](const Open& container) { return container.name == name; });
    return match == open_.rend() ? 0 : static_cast<std::size_t>(match - open_.rbegin()) + 1;
}

// The buffer's bytes from `from` to `to` with the mends noted for them.
std::string XmlBlocks::mended(std::size_t from, std::size_t to) const
{
    std::string text;
    text.reserve(to - from);
    std::size_t at = from;
    for (const Mend& mend : mends_) {
        text.append(buffer_, at, mend.at - at).append(mend.added);
        at = mend.at + mend.dropped;
    }
    return text.append(buffer_, at, to - at);
}

std::vector<std::string> XmlBlocks::damage(std::string_view what) const
{
    std::vector<std::string> told;
    if (!complete_)
        told.push_back(std::string(what) + " breaks off (damaged XML); it was read up to the damage");
    if (damagedBlocks_ > 0)
        told.push_back(std::to_string(damagedBlocks_) + " passage(s) of " + std::string(what)
                       + " hold damaged XML; each was read up to its damage");
    return told;
}

// Elements passed over unparsed are held to the depth of those parsed.
void XmlBlocks::tooDeep() const
{
    throw PackageError("the package's part " + part_ + " nests its elements more than "
                       + std::to_string(XmlDocument::kMaxDepth) + " deep");
}

// Lets go of the bytes before `at`, which then is the buffer's start.
void XmlBlocks::dropBefore(std::size_t& at)
{
    if (keeping_ && keeping_->whole) {
        keeping_->whole = keeping_->text->size() + at <= keeping_->limit;
        if (keeping_->whole)
            keeping_->text->append(buffer_, 0, at);
    }
    buffer_.erase(0, at);
    dropped_ += at;
    at = 0;
}

XmlBlocks::Role XmlBlocks::roleOf(std::string_view name, std::size_t level)
{
    if (roles_)
        return roles_(name, level);
    if (level < path_.size() && !used_[level] && name == path_[level]) {
        used_[level] = true;
        return Role::Container;
    }
    return Role::Block;
}

// `text` parsed as what next() returns, `depth` containers deep.
pugi::xml_node XmlBlocks::piece(Kind kind, std::string text, std::size_t depth)
{
    block_
        = std::make_unique<XmlDocument>(std::move(text), part_, encoding_, static_cast<int>(open_.size()), references_);
    pugi::xml_node root = block_->root();
    // A block that holds nothing readable is passed over by next().
    if (!root)
        return kind == Kind::Block ? root : damaged();
    kind_ = kind;
    depth_ = depth;
    for (auto around = open_.rbegin(); around != open_.rend(); ++around)
        for (const auto& [declaration, uri] : around->namespaces)
            if (!root.attribute(declaration.c_str()))
                root.append_attribute(declaration.c_str()).set_value(uri.c_str());
    return root;
}

bool XmlBlocks::skipContainer(std::string* kept, std::size_t limit)
{
    block_.reset();
    if (!skippable_ || finished_)
        return true;
    skippable_ = false;
    std::size_t start = kept ? lastStart_ : position_;
    const std::size_t startTag = position_ - start;
    dropBefore(start);
    if (kept)
        keeping_ = Keeping {kept, limit, true};
    std::size_t end = closingOf(open_.back().name, startTag, false);
    const bool damage = end == npos;
    if (damage)
        end = buffer_.size();
    dropBefore(end);
    position_ = 0;
    const bool whole = !keeping_ || keeping_->whole;
    keeping_.reset();
    if (damage)
        damaged();
    else {
        open_.pop_back();
        finished_ = open_.empty();
    }
    return whole;
}

// The encoding the part declares: a part in UTF-16 or UTF-32 is made UTF-8
// first, Latin-1 is parsed as such block by block.
void XmlBlocks::readEncoding()
{
    ensure(4);
    pugi::xml_document probe;
    pugi::xml_encoding start = probe.load_buffer(buffer_.data(), std::min<std::size_t>(buffer_.size(), 4)).encoding;
    if (start != pugi::encoding_utf8 && start != pugi::encoding_latin1) {
        while (more()) { }
        buffer_ = asUtf8(std::move(buffer_), part_);
        return;
    }
    const std::size_t root = find("<", buffer_.starts_with("<?xml") ? buffer_.find("?>") : 0);
    if (buffer_.starts_with("<?xml") && root != npos) {
        const std::string declared = buffer_.substr(0, root) + "<x/>";
        encoding_ = probe.load_buffer(declared.data(), declared.size()).encoding;
    }
}

pugi::xml_node XmlBlocks::damaged()
{
    complete_ = false;
    finished_ = true;
    return {};
}

pugi::xml_node XmlBlocks::next(std::string_view named)
{
    block_.reset();
    skippable_ = false;
    if (!started_) {
        started_ = true;
        readEncoding();
    }
    if (finished_)
        return {};
    for (;;) {
        // What was read is let go before more comes, a chunk at a time.
        if (position_ >= kChunk)
            dropBefore(position_);
        const std::size_t lt = nextMarkup(position_);
        if (lt == npos || !ensure(lt + 2)) {
            if (open_.empty())
                throw PackageError("the package's part " + part_ + " is no XML (no document element found)");
            return damaged();
        }
        const bool reportsText = roles_ && !open_.empty();
        if (reportsText && lt > position_) {
            std::string text
                = "<t>" + escapedText(std::string_view(buffer_).substr(position_, lt - position_)) + "</t>";
            position_ = lt;
            return piece(Kind::Text, std::move(text), open_.size() - 1);
        }
        const char kind = buffer_[lt + 1];
        if (kind == '?' || kind == '!') {
            position_ = skipOther(lt);
            if (position_ == npos)
                return damaged();
            if (reportsText && std::string_view(buffer_).substr(lt).starts_with("<![CDATA["))
                return piece(Kind::Text, "<t>" + buffer_.substr(lt, position_ - lt) + "</t>", open_.size() - 1);
            continue;
        }
        const std::size_t end = tagEnd(lt + 1);
        if (end == npos)
            return damaged();
        const std::string_view tag = std::string_view(buffer_).substr(lt + 1, end - lt - 1);
        if (kind == '/') {
            // An end tag of no open container is dropped; one further out
            // closes those inside it too.
            const std::size_t closed = containersClosedBy(tagName(tag.substr(1)));
            position_ = end + 1;
            if (closed == 0)
                continue;
            open_.resize(open_.size() - closed);
            if (open_.empty()) {
                finished_ = true;
                return {};
            }
            continue;
        }
        const bool empty = tag.ends_with('/');
        const std::string name = tagName(tag);
        const std::size_t level = open_.empty() ? 0 : open_.size() - 1;
        const Role role = open_.empty() ? Role::Container : roleOf(localName(name.c_str()), level);
        if (role == Role::Container) {
            if (open_.size() >= XmlDocument::kMaxDepth)
                tooDeep();
            position_ = end + 1;
            std::string start = roles_ ? buffer_.substr(lt, end - lt) + (empty ? ">" : "/>") : std::string();
            if (!empty)
                open_.push_back({name, namespacesOf(tag)});
            finished_ = open_.empty();
            if (roles_) {
                skippable_ = !empty;
                lastStart_ = lt;
                return piece(Kind::Start, std::move(start), level);
            }
            if (finished_)
                return {};
            continue;
        }
        const bool wanted = role == Role::Block && (named.empty() || localName(name.c_str()) == named);
        mends_.clear();
        const std::size_t blockEnd = empty ? end + 1 : closingOf(name, end + 1, wanted);
        position_ = blockEnd == npos ? buffer_.size() : blockEnd;
        if (!wanted) {
            if (blockEnd == npos)
                return damaged();
            continue;
        }
        if (blockEnd == npos) {
            // The part breaks off inside the block: what is left of it ends the reading.
            pugi::xml_node root = piece(Kind::Block, buffer_.substr(lt), level);
            damaged();
            return root;
        }
        pugi::xml_node root = piece(Kind::Block, mended(lt, position_), level);
        damagedBlocks_ += !block_->complete();
        if (root)
            return root;
    }
}

}  // namespace leafmill::extract::package
