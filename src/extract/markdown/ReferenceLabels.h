#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace leafmill::extract {

// The labels of a Markdown document's link reference definitions, so that a
// run of its blocks parsed alone still finds those made elsewhere in it. Only
// whether a label is defined matters to the text: a link gives its text
// wherever it points.
class ReferenceLabels {
public:
    // What `text` may define ("[label]:"), each label on one line as a
    // reference to it may be written; the parser tells which are definitions.
    static std::vector<std::string> definable(std::string_view text);

    // A label the document defines.
    void add(std::string label);
    bool empty() const { return labels_.empty(); }
    // Definitions ("[label]: #" lines, then a blank one) of the labels added
    // that `text` may refer to: each that a bracketed span of it matches as
    // CommonMark matches labels, and maybe a few more.
    std::string definitionsFor(std::string_view text) const;

private:
    using Index = std::unordered_map<std::string, std::vector<std::size_t>>;

    std::vector<std::string> labels_;
    std::unordered_set<std::string> known_;
    Index asciiByKey_;  // labels in ASCII by their ASCII key
    Index otherByCoarseKey_;  // the others by their coarse key
    Index allByCoarseKey_;
};

}  // namespace leafmill::extract
