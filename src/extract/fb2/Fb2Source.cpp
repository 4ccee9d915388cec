#include "extract/fb2/Fb2Source.h"

#include "extract/package/PackageError.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <algorithm>
#include <cstring>

using namespace std::string_view_literals;

namespace leafmill::extract::fb2 {

namespace {

using Source = package::XmlBlocks::Source;

constexpr std::size_t kPiece = 64 * 1024;
// The XML declaration lies in the first bytes.
constexpr std::size_t kHead = 256;
// How much of a plain file is read before its pages are given back.
constexpr std::size_t kReleaseStep = std::size_t {4} << 20;

// The encoding the XML declaration names ("windows-1251"), lower-cased;
// empty without one.
std::string declaredEncoding(std::string_view bytes)
{
    if (!bytes.starts_with("<?xml"))
        return {};
    const std::string declaration = asciiLowered(bytes.substr(0, std::min<std::size_t>(bytes.find("?>"), kHead)));
    const std::size_t name = declaration.find("encoding");
    const std::size_t open = declaration.find_first_of("\"'", name);
    if (name == std::string::npos || open == std::string::npos)
        return {};
    const std::size_t close = declaration.find(declaration[open], open + 1);
    return close == std::string::npos ? std::string() : declaration.substr(open + 1, close - open - 1);
}

// The encoding of a book in UTF-16 or UTF-32 by its byte-order mark.
std::string markedEncoding(std::string_view head)
{
    if (head.starts_with("\xFF\xFE\0\0"sv) || head.starts_with("\0\0\xFE\xFF"sv))
        return "UTF-32";
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF"))
        return "UTF-16";
    return {};
}

// The book's bytes as UTF-8: `head`, then what `raw` reads, decoded from
// `encoding` unless that is empty.
class Utf8Reader {
public:
    Utf8Reader(std::string head, Source raw, const std::string& encoding)
        : raw_(std::move(raw))
        , decoder_(encoding.empty() ? nullptr : std::make_unique<Utf8Decoder>(encoding))
        , declarationGone_(!decoder_)
    {
        take(head);
    }

    std::size_t read(char* buffer, std::size_t size)
    {
        while (given_ == text_.size() || !declarationGone_) {
            if (ended_) {
                declarationGone_ = true;
                if (given_ == text_.size())
                    return 0;
                break;
            }
            text_.erase(0, given_);
            given_ = 0;
            std::string bytes(kPiece, '\0');
            bytes.resize(raw_(bytes.data(), bytes.size()));
            ended_ = bytes.empty();
            take(bytes);
        }
        const std::size_t n = std::min(size, text_.size() - given_);
        std::memcpy(buffer, text_.data() + given_, n);
        given_ += n;
        return n;
    }

private:
    void take(std::string_view bytes)
    {
        if (!decoder_) {
            text_ += bytes;
            return;
        }
        text_ += decoder_->decode(bytes, ended_);
        if (declarationGone_)
            return;
        // The declaration would have the parser read the UTF-8 in its encoding
        // again. It ends in the first piece or not at all.
        if (text_.size() < kHead && !ended_)
            return;
        if (const std::size_t end = text_.find("?>"); end != std::string::npos && text_.starts_with("<?xml"))
            text_.erase(0, end + 2);
        declarationGone_ = true;
    }

    Source raw_;
    std::unique_ptr<Utf8Decoder> decoder_;
    std::string text_;
    std::size_t given_ = 0;
    bool declarationGone_;
    bool ended_ = false;
};

// The name of the first .fb2 file in the zip.
std::string bookEntry(package::ZipPackage& zip)
{
    for (const std::string& name : zip.names())
        if (name.size() > 4 && equalsNoCase(std::string_view(name).substr(name.size() - 4), ".fb2"))
            return name;
    throw package::PackageError("the zip file holds no FictionBook (.fb2) file");
}

}  // namespace

BookSource::BookSource(std::string_view bytes, const Options& options)
    : bytes_(bytes)
    , options_(options)
{
    if (package::ZipPackage::hasSignature(bytes)) {
        zip_ = std::make_unique<package::ZipPackage>(bytes, options.release);
        entry_ = bookEntry(*zip_);
    }
}

Source BookSource::rawBytes()
{
    if (zip_) {
        std::shared_ptr<package::ZipPackage::Stream> stream = zip_->stream(entry_);
        return [stream](char* buffer, std::size_t size) { return stream->read(buffer, size); };
    }
    struct Position {
        std::size_t read = 0;
        std::size_t released = 0;
    };
    auto at = std::make_shared<Position>();
    return [this, at](char* buffer, std::size_t size) {
        const std::size_t n = std::min(size, bytes_.size() - at->read);
        std::memcpy(buffer, bytes_.data() + at->read, n);
        at->read += n;
        if (options_.release && at->read - at->released >= kReleaseStep) {
            options_.release(bytes_.substr(at->released, at->read - at->released));
            at->released = at->read;
        }
        return n;
    };
}

Source BookSource::read()
{
    Source raw = rawBytes();
    std::string head(kHead, '\0');
    std::size_t filled = 0;
    while (filled < kHead)
        if (const std::size_t n = raw(head.data() + filled, kHead - filled); n > 0)
            filled += n;
        else
            break;
    head.resize(filled);
    std::string encoding = markedEncoding(head);
    if (const std::string label = declaredEncoding(head); !label.empty() && label != "utf-8" && label != "utf8") {
        if (const auto page = CodePage::open(label))
            encoding = page->name();
        else if (warnings_.empty())
            warnings_.push_back("the book declares the unknown encoding \"" + label + "\"; it is read as UTF-8");
    }
    auto reader = std::make_shared<Utf8Reader>(std::move(head), std::move(raw), encoding);
    return [reader](char* buffer, std::size_t size) { return reader->read(buffer, size); };
}

}  // namespace leafmill::extract::fb2
