#include "extract/doc/EqField.h"

namespace leafmill::extract::doc {

namespace {

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Drops switches (\s, \up 10) and group parentheses, keeping the text.
std::u16string plainArgument(std::u16string_view argument)
{
    std::u16string out;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        const char16_t c = argument[i];
        if (c == u'\\') {
            ++i;
            while (i < argument.size()
                   && ((argument[i] >= u'a' && argument[i] <= u'z') || (argument[i] >= u'A' && argument[i] <= u'Z')
                       || isSpace(argument[i]) || (argument[i] >= u'0' && argument[i] <= u'9')))
                ++i;
            --i;
        } else if (c != u'(' && c != u')') {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::u16string eqFieldText(std::u16string_view instruction)
{
    std::size_t pos = 0;
    while (pos < instruction.size() && isSpace(instruction[pos]))
        ++pos;
    if (instruction.size() < pos + 3 || (instruction[pos] | 0x20) != u'e' || (instruction[pos + 1] | 0x20) != u'q'
        || !(isSpace(instruction[pos + 2]) || instruction[pos + 2] == u'\\'))
        return {};

    // The outermost group's last argument: after its last comma at depth one.
    const std::size_t open = instruction.find(u'(', pos);
    if (open == std::u16string_view::npos)
        return {};
    std::size_t depth = 0, argumentStart = open + 1, argumentEnd = instruction.size();
    for (std::size_t i = open; i < instruction.size(); ++i) {
        const char16_t c = instruction[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth == 0) {
                argumentEnd = i;
                break;
            }
        } else if (c == u',' && depth == 1 && instruction[i - 1] != u'\\') {
            argumentStart = i + 1;
        }
    }
    return plainArgument(instruction.substr(argumentStart, argumentEnd - argumentStart));
}

}  // namespace leafmill::extract::doc
