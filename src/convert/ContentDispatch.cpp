#include "convert/ContentDispatch.h"

#include "extract/package/ZipPackage.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"

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
// directory at the end.
bool readForContent(InputFile& file, std::string& bytes)
{
    std::string error;
    file.rewind();
    if (!file.read(bytes, kHeadSize, &error))
        return false;
    return !extract::package::ZipPackage::hasSignature(bytes) || file.readAll(bytes, &error);
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
    std::string bytes;
    if (!contentLeadsTo(named) || !readForContent(file, bytes))
        return {&named, {}};
    const std::string extension = pathToUtf8(pathFromUtf8(path).extension());
    return chooseByContent(bytes, named, table, extension.empty() ? matchingEnding(path, named) : extension);
}

ContentChoice chooseSourceKind(const std::string& path, InputFile& file, const DispatchTable& table)
{
    if (const SourceKind* named = findSourceKind(path, table))
        return chooseByContent(path, file, *named, table);
    std::string bytes;
    if (!readForContent(file, bytes))
        return {};
    return {findKindByContent(bytes, table), {}};
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
