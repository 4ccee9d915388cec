#include "extract/doc/ForeignFormat.h"

#include "extract/doc/CompoundFile.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <cctype>

namespace leafmill::extract::doc {

namespace {

bool startsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}
}  // namespace

std::optional<std::string> foreignFormatReason(std::string_view bytes)
{
    if (CompoundFile::hasSignature(bytes))
        return std::nullopt;
    constexpr std::string_view onlyWord97 = "; only Word 6 to Word 2003 documents can be read";
    if (bytes.empty())
        return "the file is empty";
    if (startsWith(bytes, "\xDB\xA5"))
        return "this is a Word 2 document" + std::string(onlyWord97);
    if (startsWith(bytes,
                   "\xFF"
                   "WPC"))
        return "this is a WordPerfect document saved with the .doc ending" + std::string(onlyWord97);
    if (startsWith(bytes, "PK\x03\x04"))
        return "this is a Word 2007 or later document (.docx) saved with the .doc ending" + std::string(onlyWord97);
    const std::string start = lowerCasedHead(bytes);
    if (startsWith(start, "{\\rtf"))
        return "this is an RTF document saved with the .doc ending" + std::string(onlyWord97);
    if (startsWith(start, "<")) {
        const bool wordMl = start.find("schemas.microsoft.com/office/word") != std::string::npos
            || start.find("progid=\"word.document\"") != std::string::npos;
        if (wordMl)
            return "this is a Word XML document (WordML) saved with the .doc ending" + std::string(onlyWord97);
        return "this is an XML or HTML document saved with the .doc ending" + std::string(onlyWord97);
    }
    return "not a Word document: the file does not start with a compound-file header";
}

}  // namespace leafmill::extract::doc
