#include "convert/ContentDispatch.h"

#include "extract/package/ZipPackage.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "io/MappedFile.h"

namespace leafmill {

namespace {

constexpr std::size_t kHeadSize = 16384;

// Whether some content is read by the row's reader: Markdown, say, is never
// second-guessed.
bool contentLeadsTo(const SourceKind& named)
{
    return named.content.matches != nullptr;
}

// The start of the file, or all of a zip package, whose kind is in its
// directory at the end: mapped, so that only the directory and the parts
// that name the kind are read, however large the package.
struct ContentBytes {
    std::string head;
    MappedFile package;
    std::string_view bytes;
};

bool readForContent(InputFile& file, ContentBytes& content)
{
    std::string error;
    file.rewind();
    if (!file.read(content.head, kHeadSize, &error))
        return false;
    content.bytes = content.head;
    if (!extract::package::ZipPackage::hasSignature(content.head))
        return true;
    if (!content.package.open(file, &error))
        return false;
    content.bytes = content.package.bytes();
    return true;
}

}  // namespace

ContentChoice chooseByContent(std::string_view bytes, const SourceKind& named, const DispatchTable& table,
                              std::string_view nameEnding)
{
    ContentChoice choice {&named, {}};
    if (!contentLeadsTo(named))
        return choice;
    const SourceKind* found = findKindByContent(bytes, table);
    if (!found || found->extractor == named.extractor)
        return choice;
    // Text and pages are told apart by a guess only, which leaves a name of
    // either as it is: HTML saved as text stays text.
    if (!found->content.certain && !named.content.certain)
        return choice;
    choice.kind = found;
    choice.warning
        = "read as " + std::string(found->contentName) + " although its name ends in " + std::string(nameEnding);
    return choice;
}

ContentChoice chooseByContent(const std::string& path, InputFile& file, const SourceKind& named,
                              const DispatchTable& table)
{
    ContentBytes content;
    if (!contentLeadsTo(named) || !readForContent(file, content))
        return {&named, {}};
    const std::string extension = pathToUtf8(pathFromUtf8(path).extension());
    return chooseByContent(content.bytes, named, table, extension.empty() ? matchingEnding(path, named) : extension);
}

ContentChoice chooseSourceKind(const std::string& path, InputFile& file, const DispatchTable& table)
{
    if (const SourceKind* named = findSourceKind(path, table))
        return chooseByContent(path, file, *named, table);
    ContentBytes content;
    if (!readForContent(file, content))
        return {};
    return {findKindByContent(content.bytes, table), {}};
}

ContentChoice chooseSourceKind(const std::string& path, const DispatchTable& table)
{
    InputFile file;
    std::string error;
    if (!file.open(pathFromUtf8(path), &error))
        return {findSourceKind(path, table), {}};
    return chooseSourceKind(path, file, table);
}

}  // namespace leafmill
