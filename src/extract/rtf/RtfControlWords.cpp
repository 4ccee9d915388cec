#include "extract/rtf/RtfControlWords.h"

#include <initializer_list>
#include <unordered_map>

namespace leafmill::extract::rtf {

namespace {

using Table = std::unordered_map<std::string_view, WordEntry>;

Table buildTable()
{
    Table t;
    const auto add = [&t](std::initializer_list<std::string_view> words, WordAction action, char32_t value = 0) {
        for (std::string_view w : words)
            t.emplace(w, WordEntry {action, value});
    };

    add({"par", "line", "row", "nestrow", "sect", "page", "column"}, WordAction::LineEnd);
    add({"tab", "cell", "nestcell"}, WordAction::Character, U'\t');
    add({"emdash"}, WordAction::Character, U'\u2014');
    add({"endash"}, WordAction::Character, U'\u2013');
    add({"lquote"}, WordAction::Character, U'\u2018');
    add({"rquote"}, WordAction::Character, U'\u2019');
    add({"ldblquote"}, WordAction::Character, U'\u201C');
    add({"rdblquote"}, WordAction::Character, U'\u201D');
    add({"bullet"}, WordAction::Character, U'\u2022');
    // Special spaces are plain spaces to a reader, and every code page has one.
    add({"enspace", "emspace", "qmspace"}, WordAction::Character, U' ');
    // Zero-width marks only steer layout.
    add({"zwj", "zwnj", "zwbo", "zwnbo", "ltrmark", "rtlmark", "chftnsep", "chftnsepc", "chpgn", "chdate", "chtime",
         "sectnum"},
        WordAction::Character, 0);

    add({"colortbl",    "info",         "pict",        "objdata",
         "objclass",    "objname",      "objalias",    "objsect",
         "objtime",     "objitem",      "objtopic",    "header",
         "headerl",     "headerr",      "headerf",     "footer",
         "footerl",     "footerr",      "footerf",     "fldinst",
         "annotation",  "atnauthor",    "atnid",       "atndate",
         "atnicn",      "atnref",       "atntime",     "atrfstart",
         "atrfend",     "bkmkstart",    "bkmkend",     "ftnsep",
         "ftnsepc",     "ftncn",        "aftnsep",     "aftnsepc",
         "aftncn",      "filetbl",      "listtable",   "listoverridetable",
         "revtbl",      "rsidtbl",      "pgdsctbl",    "xmlnstbl",
         "generator",   "template",     "themedata",   "colorschememapping",
         "datastore",   "latentstyles", "userprops",   "docvar",
         "nonshppict",  "shpinst",      "picprop",     "blipuid",
         "pn",          "pntxta",       "pntxtb",      "txe",
         "xe",          "tc",           "tcn",         "datafield",
         "formfield",   "fchars",       "lchars",      "background",
         "protusertbl", "passwordhash", "listpicture", "panose",
         "falt",        "fname",        "leveltext",   "levelnumbers",
         "mmathPr",     "htmltag",      "mhtmltag",    "author",
         "operator",    "title",        "subject",     "keywords",
         "comment",     "doccomm",      "company",     "manager",
         "category",    "creatim",      "revtim",      "printim",
         "buptim",      "private"},
        WordAction::SkippedGroup);

    add({"fonttbl"}, WordAction::FontTable);
    add({"stylesheet"}, WordAction::StyleSheet);
    add({"footnote"}, WordAction::Footnote);
    add({"chftn"}, WordAction::FootnoteMark);
    add({"upr"}, WordAction::AnsiAlternative);
    add({"ud"}, WordAction::UnicodeAlternative);
    add({"nesttableprops"}, WordAction::TextGroup);
    add({"u"}, WordAction::Unicode);
    add({"uc"}, WordAction::UnicodeSkipCount);
    add({"f"}, WordAction::Font);
    add({"fcharset"}, WordAction::FontCharset);
    add({"cpg"}, WordAction::FontCodePage);
    add({"deff"}, WordAction::DefaultFont);
    add({"ansicpg"}, WordAction::DocumentCodePage);
    add({"ansi"}, WordAction::DocumentCodePage, 1252);
    add({"mac"}, WordAction::DocumentCodePage, 10000);
    add({"pc"}, WordAction::DocumentCodePage, 437);
    add({"pca"}, WordAction::DocumentCodePage, 850);
    add({"plain"}, WordAction::Plain);
    add({"v"}, WordAction::Hidden);
    add({"rtf"}, WordAction::RtfHeader);
    return t;
}

}  // namespace

const WordEntry* findControlWord(std::string_view word)
{
    static const Table table = buildTable();
    const auto it = table.find(word);
    return it == table.end() ? nullptr : &it->second;
}

char32_t controlSymbolChar(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        return static_cast<char32_t>(symbol);
    case '~':
        return U'\u00A0';
    case '_':
        // A non-breaking hyphen: the plain one reads the same and every code
        // page holds it.
        return U'-';
    case '\t':
        return U'\t';
    default:
        // \- (optional hyphen) and \| \: (formula and index marks) show nothing.
        return 0;
    }
}

}  // namespace leafmill::extract::rtf
