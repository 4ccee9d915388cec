#include "convert/SourceDispatch.h"

#include "extract/chm/ChmToText.h"
#include "extract/djvu/DjvuToText.h"
#include "extract/doc/DocToText.h"
#include "extract/docx/DocxToText.h"
#include "extract/epub/EpubToText.h"
#include "extract/fb2/Fb2ToText.h"
#include "extract/html/HtmlToText.h"
#include "extract/markdown/MarkdownToText.h"
#include "extract/mobi/MobiToText.h"
#include "extract/odt/OdtToText.h"
#include "extract/pdf/PdfToText.h"
#include "extract/rtf/RtfToText.h"
#include "extract/zipped/ZippedBookToText.h"
#include "text/AsciiCase.h"

#include <string>

namespace leafmill {

const DispatchTable& defaultDispatchTable()
{
    static const DispatchTable table = {
        {".txt", nullptr, ""},
        {"text", nullptr, ""},
        {".htm", &extract::htmlToText, "htm"},
        {"html", &extract::htmlToText, "htm"},
        {".asp", &extract::htmlToText, "htm"},
        {".php", &extract::htmlToText, "htm"},
        {".rtf", &extract::rtfToText, "rtf"},
        {".doc", &extract::docToText, "doc"},
        {"epub", &extract::epubToText, "epub"},
        {"docx", &extract::docxToText, "docx"},
        {"docm", &extract::docxToText, "docx"},
        {"dotx", &extract::docxToText, "docx"},
        {".odt", &extract::odtToText, "odt"},
        {"fodt", &extract::odtToText, "odt"},
        {".pdf", &extract::pdfToText, "pdf"},
        {".mobi", &extract::mobiToText, "mobi"},
        {".azw3", &extract::mobiToText, "mobi"},
        {".azw", &extract::mobiToText, "mobi"},
        {".prc", &extract::mobiToText, "mobi"},
        {".pdb", &extract::mobiToText, "mobi"},
        {".chm", &extract::chmToText, "chm"},
        {".djvu", &extract::djvuToText, "djvu"},
        {".djv", &extract::djvuToText, "djvu"},
        // Zipped FictionBooks end in .fb2.zip, longer than any plain .zip row would be.
        {".fb2", &extract::fb2ToText, "fb2"},
        {".fb2.zip", &extract::fb2ToText, "fb2"},
        {".fbz", &extract::fb2ToText, "fb2"},
        {".md", &extract::markdownToText, "md"},
        {".markdown", &extract::markdownToText, "md"},
        {".txtz", &extract::zippedBookToText, "txtz"},
        {".htmlz", &extract::zippedBookToText, "htmlz"},
    };
    return table;
}

const SourceKind* findSourceKind(std::string_view path, const DispatchTable& table)
{
    const SourceKind* found = nullptr;
    for (const SourceKind& kind : table)
        if (path.size() >= kind.ending.size() && startsWithNoCase(path, path.size() - kind.ending.size(), kind.ending)
            && (!found || kind.ending.size() > found->ending.size()))
            found = &kind;
    return found;
}

const SourceKind* findFormat(std::string_view name, const DispatchTable& table)
{
    const std::string lowered = asciiLowered(name);
    for (const SourceKind& kind : table)
        if (kind.ending == lowered || (kind.ending.starts_with('.') && kind.ending.substr(1) == lowered))
            return &kind;
    return nullptr;
}

}  // namespace leafmill
