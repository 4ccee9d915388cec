// The page cutter over arbitrary text and settings: gapless pages of at most
// S + 2 bytes that, minus their overlaps, give the text with no character split.
#include "FolderEntries.h"
#include "FuzzSupport.h"
#include "PageInvariants.h"
#include "TestSupport.h"
#include "convert/PageCutter.h"
#include "convert/PageWriter.h"
#include "convert/RunState.h"
#include "text/CodePage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <string>
#include <vector>

using leafmill::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const leafmill::CodePage& codePage = leafmill::fuzz::codePageFor(input.ConsumeIntegral<std::uint8_t>());
    static const std::vector<std::string> candidates = {"\r\n", " ", ",", ".", "\xE3\x80\x82", "\xEF\xBC\x8C", "a", ""};
    leafmill::CutRules rules;
    // 0 is whole-file mode; otherwise room for the longest character.
    rules.pageSize = input.ConsumeBool() && input.ConsumeBool() ? 0 : input.ConsumeIntegralInRange(4, 300);
    rules.windowSize = input.ConsumeIntegralInRange(-2, rules.pageSize + 2);
    rules.keep = input.ConsumeIntegralInRange(-2, rules.pageSize + 2);
    for (int words = input.ConsumeIntegralInRange(0, 3); words > 0; --words)
        rules.cutWords.push_back(
            codePage.fromUtf8(candidates[input.ConsumeIntegralInRange<std::size_t>(0, candidates.size() - 1)]));
    if (input.ConsumeBool())
        leafmill::addWideSentenceEnds(rules, codePage);
    const std::string source = input.ConsumeRemainingBytesAsString();

    const auto folder = leafmill::fuzz::scratchFolder() / "pages";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto sourceFile = leafmill::fuzz::scratchFolder() / "source.txt";
    leafmill::test::writeFile(sourceFile, source);

    leafmill::RunState state;
    state.BookName = "Book";
    state.OutPutDir = folder.string() + "/";
    state.wholeFileMode = rules.pageSize <= 0;
    leafmill::PageWriter writer(state, {});
    leafmill::PageCutter cutter(rules, codePage, writer);
    const leafmill::CutOutcome outcome = cutter.CutTextFile(sourceFile);
    check(outcome.failure == leafmill::SourceFailure::None, "cutting failed: " + outcome.reason);
    check(outcome.pages == state.PageCount, "the outcome's page count differs from the run's");

    check(leafmill::test::entriesOf(folder).size() == static_cast<std::size_t>(outcome.pages),
          "page files other than the pages counted");

    const std::string text = leafmill::test::normalisedText(source);
    if (state.wholeFileMode) {
        check(outcome.pages == (text.empty() ? 0 : 1), "whole-file mode wrote other than one page");
        if (!text.empty())
            check(leafmill::test::readFile(folder / "Book.txt") == text + "\r\n",
                  "the whole-file page is not the text");
        return 0;
    }

    std::vector<std::string> pages;
    for (int number = 0; number < outcome.pages; ++number) {
        const std::string name = state.pageFileName(number);
        check(std::filesystem::exists(folder / name), name + " is missing");
        std::string page = leafmill::test::readFile(folder / name);
        check(page.size() <= static_cast<std::size_t>(rules.pageSize) + 2, name + " is over S + 2 bytes");
        check(page.ends_with("\r\n"), name + " does not end with CR LF");
        page.resize(page.size() - 2);
        pages.push_back(std::move(page));
    }
    // The repeat starts on a character, so up to a character less a byte before K.
    const std::size_t longestCharacter = codePage.isSingleByte() ? 1 : codePage.isUtf8() ? 4 : 2;
    const std::size_t keep = static_cast<std::size_t>(std::max(rules.keep, 0)) + longestCharacter - 1;
    const std::string fault
        = leafmill::test::pageCutFault(text, pages, static_cast<std::size_t>(rules.pageSize), keep, codePage);
    check(fault.empty(), fault);
    return 0;
}
