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

TextReading decoded(SourceEncoding encoding, bool composed)
{
    TextReading reading;
    reading.encoding = std::move(encoding);
    reading.composed = composed;
    return reading;
}

TextReading asUtf8()
{
    TextReading reading;
    reading.asUtf8 = true;
    return reading;
}

}  // namespace

TextReading choosePageReading(std::string_view bytes, const CodePage& codePage, std::string_view sourceEncoding,
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
    TextReading reading = decoded(std::move(chosen), true);
    reading.readAs = std::move(readAs);
    return reading;
}

}  // namespace leafmill::extract
