#pragma once

#include <string>

namespace leafmill {

// Speaks the language of the texts in the toolkit's own words too: Qt's
// translations for `locale` ("zh_CN"; the Yes and No buttons, the file
// dialog) replace those loaded before, and numbers follow the locale. An
// empty locale, or one Qt has no translations for, leaves Qt's English.
void useToolkitLanguage(const std::string& locale);

}  // namespace leafmill
