#include "ui/FileDialogFilter.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(FileDialogFilter, TurnsCommonDialogPairsIntoQtFilters)
{
    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        // "*.*" also matches names without a dot, as in the common dialog.
        {"Text|*.txt|Web pages|*.htm;*.html|All files|*.*",
         {"Text (*.txt)", "Web pages (*.htm *.html)", "All files (*)"}},
        {"", {}},
        {"Text|*.txt|Dangling", {"Text (*.txt)"}},
        {"Text| *.txt ; ;*.text", {"Text (*.txt *.text)"}},
        {"|*.rtf", {"*.rtf (*.rtf)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtNameFilters(QString::fromLatin1(c.filter)), c.expected) << c.filter;
}

}  // namespace
}  // namespace leafmill
