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

// Writes UTF-8 text in the encoding the pages are read in. A character the
// encoding lacks becomes its nearest equivalent by ICU's transforms (a curly
// quote a straight one, an ellipsis three dots, an accented letter the plain
// one); only what has none becomes '?'.
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
    // The converter the iPod reads pages written in `name` with: the same
    // when the reader can be set to it (Latin-1, MacRoman, the Asian ones),
    // else its default, Latin-1.
    static std::string readerConverterName(std::string_view name);

    const CodePage& codePage() const { return *codePage_; }
    std::shared_ptr<const CodePage> sharedCodePage() const { return codePage_; }

    std::string encode(std::string_view utf8, Replacements* replaced) const;

private:
    PageEncoder() = default;
    std::string equivalent(std::u16string_view run) const;

    struct Transforms;

    std::shared_ptr<const CodePage> codePage_;
    std::unique_ptr<Transforms> icu_;
    mutable std::mutex transformLock_;
};

}  // namespace leafmill
