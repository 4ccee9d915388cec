#include "ui/FileDialogFilter.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(FileDialogFilter, TurnsPairsIntoQtFiltersWithSeveralPatterns)
{
    const QStringList filters = qtNameFilters(QStringLiteral("Text|*.txt|Web pages|*.htm;*.html|All files|*.*"));
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(filters[1], QStringLiteral("Web pages (*.htm *.html)"));
    // "*.*" also matches names without a dot, as in the common dialog.
    EXPECT_EQ(filters[2], QStringLiteral("All files (*)"));
}

TEST(FileDialogFilter, SkipsIncompletePairsAndEmptyPatterns)
{
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text|*.txt|Dangling")), QStringList {QStringLiteral("Text (*.txt)")});
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text| *.txt ; ;*.text")),
              QStringList {QStringLiteral("Text (*.txt *.text)")});
    EXPECT_EQ(qtNameFilters(QStringLiteral("|*.rtf")), QStringList {QStringLiteral("*.rtf (*.rtf)")});
}

}  // namespace
}  // namespace leafmill
