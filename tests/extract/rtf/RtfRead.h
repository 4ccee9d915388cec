#pragma once

#include "../HandedOn.h"
#include "extract/rtf/RtfToText.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace leafmill::test {

// Reads RTF bytes with the given program code page, and again handing the
// text on in pieces, which must give the same.
inline extract::Result readRtf(std::string_view rtf, std::string_view programCodePage = "windows-1252")
{
    const auto page = CodePage::open(programCodePage);
    extract::Options options;
    options.codePage = page.get();
    extract::Result whole = extract::rtfToText(rtf, options);
    expectSameHandedOn(extract::rtfToText, rtf, options, whole, rtf.substr(0, 200));
    return whole;
}

// The text of a document that must be read without trouble.
inline std::string rtfText(std::string_view rtf, std::string_view programCodePage = "windows-1252")
{
    const extract::Result r = readRtf(rtf, programCodePage);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
    return r.text;
}

}  // namespace leafmill::test
