#include "extract/markup/PageDecoding.h"

#include "extract/markup/CharsetDeclarations.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"
#include "text/Utf8.h"

#include <algorithm>
#include <optional>

namespace leafmill::extract {

namespace {

// Labels that pages use for a set whose everyday superset they mean, as
// browsers read them; anything else goes to the converter as written.
std::string_view converterName(std::string_view label)
{
    struct Alias {
        std::string_view label;
        std::string_view converter;
    };
    static constexpr Alias kAliases[] = {{"iso-8859-1", "windows-1252"},
                                         {"iso8859-1", "windows-1252"},
                                         {"latin1", "windows-1252"},
                                         {"l1", "windows-1252"},
                                         {"us-ascii", "windows-1252"},
                                         {"ascii", "windows-1252"},
                                         {"iso-8859-9", "windows-1254"},
                                         {"latin5", "windows-1254"},
                                         {"tis-620", "windows-874"},
                                         {"iso-8859-11", "windows-874"},
                                         {"gb2312", "GB18030"},
                                         {"gbk", "GB18030"},
                                         {"x-gbk", "GB18030"},
                                         {"gb_2312-80", "GB18030"},
                                         {"csgb2312", "GB18030"},
                                         {"euc-kr", "windows-949"},
                                         {"ks_c_5601-1987", "windows-949"},
                                         {"shift_jis", "windows-31j"},
                                         {"sjis", "windows-31j"},
                                         {"x-sjis", "windows-31j"},
                                         // A page whose <meta> can be read as ASCII is not UTF-16.
                                         {"utf-16", "UTF-8"},
                                         {"utf-16le", "UTF-8"},
                                         {"utf-16be", "UTF-8"}};
    for (const Alias& alias : kAliases) {
        if (alias.label == label)
            return alias.converter;
    }
    return label;
}

// Bytes whose memory a reader gives back at a time.
constexpr std::size_t kReleaseStep = std::size_t {8} << 20;

// utf8Form of the whole page, looked at a part at a time so that the parts
// passed can be released. A part ends after an ASCII byte, where no sequence
// of UTF-8 runs on.
Utf8Form pageUtf8Form(std::string_view bytes, const std::function<void(std::string_view)>& release)
{
    bool beyondAscii = false;
    for (std::size_t done = 0; done < bytes.size();) {
        std::string_view part = bytes.substr(done, kReleaseStep);
        if (done + part.size() < bytes.size()) {
            std::size_t end = part.size();
            while (end > 0 && static_cast<unsigned char>(part[end - 1]) >= 0x80)
                --end;
            if (end == 0) {
                // Not one ASCII byte in it: on to the next one.
                end = part.size();
                while (done + end < bytes.size() && static_cast<unsigned char>(bytes[done + end]) >= 0x80)
                    ++end;
            }
            part = bytes.substr(done, end);
        }
        const Utf8Form form = utf8Form(part);
        if (form == Utf8Form::NotUtf8)
            return form;
        beyondAscii = beyondAscii || form == Utf8Form::Utf8;
        if (release)
            release(part);
        done += part.size();
    }
    return beyondAscii ? Utf8Form::Utf8 : Utf8Form::Ascii;
}

PageReading decoded(SourceEncoding encoding, bool composed)
{
    PageReading reading;
    reading.encoding = std::move(encoding);
    reading.composed = composed;
    return reading;
}

PageReading asUtf8()
{
    PageReading reading;
    reading.asUtf8 = true;
    return reading;
}

}  // namespace

PageReading choosePageReading(std::string_view bytes, const CodePage& codePage, std::string_view sourceEncoding,
                              const std::function<void(std::string_view)>& release, std::vector<std::string>& warnings)
{
    const std::string_view head = bytes.substr(0, kEncodingSample);
    SourceEncoding marked = markedEncoding(head, codePage);
    if (marked.markSize > 0)
        return decoded(std::move(marked), true);

    std::optional<Utf8Form> form;
    const auto formOfPage = [&] {
        if (!form)
            form = pageUtf8Form(bytes, release);
        return *form;
    };
    const std::vector<std::string> declared = declaredCharsets(bytes);
    for (const std::string& label : declared) {
        const auto page = CodePage::open(converterName(label));
        if (!page) {
            warnings.push_back("the page declares the unknown character set \"" + label + "\"");
            continue;
        }
        if (page->isUtf8()) {
            if (formOfPage() != Utf8Form::NotUtf8)
                return asUtf8();
            warnings.push_back("the page declares UTF-8, but its bytes are not UTF-8");
            continue;
        }
        if (formOfPage() == Utf8Form::Utf8) {
            warnings.push_back("the page declares \"" + label + "\", but its bytes are UTF-8; it is read as UTF-8");
            return asUtf8();
        }
        SourceEncoding named;
        named.encoding.converter = page->name();
        return decoded(std::move(named), false);
    }
    // Without a declaration to go by, the page is read like a text source.
    SourceEncoding chosen = chooseSourceEncoding(head, codePage, sourceEncoding);
    if (!declared.empty())
        warnings.push_back("the page is read as " + chosen.encoding.label);
    std::string readAs = chosen.isCodePage ? std::string() : chosen.encoding.label;
    PageReading reading = decoded(std::move(chosen), true);
    reading.readAs = std::move(readAs);
    return reading;
}

PageDecoder::PageDecoder(std::string_view bytes, const PageReading& reading, std::size_t pieceSize,
                         std::function<void(std::string_view)> release)
    : bytes_(bytes)
    , reading_(reading)
    , pieceSize_(std::max<std::size_t>(pieceSize, 1))
    , release_(std::move(release))
{
    if (!reading.asUtf8) {
        decoder_ = std::make_unique<Utf8Decoder>(reading.encoding.encoding.converter);
        read_ = released_ = std::min(reading.encoding.markSize, bytes.size());
    }
}

PageDecoder::~PageDecoder() = default;

bool PageDecoder::next(std::string& piece)
{
    while (read_ < bytes_.size()) {
        const std::string_view block = bytes_.substr(read_, pieceSize_);
        read_ += block.size();
        const bool last = read_ == bytes_.size();
        const std::size_t searched = waiting_.size();
        if (reading_.asUtf8)
            waiting_.append(block);
        else
            waiting_ += decoder_->decode(block, last);
        releasePassed();
        // Only what this block added is searched: a long line stays linear.
        const std::size_t lineEnd = std::string_view(waiting_).substr(searched).find_last_of("\r\n");
        const std::size_t end = last ? waiting_.size() : lineEnd == std::string_view::npos ? 0 : searched + lineEnd + 1;
        if (end == 0)
            continue;
        if (end == waiting_.size()) {
            piece = std::move(waiting_);
            waiting_ = std::string();
        } else {
            piece.assign(waiting_, 0, end);
            waiting_.erase(0, end);
        }
        if (reading_.composed)
            piece = composedSource(std::move(piece), reading_.encoding);
        return true;
    }
    return false;
}

void PageDecoder::releasePassed()
{
    if (!release_ || read_ - released_ < kReleaseStep)
        return;
    release_(bytes_.substr(released_, read_ - released_));
    released_ = read_;
}

}  // namespace leafmill::extract
