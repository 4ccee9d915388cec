#pragma once

#include <QString>

namespace leafmill {

// Captions from the language files may mark a mnemonic letter with "&"
// ("&Add Files", "添加文件(&A)"); "&&" stands for one "&".

// The caption as a title shows it: without the marker, and without a letter
// added in brackets to carry it ("设置(&S)" is "设置").
QString withoutMnemonic(const QString& caption);

// Rich text that shows the caption with its mnemonic letter underlined, or
// the empty text when the caption marks none.
QString mnemonicRichText(const QString& caption);

}  // namespace leafmill
