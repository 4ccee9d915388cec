#include "extract/rtf/RtfTokenizer.h"

#include "text/HexDigit.h"

#include <limits>

namespace leafmill::extract::rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Longer names and numbers than these are not RTF; the rest is read as text.
constexpr std::size_t maxWordLength = 32;
constexpr int maxParamDigits = 10;

RtfToken makeToken(RtfToken::Kind kind)
{
    RtfToken t;
    t.kind = kind;
    return t;
}

RtfToken textToken(RtfToken::Kind kind, std::string_view text)
{
    RtfToken t = makeToken(kind);
    t.text = text;
    return t;
}

RtfToken symbolToken(char symbol)
{
    RtfToken t = makeToken(RtfToken::Kind::ControlSymbol);
    t.symbol = symbol;
    return t;
}

RtfToken wordToken(std::string_view word)
{
    RtfToken t = makeToken(RtfToken::Kind::ControlWord);
    t.word = word;
    return t;
}

}  // namespace

RtfToken RtfTokenizer::next()
{
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return makeToken(RtfToken::Kind::GroupOpen);
        case '}':
            ++pos_;
            return makeToken(RtfToken::Kind::GroupClose);
        case '\\':
            return readControl();
        case '\r':
        case '\n':
            ++pos_;
            continue;
        default:
            return readText();
        }
    }
    return RtfToken {};
}

RtfToken RtfTokenizer::readText()
{
    const std::size_t start = pos_;
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++pos_;
    }
    return textToken(RtfToken::Kind::Text, bytes_.substr(start, pos_ - start));
}

RtfToken RtfTokenizer::readControl()
{
    ++pos_;  // the backslash
    if (pos_ >= bytes_.size())
        return RtfToken {};
    const char first = bytes_[pos_];

    if (!isLetter(first)) {
        ++pos_;
        if (first == '\'') {
            const int high = pos_ < bytes_.size() ? hexValue(bytes_[pos_]) : -1;
            const int low = pos_ + 1 < bytes_.size() ? hexValue(bytes_[pos_ + 1]) : -1;
            if (high < 0 || low < 0)  // a broken escape carries no character
                return symbolToken('\'');
            pos_ += 2;
            RtfToken hex = makeToken(RtfToken::Kind::HexByte);
            hex.byte = static_cast<unsigned char>(high * 16 + low);
            return hex;
        }
        if (first == '\r' || first == '\n') {
            if (first == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n')
                ++pos_;
            return wordToken("par");
        }
        return symbolToken(first);
    }

    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && isLetter(bytes_[pos_]) && pos_ - start < maxWordLength)
        ++pos_;
    RtfToken token = wordToken(bytes_.substr(start, pos_ - start));

    bool negative = false;
    if (pos_ + 1 < bytes_.size() && bytes_[pos_] == '-' && isDigit(bytes_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    int64_t value = 0;
    int digits = 0;
    while (pos_ < bytes_.size() && isDigit(bytes_[pos_])) {
        if (digits < maxParamDigits)
            value = value * 10 + (bytes_[pos_] - '0');
        ++digits;
        ++pos_;
    }
    if (digits > 0) {
        if (negative)
            value = -value;
        constexpr int64_t low = std::numeric_limits<int32_t>::min();
        constexpr int64_t high = std::numeric_limits<int32_t>::max();
        token.param = static_cast<int32_t>(value < low ? low : (value > high ? high : value));
        token.hasParam = true;
    }
    // One space ends a control word and belongs to it.
    if (pos_ < bytes_.size() && bytes_[pos_] == ' ')
        ++pos_;

    if (token.word == "bin" && token.hasParam && token.param > 0) {
        const auto wanted = static_cast<std::size_t>(token.param);
        const std::size_t available = bytes_.size() - pos_;
        const std::size_t length = wanted < available ? wanted : available;
        if (length < wanted)
            ++truncatedBinaries_;
        token.kind = RtfToken::Kind::Binary;
        token.text = bytes_.substr(pos_, length);
        pos_ += length;
    }
    return token;
}

}  // namespace leafmill::extract::rtf
