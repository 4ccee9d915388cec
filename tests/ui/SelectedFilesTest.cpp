// The add-files dialog's filters, and the files it chose sorted into what is listed and what is not.
#include "ui/SelectedFiles.h"
#include "UiEnvironment.h"
#include "ui/FileDialogFilter.h"

#include <QDir>

namespace leafmill::test {
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

TEST(SelectedFilesTest, FilesAreListedWholeAndWhatCannotBeReadIsSetApart)
{
    TempDir dir;
    writeFile(dir / "b.rtf", "{\\rtf1 b}");
    writeFile(dir / "a.txt", "a");
    std::filesystem::create_directory(dir / "sub");
    const QString folder = shown(dir.path()), sep(QDir::separator());
    const QString a = folder + sep + "a.txt", b = folder + sep + "b.rtf";
    const QString gone = folder + sep + "gone.txt", sub = folder + sep + "sub";
    // A path is given whole and clean, in the order chosen; an empty one names nothing.
    const SelectedFiles selected
        = checkSelection({b, folder + sep + "sub" + sep + ".." + sep + "a.txt", gone, "", sub});
    EXPECT_EQ(selected.files, (QStringList {b, a}));
    EXPECT_EQ(selected.gone, QStringList {gone});
    EXPECT_EQ(selected.notFiles, QStringList {sub});
    // The next dialog opens at the one file, or in the folder of several.
    EXPECT_EQ(rememberedFolder({a}), a);
    EXPECT_EQ(rememberedFolder({b, a}), folder);
    EXPECT_TRUE(rememberedFolder({}).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
