#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace leafmill {

class CodePage;

// What encoding a text could not keep as it was.
struct Replacements {
    std::size_t count = 0;  // characters written as something else, or as '?'
    std::string first;  // the first few of them, UTF-8, for the user to see

    void add(std::string_view utf8Character);
};

// What a reader found in bytes that are no text of its encoding.
struct DecodeFaults {
    std::size_t count = 0;  // bytes of the sequences the reader shows no character for
    std::size_t first = 0;  // offset of the first of them
};

// Writes UTF-8 text in the encoding the pages are read in. A character the
// encoding lacks becomes its nearest equivalent by ICU's transforms (a curly
// quote a straight one, an ellipsis three dots, an accented letter the plain
// one); only what has none becomes '?'. The Asian encodings keep only the
// characters of their national standard (StandardTables.h).
// The encodings the settings offer by name.
inline constexpr std::array<std::string_view, 7> kPageEncodingNames
    = {"Latin-1", "MacRoman", "GB2312", "Big5", "Shift_JIS", "EUC-KR", "UTF-8"};

class PageEncoder {
public:
    // `name` is one of the names the settings offer (Latin-1, MacRoman,
    // GB2312, Big5, Shift_JIS, EUC-KR, UTF-8) or any ICU converter name.
    static std::shared_ptr<const PageEncoder> open(std::string_view name, std::string* error);
    ~PageEncoder();

    // The ICU converter a settings name stands for.
    static std::string converterName(std::string_view name);
    // The settings name of the encoding the iPod reads pages written in
    // `name` with when they declare none: the same when the reader can be set
    // to it (Latin-1, MacRoman, the Asian ones), else its default, Latin-1.
    static std::string readerEncodingName(std::string_view name);

    // The name it was opened by.
    const std::string& name() const { return name_; }
    const CodePage& codePage() const { return *codePage_; }
    std::shared_ptr<const CodePage> sharedCodePage() const { return codePage_; }

    std::string encode(std::string_view utf8, Replacements* replaced) const;
    // The UTF-8 text the encoded bytes stand for: what a page shows of `utf8`.
    std::string fit(std::string_view utf8, Replacements* replaced) const;
    // The bytes as a reader of this encoding shows them: a sequence that is no
    // character of the encoding, or a control other than tab and the line
    // ends, becomes U+FFFD and is counted.
    std::string decode(std::string_view bytes, DecodeFaults* faults) const;

private:
    PageEncoder() = default;
    std::string equivalent(std::u16string_view run) const;

    struct Transforms;

    std::string name_;
    std::shared_ptr<const CodePage> codePage_;
    std::unique_ptr<Transforms> icu_;
    mutable std::mutex transformLock_;
};

}  // namespace leafmill
