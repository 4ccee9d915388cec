#include "extract/common/RtfCharsets.h"

namespace leafmill::extract {

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;  // ANSI
    case 2:
        return symbolCodePage;
    case 77:
        return macRomanCodePage;
    case 78:
        return 10001;  // Mac Japanese
    case 79:
        return 10003;  // Mac Korean
    case 80:
        return 10008;  // Mac Simplified Chinese
    case 81:
        return 10002;  // Mac Traditional Chinese
    case 85:
        return 10006;  // Mac Greek
    case 86:
        return 10081;  // Mac Turkish
    case 88:
        return 10029;  // Mac Central European
    case 89:
        return 10007;  // Mac Cyrillic
    case 128:
        return 932;  // Shift-JIS
    case 129:
        return 949;  // Hangul
    case 130:
        return 1361;  // Johab
    case 134:
        return 936;  // GB2312 / GBK
    case 136:
        return 950;  // Big5
    case 161:
        return 1253;  // Greek
    case 162:
        return 1254;  // Turkish
    case 163:
        return 1258;  // Vietnamese
    case 177:
        return 1255;  // Hebrew
    case 178:
        return 1256;  // Arabic
    case 186:
        return 1257;  // Baltic
    case 204:
        return 1251;  // Cyrillic
    case 222:
        return 874;  // Thai
    case 238:
        return 1250;  // Central European
    case 254:
        return 437;  // PC 437
    case 255:
        return 850;  // OEM
    default:
        return 0;
    }
}

int codePageOfSymbolFont(SymbolFont font)
{
    switch (font) {
    case SymbolFont::Symbol:
        return symbolCodePage;
    case SymbolFont::Wingdings:
        return wingdingsCodePage;
    case SymbolFont::Webdings:
        return webdingsCodePage;
    case SymbolFont::ZapfDingbats:
        return zapfDingbatsCodePage;
    default:
        return pictographCodePage;
    }
}

SymbolFont symbolFontOfCodePage(int codePage)
{
    switch (codePage) {
    case symbolCodePage:
        return SymbolFont::Symbol;
    case wingdingsCodePage:
        return SymbolFont::Wingdings;
    case webdingsCodePage:
        return SymbolFont::Webdings;
    case zapfDingbatsCodePage:
        return SymbolFont::ZapfDingbats;
    default:
        return SymbolFont::None;
    }
}

std::vector<std::string> converterNamesOf(int codePage)
{
    switch (codePage) {
    case 65001:
        return {"UTF-8"};
    case 932:
        return {"windows-932", "Shift_JIS"};
    case 10000:
        return {"macintosh"};
    // ICU has no Mac East Asian tables; their Windows relatives share the
    // common characters.
    case 10001:
        return {"windows-932"};
    case 10002:
        return {"windows-950"};
    case 10003:
        return {"windows-949"};
    case 10008:
        return {"windows-936"};
    case 10006:
        return {"x-mac-greek"};
    case 10007:
        return {"x-mac-cyrillic"};
    case 10029:
        return {"x-mac-centraleurroman"};
    case 10081:
        return {"x-mac-turkish"};
    case 20127:
        return {"US-ASCII"};
    case 28591:
        return {"ISO-8859-1"};
    default:
        break;
    }
    const std::string number = std::to_string(codePage);
    return {"windows-" + number, "ibm-" + number, "cp" + number};
}

}  // namespace leafmill::extract
