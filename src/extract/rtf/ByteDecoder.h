#pragma once

#include "text/SymbolFonts.h"
#include "text/Utf8.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

struct UConverter;

namespace leafmill::extract::rtf {

// Turns the bytes of one code page into UTF-8. Single-byte pages go through a
// table built once; multi-byte pages through a kept ICU converter, fed whole
// runs so that the two bytes of a character are decoded together.
class ByteDecoder {
public:
    // Null when ICU knows none of the page's converter names.
    static std::unique_ptr<ByteDecoder> open(int codePage);
    // By ICU converter name.
    static std::unique_ptr<ByteDecoder> openConverter(const std::string& name);
    static std::unique_ptr<ByteDecoder> forSymbolFont(SymbolFont font);
    // A picture font's glyphs have no characters; a bullet stands for each.
    static std::unique_ptr<ByteDecoder> forPictographFont();
    ~ByteDecoder();

    bool isSingleByte() const { return !converter_; }

    // Single-byte pages only.
    void appendByte(unsigned char byte, std::string& out) const
    {
        const Entry& e = table_[byte];
        out.append(e.bytes.data(), e.length);
    }
    void appendSingleBytes(std::string_view bytes, std::string& out) const;

    // Any page. A multi-byte character may be split over several calls;
    // finish() ends the run, turning a character left incomplete into U+FFFD.
    void feed(std::string_view bytes, std::string& out);
    void finish(std::string& out);

private:
    struct ConverterCloser {
        void operator()(UConverter* c) const;
    };
    struct Entry {
        std::array<char, 4> bytes {};
        unsigned char length = 0;
    };

    ByteDecoder() = default;
    void setEntry(unsigned char byte, char32_t c);
    void convert(std::string_view bytes, bool flush, std::string& out);

    std::unique_ptr<UConverter, ConverterCloser> converter_;
    std::array<Entry, 256> table_ {};
    bool asciiIsIdentity_ = false;
    std::u16string wide_;
    bool running_ = false;
};

// Appends the UTF-8 form of a code point (U+FFFD for what is not one).

// Appends UTF-16 text as UTF-8; a lone surrogate becomes U+FFFD.
void appendUtf16(std::u16string_view units, std::string& out);

}  // namespace leafmill::extract::rtf
