#include "extract/fb2/Fb2ToText.h"

#include "extract/fb2/Fb2Source.h"
#include "extract/fb2/Fb2Text.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlBlocks.h"

namespace leafmill::extract {

namespace {

using package::XmlBlocks;

// The book's pieces past its root, which must be a FictionBook. Books made
// from web pages keep HTML's named references (&nbsp;, &mdash;).
XmlBlocks openBook(XmlBlocks::Source source)
{
    XmlBlocks pieces(std::move(source), "FictionBook", &fb2::Fb2Text::role, package::References::Html);
    const std::string_view root = package::localName(pieces.next());
    if (root != "FictionBook")
        throw package::PackageError("the file is no FictionBook: its XML is <" + std::string(root) + ">");
    return pieces;
}

// Bodies kept in memory, as a book of their own.
XmlBlocks::Source keptBodies(std::string xml)
{
    xml.insert(0, "<FictionBook>").append("</FictionBook>");
    return XmlBlocks::textSource(std::move(xml));
}

}  // namespace

Result fb2ToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        fb2::BookSource source(bytes, options);
        package::TextBuilder out;
        fb2::Fb2Text writer(out, options);
        fb2::Fb2Text::OtherBodies notes;
        XmlBlocks main = openBook(source.read());
        writer.write(main, false, notes);
        std::vector<std::string> damage = main.damage("the book");
        // The notes after the main text: those kept, or read again.
        if (notes.found) {
            XmlBlocks again = openBook(notes.kept ? keptBodies(std::move(notes.xml)) : source.read());
            fb2::Fb2Text::OtherBodies passed;
            passed.kept = false;
            writer.write(again, true, passed);
            if (main.complete())
                for (std::string& told : again.damage("the book's notes"))
                    damage.push_back(std::move(told));
        }
        if (out.size() == 0)
            throw package::PackageError("the book holds no text");
        Result result = out.take();
        result.warnings = source.warnings();
        result.warnings.insert(result.warnings.end(), damage.begin(), damage.end());
        return result;
    });
}

}  // namespace leafmill::extract
