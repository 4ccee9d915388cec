#pragma once

#include "extract/Extractor.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace leafmill::test {

// Reads `bytes` a second time handing the text on in the smallest pieces and
// expects the pieces plus the rest to be `whole`'s text and chapters.
inline void expectSameHandedOn(extract::Extractor extractor, std::string_view bytes, extract::Options options,
                               const extract::Result& whole, std::string_view what)
{
    std::string pieces;
    std::vector<extract::Chapter> chapters;
    options.pieceSize = 1;
    options.sink = [&](std::string_view text, std::span<const extract::Chapter> starting) {
        EXPECT_TRUE(text.ends_with('\n')) << what;
        pieces += text;
        chapters.insert(chapters.end(), starting.begin(), starting.end());
    };
    const extract::Result handed = extractor(bytes, options);
    ASSERT_EQ(handed.ok, whole.ok) << what;
    EXPECT_EQ(pieces + handed.text, whole.text) << what;
    chapters.insert(chapters.end(), handed.chapters.begin() + static_cast<std::ptrdiff_t>(handed.chaptersHandedOn),
                    handed.chapters.end());
    ASSERT_EQ(chapters.size(), whole.chapters.size()) << what;
    for (std::size_t k = 0; k < chapters.size(); ++k)
        EXPECT_EQ(std::tie(chapters[k].title, chapters[k].offset, chapters[k].level),
                  std::tie(whole.chapters[k].title, whole.chapters[k].offset, whole.chapters[k].level))
            << what;
}

}  // namespace leafmill::test
