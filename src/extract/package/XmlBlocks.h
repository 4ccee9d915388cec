#pragma once

#include "extract/package/XmlDocument.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace leafmill::extract::package {

// A large XML part read one block at a time, so that memory holds one block
// and not the part: each child of the root element, and of the elements
// along `path` (by local name, the first of each), is parsed into a tree of
// its own that carries the namespace declarations of the elements around
// it. XmlDocument's bounds hold for the part as a whole.
//
// Damage is forgiven as far as the part can still be read in order: an end
// tag closes the elements left open inside it, an end tag of no open element
// is dropped, a '<' that starts no tag is text, and a block that does not parse is kept up to its damage while
// reading goes on past it. Only a part that breaks off ends the reading.
class XmlBlocks {
public:
    // Up to `size` further bytes of the part into `buffer`; 0 at its end.
    using Source = std::function<std::size_t(char* buffer, std::size_t size)>;

    // What an element met among the blocks is to the reader.
    enum class Role {
        Block,  // parsed and returned
        Container,  // entered: its children are the next blocks
        Passed,  // passed over unparsed
    };
    // The role of an element by its local name and depth (see depth()).
    using Roles = std::function<Role(std::string_view name, std::size_t depth)>;
    // What next() returned.
    enum class Kind {
        Block,
        Start,  // a container's start tag (the root's first), as an element without children
        Text,  // character data lying in a container, as the children of an element
    };

    XmlBlocks(Source source, std::string part, std::span<const std::string_view> path);
    // Containers chosen by `roles` (the root is always one), whose start tags
    // and text are returned too, in document order with the blocks; the
    // pieces decode the character references `references` allows.
    XmlBlocks(Source source, std::string part, Roles roles, References references = References::Xml);

    // A part already in memory, read through as a source.
    static Source textSource(std::string text);

    // The next block (of that local name when one is given: the others are
    // passed over unparsed), or an empty node after the last; it lives until
    // the next call. Throws PackageError as XmlDocument does.
    pugi::xml_node next(std::string_view named = {});
    // How many of the path's elements (the containers) hold the last block.
    std::size_t depth() const { return depth_; }
    Kind kind() const { return kind_; }
    // Passes over the rest of the container whose start was returned last.
    // With `kept`, its text (its start tag's too) is appended there as long as
    // that stays within `limit` bytes; tells whether all of it was.
    bool skipContainer(std::string* kept = nullptr, std::size_t limit = 0);
    // Whether every element of the path was found.
    bool foundPath() const { return !used_.empty() && used_.back(); }
    // False when the part breaks off (damaged XML): it was read up to the damage.
    bool complete() const { return complete_; }
    // What the reader tells of the damage met, naming the part as `what`
    // ("the document"): it breaks off, or some blocks were cut short.
    std::vector<std::string> damage(std::string_view what) const;
    // Bytes of the part read so far.
    std::uint64_t consumed() const { return dropped_ + position_; }

private:
    struct Open {
        std::string name;
        std::vector<std::pair<std::string, std::string>> namespaces;
    };

    bool more();
    bool ensure(std::size_t size);
    std::size_t find(std::string_view what, std::size_t from);
    std::size_t tagEnd(std::size_t from, bool declaration = false);
    bool startsMarkup(std::size_t lt);
    std::size_t nextMarkup(std::size_t from);
    std::size_t skipOther(std::size_t lt);
    std::size_t closingOf(std::string name, std::size_t from, bool keep);
    std::size_t containersClosedBy(std::string_view name) const;
    std::string mended(std::size_t from, std::size_t to) const;
    void dropBefore(std::size_t& at);
    [[noreturn]] void tooDeep() const;
    Role roleOf(std::string_view name, std::size_t level);
    pugi::xml_node piece(Kind kind, std::string text, std::size_t depth);
    void readEncoding();
    pugi::xml_node damaged();

    Source source_;
    std::string part_;
    std::vector<std::string> path_;
    std::vector<bool> used_;
    Roles roles_;  // none: the path's elements are the containers
    References references_ = References::Xml;
    std::string buffer_;
    std::size_t position_ = 0;
    std::uint64_t dropped_ = 0;
    bool sourceEnded_ = false;
    bool finished_ = false;
    bool complete_ = true;
    bool started_ = false;
    bool skippable_ = false;  // the last start returned opened a container
    std::size_t lastStart_ = 0;  // where that start tag is in the buffer
    struct Keeping {
        std::string* text;
        std::size_t limit;
        bool whole;
    };
    std::optional<Keeping> keeping_;  // where a container skipped is kept
    pugi::xml_encoding encoding_ = pugi::encoding_utf8;
    // Tags the block being kept needs added or dropped, by buffer position.
    struct Mend {
        std::size_t at;
        std::size_t dropped;
        std::string added;
    };
    std::vector<Mend> mends_;
    std::size_t damagedBlocks_ = 0;
    std::vector<Open> open_;  // the root and the path's elements around the next block
    std::size_t depth_ = 0;
    Kind kind_ = Kind::Block;
    std::unique_ptr<XmlDocument> block_;
};

}  // namespace leafmill::extract::package
