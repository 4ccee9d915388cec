#include "extract/mobi/TagSoup.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace leafmill::extract::mobi {

namespace {

constexpr std::string_view kEmptyElements[]
    = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source", "wbr"};

// Element nesting is bounded where the XML reader refuses deeper documents;
// past that, an unclosed tag closes the previous one of its name.
constexpr std::size_t kMaxOpen = 256;

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '-' || c == '_' || c == '.';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

class Repair {
public:
    explicit Repair(std::string_view html)
        : in_(html)
    {
        out_.reserve(html.size() + html.size() / 16);
    }

    std::string run()
    {
        while (at_ < in_.size()) {
            const std::size_t lt = in_.find('<', at_);
            out_.append(in_.substr(at_, lt == std::string_view::npos ? std::string_view::npos : lt - at_));
            if (lt == std::string_view::npos)
                break;
            at_ = lt;
            markup();
        }
        while (!open_.empty())
            closeTop();
        return std::move(out_);
    }

private:
    void passThrough(std::string_view end)
    {
        const std::size_t close = in_.find(end, at_);
        const std::size_t stop = close == std::string_view::npos ? in_.size() : close + end.size();
        if (close != std::string_view::npos)
            out_.append(in_.substr(at_, stop - at_));
        at_ = stop;
    }

    void markup()
    {
        const std::string_view rest = in_.substr(at_);
        if (rest.starts_with("<!--"))
            return passThrough("-->");
        if (rest.starts_with("<![CDATA["))
            return passThrough("]]>");
        if (rest.starts_with("<!") || rest.starts_with("<?")) {
            // Declarations say nothing the reader needs; a DTD is never read.
            const std::size_t gt = in_.find('>', at_);
            at_ = gt == std::string_view::npos ? in_.size() : gt + 1;
            return;
        }
        const bool end = rest.starts_with("</");
        std::size_t k = at_ + (end ? 2 : 1);
        const std::size_t nameStart = k;
        while (k < in_.size() && isNameChar(in_[k]))
            ++k;
        if (k == nameStart) {
            out_ += "&lt;";
            ++at_;
            return;
        }
        const std::string name = asciiLowered(in_.substr(nameStart, k - nameStart));
        at_ = k;
        if (end)
            return endTag(name);
        startTag(name);
    }

    void endTag(const std::string& name)
    {
        const std::size_t gt = in_.find('>', at_);
        at_ = gt == std::string_view::npos ? in_.size() : gt + 1;
        const auto match = std::find(open_.rbegin(), open_.rend(), name);
        if (match == open_.rend())
            return;
        while (open_.back() != name)
            closeTop();
        closeTop();
    }

    void startTag(const std::string& name)
    {
        out_ += '<';
        out_ += name;
        std::vector<std::string> seen;
        bool selfClosed = false;
        while (at_ < in_.size()) {
            while (at_ < in_.size() && isSpace(in_[at_]))
                ++at_;
            if (at_ >= in_.size())
                break;
            if (in_[at_] == '>') {
                ++at_;
                break;
            }
            if (in_.substr(at_).starts_with("/>")) {
                at_ += 2;
                selfClosed = true;
                break;
            }
            attribute(seen);
        }
        const bool empty = selfClosed || std::ranges::find(kEmptyElements, name) != std::end(kEmptyElements);
        if (empty) {
            out_ += "/>";
            return;
        }
        out_ += '>';
        if (open_.size() >= kMaxOpen)
            closeTop();
        open_.push_back(name);
    }

    void attribute(std::vector<std::string>& seen)
    {
        const std::size_t nameStart = at_;
        while (at_ < in_.size() && isNameChar(in_[at_]))
            ++at_;
        if (at_ == nameStart) {
            ++at_;  // a stray character inside the tag
            return;
        }
        const std::string name = asciiLowered(in_.substr(nameStart, at_ - nameStart));
        while (at_ < in_.size() && isSpace(in_[at_]))
            ++at_;
        std::string_view value = name;
        if (at_ < in_.size() && in_[at_] == '=') {
            ++at_;
            while (at_ < in_.size() && isSpace(in_[at_]))
                ++at_;
            value = attributeValue();
        }
        // XML allows an attribute once; the first one counts.
        if (std::ranges::find(seen, name) != seen.end())
            return;
        seen.push_back(name);
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        for (char c : value)
            out_ += c == '"' ? std::string_view("&quot;")
                : c == '<'   ? std::string_view("&lt;")
                             : std::string_view(&c, 1);
        out_ += '"';
    }

    std::string_view attributeValue()
    {
        if (at_ < in_.size() && (in_[at_] == '"' || in_[at_] == '\'')) {
            const char quote = in_[at_++];
            const std::size_t close = in_.find(quote, at_);
            const std::size_t stop = close == std::string_view::npos ? in_.size() : close;
            const std::string_view value = in_.substr(at_, stop - at_);
            at_ = close == std::string_view::npos ? stop : stop + 1;
            return value;
        }
        const std::size_t start = at_;
        while (at_ < in_.size() && !isSpace(in_[at_]) && in_[at_] != '>')
            ++at_;
        return in_.substr(start, at_ - start);
    }

    void closeTop()
    {
        out_ += "</";
        out_ += open_.back();
        out_ += '>';
        open_.pop_back();
    }

    std::string_view in_;
    std::size_t at_ = 0;
    std::string out_;
    std::vector<std::string> open_;
};

}  // namespace

std::string wellFormed(std::string_view html)
{
    return Repair(html).run();
}

}  // namespace leafmill::extract::mobi
