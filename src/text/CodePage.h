#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace leafmill {

// The one code page in which every text file of the program is read and
// written (on Windows, the system's ANSI code page). Page sizes and cut
// positions are byte counts of it.
//
// Text held inside the program is UTF-8; this class converts between that and
// the code page's bytes, and knows where characters start in multi-byte code
// pages, so that a cut never splits one.
//
// All members are const and safe to call from several threads at once.
class CodePage {
public:
    // Opens a code page by any converter name ICU knows ("windows-1252",
    // "windows-936", "Shift_JIS", "UTF-8", ...). Code pages that are not
    // ASCII-compatible (UTF-16, EBCDIC, ISO-2022) cannot hold CR LF line ends
    // as bytes and are refused. On failure returns null and sets *error.
    static std::shared_ptr<const CodePage> open(std::string_view name, std::string* error = nullptr);

    // The platform's default: GetACP() on Windows, the locale's character set
    // elsewhere; windows-1252 when neither names a usable code page.
    static std::string systemName();

    // The canonical name of the converter.
    const std::string& name() const { return name_; }

    bool isUtf8() const { return kind_ == Kind::Utf8; }
    bool isSingleByte() const { return kind_ == Kind::SingleByte; }

    // Whether bytes mean different characters after a shift sequence
    // (ISO-2022, HZ, UTF-7, ...): a piece cut from such text may start in the
    // wrong shift state.
    bool isStateful() const { return stateful_; }

    // UTF-8 to code page bytes; a character the code page cannot represent
    // becomes '?'. Invalid UTF-8 input becomes '?' as well.
    std::string fromUtf8(std::string_view utf8) const;

    // Code page bytes to UTF-8; an invalid or unmapped byte sequence becomes
    // U+FFFD.
    std::string toUtf8(std::string_view bytes) const;

    // Byte length of the character that starts at bytes[pos]: at least 1 and
    // never past the end of `bytes`. `pos` must be a character start.
    std::size_t charLength(std::string_view bytes, std::size_t pos) const;

    // The start of the character that contains byte `pos` (pos itself when a
    // character starts there), given that `bytes` begins on a character
    // start. pos == bytes.size() is a boundary.
    std::size_t boundaryAtOrBefore(std::string_view bytes, std::size_t pos) const;

    bool isCharStart(std::string_view bytes, std::size_t pos) const { return boundaryAtOrBefore(bytes, pos) == pos; }

private:
    enum class Kind { SingleByte, Utf8, DoubleByte, Other };

    CodePage() = default;
    std::size_t otherCharLength(std::string_view bytes, std::size_t pos) const;

    std::string name_;
    Kind kind_ = Kind::SingleByte;
    bool stateful_ = false;
    // For double-byte code pages: which bytes lead a two-byte character.
    std::array<bool, 256> isLead_ {};
};

// Bytes in any encoding ICU reads (UTF-16 and UTF-32 too) as UTF-8; what
// does not decode becomes U+FFFD, and an encoding ICU lacks gives nothing.
std::string decodeToUtf8(std::string_view bytes, const std::string& encoding);

// The same piece by piece: each piece follows the ones before, and the text
// comes out as decodeToUtf8 gives it whole.
class Utf8Decoder {
public:
    explicit Utf8Decoder(const std::string& encoding);
    ~Utf8Decoder();
    Utf8Decoder(const Utf8Decoder&) = delete;
    Utf8Decoder& operator=(const Utf8Decoder&) = delete;

    // The UTF-8 of `bytes`; `last` ends the text (a character cut short
    // there becomes U+FFFD).
    std::string decode(std::string_view bytes, bool last);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// How many invalid or unmapped sequences the bytes hold in that encoding
// (SIZE_MAX for an encoding ICU lacks); with `mayBeCut` they may end inside
// a character (the first bytes of a longer text).
std::size_t decodingErrors(std::string_view bytes, const std::string& encoding, bool mayBeCut);

}  // namespace leafmill
