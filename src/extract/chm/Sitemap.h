#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::chm {

// One entry of a help book's contents (.hhc) or index (.hhk).
struct SitemapEntry {
    std::string name;  // as written, in the book's encoding
    std::string local;  // the page it opens, as written ("html/intro.htm#top")
    int level = 1;  // 1 for the outermost list
};

// The value of the attribute `name` (in lower case) inside one tag, as
// `name="..."`, '...' or unquoted; empty when the tag has none.
std::string tagAttribute(std::string_view tag, std::string_view name);

// The entries of a sitemap file, in their order: each <object
// type="text/sitemap"> with its "Name" and "Local" parameters, its level the
// depth of the lists around it. Entries without a page are left out; the
// markup may be as loose as help compilers accept.
std::vector<SitemapEntry> readSitemap(std::string_view html);

// The archive path a sitemap's link names: the fragment and any
// "file.chm::" prefix dropped, "./" and ".." resolved from the root, led by a
// slash ("/html/intro.htm"); empty for links that leave the book.
std::string archivePath(std::string_view local);

}  // namespace leafmill::extract::chm
