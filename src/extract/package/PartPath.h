#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace leafmill::extract::package {

// A link inside a package, split into the part it names and the fragment.
struct PartLink {
    std::string part;  // "OEBPS/text/ch1.xhtml"
    std::string fragment;  // "sec2", or empty
};

// `text` with its %-escapes ("%20") turned into the bytes they stand for.
std::string percentDecoded(std::string_view text);

// Resolves `href` (a relative URL as package documents write them,
// percent-encoded) against the part `base` that contains it. Links that leave
// the package (a scheme such as http:, or more ".." than there are folders)
// give nothing: a package's names never reach outside it.
std::optional<PartLink> resolveLink(std::string_view base, std::string_view href);

}  // namespace leafmill::extract::package
