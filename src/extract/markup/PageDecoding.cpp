#include "extract/markup/PageDecoding.h"

#include "extract/markup/CharsetDeclarations.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"
#include "text/Utf8.h"

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

}  // namespace

DecodedPage decodePage(std::string_view bytes, const CodePage& codePage, std::string_view sourceEncoding,
                       std::vector<std::string>& warnings)
{
    const std::string_view head = bytes.substr(0, kEncodingSample);
    const SourceEncoding marked = markedEncoding(head, codePage);
    if (marked.markSize > 0)
        return {decodeSource(bytes, marked), {}};

    const Utf8Form form = utf8Form(bytes);
    const std::vector<std::string> declared = declaredCharsets(bytes);
    for (const std::string& label : declared) {
        const auto page = CodePage::open(converterName(label));
        if (!page) {
            warnings.push_back("the page declares the unknown character set \"" + label + "\"");
            continue;
        }
        if (page->isUtf8()) {
            if (form != Utf8Form::NotUtf8)
                return {std::string(bytes), {}};
            warnings.push_back("the page declares UTF-8, but its bytes are not UTF-8");
            continue;
        }
        if (form == Utf8Form::Utf8) {
            warnings.push_back("the page declares \"" + label + "\", but its bytes are UTF-8; it is read as UTF-8");
            return {std::string(bytes), {}};
        }
        return {page->toUtf8(bytes), {}};
    }
    // Without a declaration to go by, the page is read like a text source.
    const SourceEncoding chosen = chooseSourceEncoding(head, codePage, sourceEncoding);
    if (!declared.empty())
        warnings.push_back("the page is read as " + chosen.encoding.label);
    return {decodeSource(bytes, chosen), chosen.isCodePage ? std::string() : chosen.encoding.label};
}

}  // namespace leafmill::extract
